#include "app/handover.h"

#include "app/command_line.h"
#include "app/commands.h"
#include "app/queue_controller.h"
#include "app/run_controller.h"
#include "app/window_state.h"
#include "run/queue.h"
#include "run/queue_file.h"
#include "util/files.h"
#include "util/paths.h"

#include <cwchar>
#include <vector>

namespace {

// What other starts handed over, waiting for the window to be free.
std::vector<StartPaths> handedOver;

// Far more than any selection of paths; a bigger record is no start's.
constexpr DWORD LARGEST_HANDED_OVER = 64 * 1024 * 1024;

// A start waits this long for its turn, and for the open window to answer.
constexpr DWORD TURN_WAIT_MS = 15000;
constexpr UINT ANSWER_WAIT_MS = 10000;

} // namespace

UniqueHandle waitForStartTurn()
{
    // One name per installation, however its folder is spelt (a short name,
    // a drive letter of its own): the folder's identity, hashed (FNV-1a).
    unsigned long long hash = 14695981039346656037ull;
    for (const wchar_t unit : pathKey(fileIdentity(executableDirectory()))) {
        hash = (hash ^ unit) * 1099511628211ull;
    }
    wchar_t name[96];
    swprintf(name, 96, L"Local\\%ls-start-%016llx", MAIN_WINDOW_CLASS, hash);
    UniqueHandle turn(CreateMutexW(nullptr, FALSE, name));
    if (turn == nullptr) {
        return turn; // no turns to be had: the start goes on alone
    }
    const DWORD waited = WaitForSingleObject(turn.get(), TURN_WAIT_MS);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        turn.reset(); // a start that hangs does not hold up the others
    }
    return turn;
}

bool handOverToOpenWindow(const StartPaths& paths)
{
    const std::optional<QueueOwner> owner = queueFileOwner();
    if (!owner || owner->window == nullptr || !IsWindow(owner->window)) {
        return false;
    }
    DWORD processId = 0;
    wchar_t className[64] = {};
    GetWindowThreadProcessId(owner->window, &processId);
    GetClassNameW(owner->window, className, 64);
    if (processId != owner->processId || std::wcscmp(className, MAIN_WINDOW_CLASS) != 0) {
        return false; // the lock names a window that has gone
    }
    const std::wstring text = handedOverText(paths);
    COPYDATASTRUCT data = {};
    data.dwData = HANDED_OVER_DATA;
    data.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(text.data());
    // This start was the user's doing: the window may come to the front.
    AllowSetForegroundWindow(processId);
    DWORD_PTR taken = FALSE;
    return SendMessageTimeoutW(owner->window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
               SMTO_ABORTIFHUNG | SMTO_BLOCK, ANSWER_WAIT_MS, &taken)
        && taken == TRUE;
}

LRESULT takeHandedOver(HWND window, const COPYDATASTRUCT* data)
{
    if (data == nullptr || data->dwData != HANDED_OVER_DATA || data->cbData % sizeof(wchar_t) != 0
        || data->cbData > LARGEST_HANDED_OVER || (data->cbData > 0 && data->lpData == nullptr)) {
        return FALSE;
    }
    // A start without work sends nothing at all (and Windows may pass no
    // pointer for it).
    const std::wstring_view text = data->cbData == 0
        ? std::wstring_view()
        : std::wstring_view(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    std::optional<StartPaths> paths = startPathsFromHandedOver(text);
    if (!paths) {
        return FALSE;
    }
    // Not while the other start waits for the answer: the work may open a
    // message box.
    handedOver.push_back(std::move(*paths));
    PostMessageW(window, WM_HANDED_OVER, 0, 0);
    return TRUE;
}

void keepHandedOverWork()
{
    std::vector<std::wstring> paths;
    for (StartPaths& work : handedOver) {
        paths.insert(paths.end(), work.added.begin(), work.added.end());
        paths.insert(paths.end(), work.autostart.begin(), work.autostart.end());
    }
    handedOver.clear();
    if (!paths.empty()) {
        addPathsNow(paths);
    }
}

void doHandedOverWork(HWND window)
{
    // Someone is there: the countdown after a queue ends, whether it is
    // still to come, waits for a box, or is the box that holds this work up.
    if (!handedOver.empty()) {
        stopCountdown();
    }
    // A box of the window's is open (it disables its owner): the work waits
    // until it has gone.
    if (!IsWindowEnabled(window)) {
        SetTimer(window, HANDED_OVER_TIMER_ID, 250, nullptr);
        return;
    }
    KillTimer(window, HANDED_OVER_TIMER_ID);
    std::vector<StartPaths> work = std::move(handedOver);
    handedOver.clear();
    for (const StartPaths& paths : work) {
        if (paths.whenDone) {
            chooseWhenDone(*paths.whenDone);
        }
        if (paths.resume && !runBusy()) {
            resumeQueue(); // Windows restarted the program while the window was open again
        }
        if (!paths.autostart.empty()) {
            // The window's fields, but not its input: that is no part of
            // what the start asked for. Its other paths are read with it,
            // in the command line's order, and only added.
            QueueStart start{requestFromWindow(), true, true};
            start.fields.inputPath.clear();
            start.alsoAdded = paths.added;
            start.handedOver = true;
            addToRunQueueLater(paths.autostart, {}, start);
        } else if (!paths.added.empty()) {
            // Into the list, never the input field: what the user typed
            // there stays.
            if (runBusy()) {
                addToRunQueueLater(paths.added); // they wait for the next OK
            } else {
                takeRecordings(paths.added, true);
            }
        }
    }
    // Also for a start that brought nothing: the user asked for the window.
    if (!work.empty()) {
        if (IsIconic(window)) {
            ShowWindow(window, SW_RESTORE);
        }
        SetForegroundWindow(window);
    }
}
