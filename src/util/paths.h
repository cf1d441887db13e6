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

// An absolute path in the form the file functions take beyond MAX_PATH
// ("\\?\C:\..." or "\\?\UNC\server\..."); other paths unchanged.
std::wstring longPathForm(const std::wstring& path);

// The path without the prefix longPathForm adds, as a user reads it.
std::wstring withoutLongPathPrefix(const std::wstring& path);

// The full path of a relative or absolute one (against the current folder),
// with "." and ".." resolved; the path itself when that fails.
std::wstring fullPath(const std::wstring& path);

// The full path with each part's long name, as the file system spells it
// (8.3 short names such as TALK~1.WAV replaced); the full path as given
// where it does not exist.
std::wstring longNamePath(const std::wstring& path);

enum class PathKind { Missing, File, Folder };

// What is at the path, links followed to their target. Every failure to find
// out, not only "not found", counts as missing, so no caller can be ended by
// an access or device error.
PathKind pathKind(const std::wstring& path);

// True when anything (file, folder, or a link whose target exists) is there.
bool pathExists(const std::wstring& path);

// Creates the folder and every missing folder above it; true when the folder
// is there afterwards (also when it already was).
bool createFolderPath(const std::wstring& folder);
