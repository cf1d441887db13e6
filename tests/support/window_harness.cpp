#include "support/window_harness.h"

#include "app/main_window.h"
#include "app/window_state.h"
#include "config/config.h"
#include "support/message_boxes.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <ole2.h>

#include <thread>

void prepareWindowProgram()
{
    static bool prepared = false;
    if (prepared) {
        return;
    }
    prepared = true;
    mainState.instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX commonControls = {sizeof commonControls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&commonControls);
    OleInitialize(nullptr);
    registerMainWindowClass(mainState.instance);
}

HWND startMainWindow()
{
    prepareWindowProgram();
    loadStartingConfig();
    HWND window = createMainWindow(mainState.instance);
    if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        // The hint is the log's first line.
        pumpUntil([&] { return GetWindowTextLengthW(mainState.controls[CTL_LOG]) > 0; }, 5000);
        pumpPending();
    }
    return window;
}

void pumpPending()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam)); // leave it for closeMainWindow
            return;
        }
        processMessage(message);
    }
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        pumpPending();
    }
    return true;
}

int closeMainWindow(HWND window)
{
    if (IsWindow(window)) {
        DestroyWindow(window);
    }
    const ULONGLONG deadline = GetTickCount64() + 5000;
    MSG message;
    while (GetTickCount64() < deadline) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
    return -1;
}

void withDialogOpenedBy(HWND mainWindow, WORD command, const std::function<void(HWND dialog)>& actions)
{
    std::thread driver([&] {
        HWND dialog = nullptr;
        waitUntil(
            [&] {
                for (HWND window : topLevelWindows()) {
                    if (processOf(window) == GetCurrentProcessId() && classOf(window) == L"#32770"
                        && GetWindow(window, GW_OWNER) == mainWindow && IsWindowVisible(window)) {
                        dialog = window;
                        return true;
                    }
                }
                return false;
            },
            10000);
        if (dialog == nullptr) {
            ADD_FAILURE() << "no dialog opened";
            return;
        }
        actions(dialog);
        if (IsWindow(dialog)) {
            ADD_FAILURE() << "the actions left the dialog open";
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    driver.join();
}

void press(HWND dialog, int button)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    waitUntil([&] { return !IsWindow(dialog); }, 5000);
}

std::wstring windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring className(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

namespace {

std::vector<CreatedWindow>* recorded = nullptr;

LRESULT CALLBACK recordCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && recorded != nullptr) {
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        CreatedWindow entry{reinterpret_cast<HWND>(wParam), create->hwndParent, L"", static_cast<DWORD>(create->style),
            create->dwExStyle, create->x, create->y, create->cx, create->cy,
            reinterpret_cast<INT_PTR>(create->hMenu)};
        if (HIWORD(reinterpret_cast<ULONG_PTR>(create->lpszClass)) != 0) {
            entry.className = create->lpszClass;
            // Common controls 6 name their classes with the version first.
            if (const size_t bang = entry.className.find(L'!'); bang != std::wstring::npos) {
                entry.className.erase(0, bang + 1);
            }
        }
        recorded->push_back(entry);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

CreationRecorder::CreationRecorder()
{
    recorded = new std::vector<CreatedWindow>();
    hook_ = SetWindowsHookExW(WH_CBT, recordCreation, nullptr, GetCurrentThreadId());
}

CreationRecorder::~CreationRecorder()
{
    UnhookWindowsHookEx(hook_);
    delete recorded;
    recorded = nullptr;
}

std::vector<CreatedWindow> CreationRecorder::childrenOf(HWND parent) const
{
    std::vector<CreatedWindow> children;
    for (const CreatedWindow& entry : *recorded) {
        if (entry.parent == parent && (entry.style & WS_CHILD) != 0) {
            children.push_back(entry);
        }
    }
    return children;
}
