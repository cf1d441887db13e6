// What the main window does when it is used.
#pragma once

#include "config/config.h"
#include "run/run_request.h"

#include <windows.h>

#include <string>
#include <vector>

// The last session's paths (the input only when it is still there), speaker
// count and clips choice, into the fields.
void restoreFields(const AppConfig& config);

// The fields as a run request.
RunRequest requestFromWindow();

// Reads the fields into a run request and hands it to the launch. With
// recordings in the queue, OK runs the queue instead.
void startRunFromWindow();
// A single run of the fields, whatever the queue holds: a single
// --autostart FILE.
void startSingleRunFromWindow();

// Recordings dropped, picked or given on the command line: one file, with
// the queue empty and toQueue false, goes into the input field; anything
// more into the queue (files, and folders with their recordings). Ignored
// while a run or a queue is active, like typing.
void takeRecordings(const std::vector<std::wstring>& paths, bool toQueue);

// WM_COMMAND: the Browse buttons, OK, Cancel, Settings, the menu item, the link.
// Returns false for ids the window does not handle.
bool handleCommand(WORD id, WORD notification);

// The log pane's context menu at a point on the screen: Copy, Select all,
// Save log, Clear log (not during a run).
void showLogMenu(POINT screen);

// The window's keyboard shortcuts (Ctrl+S: Save log), for the message loop.
HACCEL mainAccelerators();

// Opened by the link label.
constexpr const wchar_t* OFFICIAL_PAGE_URL = L"https://www.aliyun.com/product/nls";
