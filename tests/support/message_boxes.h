// Message boxes of a program, found and answered from another thread or process.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Polls until done holds; false when the time is up.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs);

struct MessageBoxSeen {
    HWND box = nullptr;
    std::wstring caption;
    std::wstring text;
    LPCWSTR icon = nullptr; // IDI_WARNING, IDI_ERROR, IDI_QUESTION or IDI_INFORMATION
    HWND owner = nullptr;
    bool hasCancel = false;
};

// The first visible dialog window of the process (owned by owner, when one
// is given), read whole; an empty record when none appears in time.
MessageBoxSeen waitForMessageBox(DWORD processId, DWORD timeoutMs = 10000, HWND owner = nullptr);
// Presses the button and waits until the box has gone.
void answerMessageBox(const MessageBoxSeen& box, int button);

// Which standard icon a message box's icon control shows.
LPCWSTR identifyIcon(HWND iconControl);

std::vector<HWND> topLevelWindows();
DWORD processOf(HWND window);
std::wstring classOf(HWND window);
// The text of a window of any process.
std::wstring textOf(HWND window);
