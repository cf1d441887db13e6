// The --autostart option: fill in the input and start a run once the window is up.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Arguments as the platform splits them, argument 0 being the program. The
// first exact, case-sensitive "--autostart" that has an argument after it
// gives that argument, verbatim; one in last place is ignored.
std::optional<std::wstring> findAutostartPath(const std::vector<std::wstring>& arguments);

// Splits a whole command line with CommandLineToArgvW and applies the rule above.
std::wstring autostartPathFromCommandLine(const wchar_t* commandLine);
