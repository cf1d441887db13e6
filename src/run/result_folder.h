// A run's result folder: claimed before a queue's item starts, so that no
// two items share one, and opened in the file manager after a run.
#pragma once

#include "run/run_request.h"

#include <windows.h>

#include <string>

// Makes the item's result folder before its engine starts, under the next
// free name when that one exists by now (made by an item since removed from
// the list, by another window's queue, by anything after OK), so that two
// items never write into one folder. A name that is no folder name is never
// made. typedLabel is the label the queue runs with, the base of numbered
// names.
struct ClaimedFolder {
    std::wstring label;
    std::wstring folder; // as the log names it
    bool made = false;   // false when it is no folder name or could not be made
};
ClaimedFolder claimResultFolder(const RunRequest& request, const std::wstring& typedLabel);

// Creates the folder if it is missing and opens it in the file manager, on
// a thread of its own: the shell may take many seconds. When it is not a
// folder afterwards or the shell cannot open it, message is posted to
// window with a heap std::wstring of the folder, which the window takes over.
void openResultFolder(const std::wstring& folder, HWND window, UINT message);

// Opens a run's log file with the program Windows opens .log files with,
// on a thread of its own.
void openRunLogFile(const std::wstring& path, HWND owner);
