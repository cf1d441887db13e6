#include "app/taskbar.h"

#include "util/handles.h"

#include <shobjidl.h>

namespace {

ComOwner<ITaskbarList3> taskbar;
RunProgress shownProgress = RunProgress::Done;
// A queue's items: finished of all, and whether one failed.
size_t shownFinished = 0;
size_t shownTotal = 0;
bool shownFailure = false;

void showProgress(HWND window, RunProgress progress)
{
    switch (progress) {
    case RunProgress::Active:
        taskbar->SetProgressState(window, TBPF_INDETERMINATE);
        break;
    case RunProgress::Counting:
        taskbar->SetProgressState(window, shownFailure ? TBPF_ERROR : TBPF_NORMAL);
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

void showQueueOnTaskbar(HWND window, size_t finished, size_t total, bool failure)
{
    shownFinished = finished;
    shownTotal = total;
    shownFailure = failure;
    showRunOnTaskbar(window, RunProgress::Counting);
}
