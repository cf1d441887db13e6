// The command line: recordings to run at once (--autostart PATH, each pair
// adding PATH) and recordings only to add (what Explorer passes for files
// dropped on the program's icon or sent to it).
#pragma once

#include "run/when_done.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct StartPaths {
    std::vector<std::wstring> autostart; // after each exact, case-sensitive "--autostart", verbatim
    std::vector<std::wstring> added;     // the other arguments that are no options
    // --resume: Windows restarted the program after it ended the session
    // during a queue (an update): the interrupted item runs again, then the
    // waiting ones.
    bool resume = false;
    // --when-done sleep|shutdown: what the computer does when the queue is done.
    std::optional<WhenDone> whenDone;
    // --new-window: a window of its own even while another is open.
    bool newWindow = false;
};

// Arguments as the platform splits them, argument 0 being the program. An
// "--autostart" always takes the argument after it (even one that looks like
// an option); one in last place is ignored, as is anything else starting
// with "-".
StartPaths startPathsFrom(const std::vector<std::wstring>& arguments);

// Splits a whole command line with CommandLineToArgvW and applies the rule above.
StartPaths startPathsFromCommandLine(const wchar_t* commandLine);

// What a start hands the open window of its installation (WM_COPYDATA with
// HANDED_OVER_DATA): one record a line, a letter, a tab and a value: A
// --autostart path, P a path only to add, W the --when-done choice, R
// --resume. Paths
// are made full by the sender: the window's current folder is another.
constexpr ULONG_PTR HANDED_OVER_DATA = 0x5A554531; // "ZUE1"
std::wstring handedOverText(const StartPaths& paths);
// Nothing when the text is no such record list (it comes from another program).
std::optional<StartPaths> startPathsFromHandedOver(std::wstring_view text);
