// The executable's folder and the existence test used before every run.
#pragma once

#include <string>
#include <string_view>

// The folder of the running executable, without a trailing separator unless
// it is a root such as C:\. Never cut, however long the path.
std::wstring executableDirectory();

// The parent-path rule executableDirectory applies to the module file name:
// the root is kept whole, the last component and the separators before it go.
std::wstring parentDirectory(std::wstring_view path);

// True when anything (file, folder, or a link whose target exists) is at the
// path. Every failure to find out, not only "not found", counts as missing, so
// no caller can be ended by an access or device error.
bool pathExists(const std::wstring& path);
