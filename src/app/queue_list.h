// The queue's list: a report-style list view between the options row and
// the log, shown while the queue holds anything. A thin view on runQueue:
// it holds no data of its own (the list asks for each text it shows).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// The list, or null while it has not been made.
HWND queueListWindow();
// The main window has gone, and the list with it.
void forgetQueueList();

// Shows the queue as it is now: makes the list when it is first needed,
// shows or hides it, and lays the window out again when that changes.
void refreshQueueList();

// The selected items by path, and selecting them again after the list
// changed under the selection (the rows move, the items stay selected).
std::vector<std::wstring> selectedQueuePaths();
void selectQueuePaths(const std::vector<std::wstring>& paths);

// Column captions in the current language; column widths and font for the
// window's DPI.
void relabelQueueList();
void scaleQueueList();

// The list's notifications: texts, the full path as tooltip, Delete, and a
// double click that opens a done item's result folder.
LRESULT onQueueListNotify(const NMHDR* header);

// Remove, Open result folder, Run again and Clear finished, at a point on
// the screen (or at the focused item from the keyboard, when at is -1, -1).
void showQueueMenu(POINT at);
bool handleQueueCommand(WORD id);
