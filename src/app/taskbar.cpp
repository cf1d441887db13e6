#include "app/taskbar.h"

#include "app/window_state.h"
#include "util/handles.h"

#include <shellapi.h>

#include <shobjidl.h>

namespace {

ComOwner<ITaskbarList3> taskbar;
RunProgress shownProgress = RunProgress::Done;
// A queue's items: finished of all, and whether one failed.
size_t shownFinished = 0;
size_t shownTotal = 0;
bool shownFailure = false;
bool shownStopping = false;

// The notification area icon of a queue's end, while it is there.
constexpr UINT NOTICE_ID = 1;
bool noticeShown = false;

void showProgress(HWND window, RunProgress progress)
{
    switch (progress) {
    case RunProgress::Active:
        taskbar->SetProgressState(window, TBPF_INDETERMINATE);
        break;
    case RunProgress::Counting:
        // Yellow while it stops, as Windows shows a paused copy.
        taskbar->SetProgressState(window, shownFailure ? TBPF_ERROR : shownStopping ? TBPF_PAUSED : TBPF_NORMAL);
        taskbar->SetProgressValue(window, shownFinished, shownTotal == 0 ? 1 : shownTotal);
        break;
    case RunProgress::Failed:
        taskbar->SetProgressState(window, TBPF_ERROR);
        taskbar->SetProgressValue(window, 1, 1);
        break;
    case RunProgress::Done:
        taskbar->SetProgressState(window, TBPF_NOPROGRESS);
        break;
    }
}

} // namespace

UINT taskbarButtonCreatedMessage()
{
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

void connectTaskbar(HWND window)
{
    ITaskbarList3* list = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&list)))) {
        return;
    }
    taskbar.reset(list);
    if (FAILED(taskbar->HrInit())) {
        taskbar.reset();
        return;
    }
    showProgress(window, shownProgress);
}

void disconnectTaskbar()
{
    taskbar.reset();
    shownProgress = RunProgress::Done;
}

void showRunOnTaskbar(HWND window, RunProgress progress)
{
    shownProgress = progress;
    if (taskbar != nullptr) {
        showProgress(window, progress);
    }
    if (progress != RunProgress::Active && progress != RunProgress::Counting && GetForegroundWindow() != window) {
        FLASHWINFO flash = {sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
        FlashWindowEx(&flash);
    }
}

void showQueueOnTaskbar(HWND window, size_t finished, size_t total, bool failure, bool stopping)
{
    shownFinished = finished;
    shownTotal = total;
    shownFailure = failure;
    shownStopping = stopping;
    showRunOnTaskbar(window, RunProgress::Counting);
}

void showQueueNotice(HWND window, HICON icon, const wchar_t* title, const std::wstring& text, bool warning)
{
    hideQueueNotice(window);
    NOTIFYICONDATAW notice = {};
    notice.cbSize = sizeof notice;
    notice.hWnd = window;
    notice.uID = NOTICE_ID;
    notice.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP | NIF_INFO;
    notice.uCallbackMessage = WM_NOTICE_ICON;
    notice.hIcon = icon;
    lstrcpynW(notice.szTip, title, ARRAYSIZE(notice.szTip));
    lstrcpynW(notice.szInfoTitle, title, ARRAYSIZE(notice.szInfoTitle));
    lstrcpynW(notice.szInfo, text.c_str(), ARRAYSIZE(notice.szInfo));
    notice.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
    if (!Shell_NotifyIconW(NIM_ADD, &notice)) {
        return;
    }
    noticeShown = true;
    // Events as Windows Vista and later give them: the balloon's own.
    notice.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &notice);
}

void onNoticeIcon(HWND window, LPARAM event)
{
    switch (LOWORD(event)) {
    case NIN_BALLOONUSERCLICK:
    case NIN_SELECT:
    case NIN_KEYSELECT:
    case WM_LBUTTONUP:
        // Seen: the window comes forward.
        if (IsIconic(window)) {
            ShowWindow(window, SW_RESTORE);
        }
        SetForegroundWindow(window);
        hideQueueNotice(window);
        break;
    case NIN_BALLOONTIMEOUT:
        hideQueueNotice(window);
        break;
    default:
        break;
    }
}

void hideQueueNotice(HWND window)
{
    if (!noticeShown) {
        return;
    }
    NOTIFYICONDATAW notice = {};
    notice.cbSize = sizeof notice;
    notice.hWnd = window;
    notice.uID = NOTICE_ID;
    Shell_NotifyIconW(NIM_DELETE, &notice);
    noticeShown = false;
}
