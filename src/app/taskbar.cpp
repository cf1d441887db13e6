#include "app/taskbar.h"

#include "util/handles.h"

#include <shobjidl.h>

namespace {

ComOwner<ITaskbarList3> taskbar;

} // namespace

UINT taskbarButtonCreatedMessage()
{
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

void connectTaskbar()
{
    ITaskbarList3* list = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&list)))) {
        return;
    }
    taskbar.reset(list);
    if (FAILED(taskbar->HrInit())) {
        taskbar.reset();
    }
}

void disconnectTaskbar()
{
    taskbar.reset();
}

void showRunOnTaskbar(HWND window, RunProgress progress)
{
    if (taskbar != nullptr) {
        switch (progress) {
        case RunProgress::Active:
            taskbar->SetProgressState(window, TBPF_INDETERMINATE);
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
    if (progress != RunProgress::Active && GetForegroundWindow() != window) {
        FLASHWINFO flash = {sizeof flash, window, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
        FlashWindowEx(&flash);
    }
}
