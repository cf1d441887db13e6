// The taskbar button shows a run: moving while it is active, red when it
// failed, and it flashes when a run ends while the window is not in front.
// Where the taskbar interface is missing (as under Wine) only the flashing
// remains.
#pragma once

#include <windows.h>

#include <string>

// Counting: a queue's items finished of all, red once one has failed.
enum class RunProgress { Active, Counting, Failed, Done };

// The message the shell sends once the button exists; only then can its
// progress be set.
UINT taskbarButtonCreatedMessage();
// Shows what the button should show by now: a run started before the button
// existed (--autostart) shows once it does.
void connectTaskbar(HWND window);
void disconnectTaskbar();

void showRunOnTaskbar(HWND window, RunProgress progress);
// stopping: Cancel or "Stop after this recording" ends the queue early.
void showQueueOnTaskbar(HWND window, size_t finished, size_t total, bool failure, bool stopping = false);

// One notification in the notification area (a balloon with the info or
// warning icon) for a queue's end seen by nobody; its icon goes once the
// notice was seen: clicked (which brings the window forward), timed out,
// or the window activated. Events come to the window as WM_NOTICE_ICON.
void showQueueNotice(HWND window, HICON icon, const wchar_t* title, const std::wstring& text, bool warning);
void onNoticeIcon(HWND window, LPARAM event);
void hideQueueNotice(HWND window);
