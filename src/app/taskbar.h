// The taskbar button shows a run: moving while it is active, red when it
// failed, and it flashes when a run ends while the window is not in front.
// Where the taskbar interface is missing (as under Wine) only the flashing
// remains.
#pragma once

#include <windows.h>

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
void showQueueOnTaskbar(HWND window, size_t finished, size_t total, bool failure);
