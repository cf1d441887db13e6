#include "run/queue_run.h"

#include "app/commands.h"
#include "app/queue_list.h"
#include "app/taskbar.h"
#include "app/window_state.h"
#include "run/launch.h"
#include "run/run_state.h"
#include "text/catalogue.h"
#include "text/log_pane.h"
#include "util/files.h"
#include "util/paths.h"

#include <algorithm>
#include <memory>
#include <thread>

RunQueue runQueue;

namespace {

// Longer paths would not fit on the engine's command line.
constexpr size_t LONGEST_QUEUED_PATH = COMMAND_LINE_LIMIT - 1024;

// One press of OK: the items it runs and how they ended.
struct QueueProgress {
    bool active = false;
    std::wstring currentPath; // the running item, found by path: items above it may be removed meanwhile
    size_t done = 0;
    size_t failed = 0;
    size_t cancelled = 0;
    std::wstring lastDateFolder; // of the last item that succeeded
    std::wstring typedLabel;
};

QueueProgress progress;

// queue.json as last read or written here: a file that still holds it needs
// no parsing before it is replaced.
std::string lastWritten;
bool saveFailureTold = false;

size_t finishedItems()
{
    return progress.done + progress.failed + progress.cancelled;
}

// The items of this run of the queue: those finished, and those still to
// run (which the user may add to or remove from meanwhile).
size_t queueTotal()
{
    const size_t left = static_cast<size_t>(std::count_if(runQueue.items.begin(), runQueue.items.end(),
        [](const QueueItem& item) { return item.state == ItemState::Waiting || item.state == ItemState::Running; }));
    return finishedItems() + left;
}

void showQueueProgress()
{
    showQueueOnTaskbar(mainState.mainWindow, finishedItems(), queueTotal(), progress.failed > 0);
    SetWindowTextW(mainState.mainWindow, (queueTitlePrefix() + uiText(T_APP_TITLE)).c_str());
}

QueueItem* runningItem()
{
    for (QueueItem& item : runQueue.items) {
        if (item.state == ItemState::Running && samePath(item.path, progress.currentPath)) {
            return &item;
        }
    }
    return nullptr;
}

void endQueue()
{
    progress.active = false;
    const QueueSummary summary = summarize(runQueue);
    appendLog(fillPlaceholders(uiText(T_LOG_QUEUE_SUMMARY),
        {std::to_wstring(progress.done), std::to_wstring(progress.failed), std::to_wstring(progress.cancelled),
            std::to_wstring(summary.notRun)}));
    saveQueue();
    refreshQueueList();
    setBusy(false);
    SetWindowTextW(mainState.mainWindow, uiText(T_APP_TITLE));
    showRunOnTaskbar(mainState.mainWindow, progress.failed > 0 ? RunProgress::Failed : RunProgress::Done);
    // One folder for the whole queue, not one per item.
    if (!progress.lastDateFolder.empty() && !openResultFolder(progress.lastDateFolder)) {
        appendLog(fillPlaceholder(uiText(T_MSG_OPEN_FAILED), progress.lastDateFolder));
    }
}

// Starts the next waiting item; an item whose file has gone fails with a
// log line and the queue goes on, since nobody may be there to answer a
// message box. An engine that cannot start at all ends the queue.
void startNextItem()
{
    while (const std::optional<size_t> next = nextWaiting(runQueue)) {
        QueueItem& item = runQueue.items[*next];
        item.state = ItemState::Running;
        progress.currentPath = item.path;
        showQueueProgress();
        saveQueue();
        refreshQueueList();
        if (pathKind(item.path) != PathKind::File) {
            appendLog(std::wstring(uiText(T_LOG_START)) + item.path);
            appendLog(uiText(T_ERR_NO_FILE));
            item.state = ItemState::Failed;
            ++progress.failed;
            continue;
        }
        const RunRequest request{item.path, runQueue.outputRoot, item.label, runQueue.speakerCount, runQueue.makeClips};
        if (startRun(request)) {
            return;
        }
        appendLog(uiText(T_ERR_START));
        item.state = ItemState::Waiting;
        break;
    }
    endQueue();
}

} // namespace

std::wstring queueFilePath()
{
    return executableDirectory() + L"\\queue.json";
}

void loadSavedQueue()
{
    const std::wstring path = queueFilePath();
    std::string bytes;
    // A file that cannot be read now is left alone; saves will not replace it.
    if (readWholeFile(path, bytes) != ReadResult::Ok) {
        return;
    }
    if (std::optional<RunQueue> saved = queueFromJson(bytes)) {
        runQueue = std::move(*saved);
        markInterrupted(runQueue); // the program ended while it ran
        lastWritten = bytes;
    } else if (const std::wstring kept = keepNumberedBackup(path, bytes); !kept.empty()) {
        appendLog(fillPlaceholder(uiText(T_LOG_QUEUE_BROKEN), kept));
    }
    refreshQueueList();
}

void saveQueue()
{
    const std::wstring path = queueFilePath();
    std::string current;
    const ReadResult read = readWholeFile(path, current);
    // Never over a file that could not be read, nor over a broken one whose
    // bytes could not be kept aside first.
    const bool mayReplace = read == ReadResult::Missing
        || (read == ReadResult::Ok
            && (current == lastWritten || queueFromJson(current) || !keepNumberedBackup(path, current).empty()));
    std::string bytes = queueToJson(runQueue);
    if (mayReplace && writeWholeFileSafely(path, bytes)) {
        lastWritten = std::move(bytes);
        saveFailureTold = false;
        return;
    }
    if (!saveFailureTold) {
        saveFailureTold = true;
        appendLog(fillPlaceholder(uiText(T_LOG_QUEUE_NOT_SAVED), path));
    }
}

void addExpandedPaths(const ExpandedPaths& expanded)
{
    bool boxShown = false;
    // The first folder that is told gets a message box; more of them (a drop
    // of many) only a log line, so nobody clicks through a hundred boxes.
    const auto tell = [&](TextId text, const std::wstring& folder) {
        if (!boxShown) {
            boxShown = true;
            showMessage(mainState.mainWindow, text, folder, MB_OK | MB_ICONWARNING);
        } else {
            appendLog(fillPlaceholder(uiText(text), folder));
        }
    };
    for (const std::wstring& folder : expanded.unreadable) {
        tell(T_ERR_FOLDER_UNREADABLE, folder);
    }
    for (const std::wstring& folder : expanded.empty) {
        tell(T_ERR_NO_RECORDINGS, folder);
    }
    for (const std::wstring& path : expanded.tooLong) {
        appendLog(fillPlaceholder(uiText(T_ERR_PATH_TOO_LONG), path.substr(0, MAX_PATH) + L"..."));
    }
    for (const std::wstring& path : expanded.missing) {
        appendLog(std::wstring(uiText(T_ERR_NO_FILE)) + L" " + path);
    }
    if (expanded.skipped > 0) {
        appendLog(fillPlaceholder(uiText(T_LOG_SKIPPED), std::to_wstring(expanded.skipped)));
    }
    const size_t added = addToQueue(runQueue, expanded.recordings);
    if (added == 0) {
        return;
    }
    if (progress.active) {
        // Arrived while the queue runs (a folder still being read when OK
        // was pressed): they run too, under labels of their own.
        assignLabels(runQueue, progress.typedLabel, {});
        showQueueProgress();
    }
    saveQueue();
    refreshQueueList();
}

void addToRunQueue(const std::vector<std::wstring>& paths)
{
    addExpandedPaths(expandPaths(paths, LONGEST_QUEUED_PATH));
}

void addToRunQueueLater(std::vector<std::wstring> paths)
{
    HWND window = mainState.mainWindow;
    // Reading a large or a network folder may take long: never on the
    // window's thread. The window takes the result when it arrives; if the
    // window has gone meanwhile, the result goes with the thread.
    std::thread([window, paths = std::move(paths)] {
        auto expanded = std::make_unique<ExpandedPaths>(expandPaths(paths, LONGEST_QUEUED_PATH));
        if (PostMessageW(window, WM_PATHS_EXPANDED, 0, reinterpret_cast<LPARAM>(expanded.get()))) {
            expanded.release(); // the window's now
        }
    }).detach();
}

bool queueRunning()
{
    return progress.active;
}

bool startQueue(const RunRequest& fields)
{
    if (runState.running || progress.active) {
        return false;
    }
    if (!fields.inputPath.empty()) {
        if (pathKind(fields.inputPath) == PathKind::Missing) {
            showMessage(mainState.mainWindow, T_ERR_NO_FILE, MB_OK | MB_ICONWARNING);
            return false;
        }
        addToRunQueue({fields.inputPath});
    }
    runQueue.outputRoot = fields.outputRoot;
    runQueue.speakerCount = fields.speakerCount;
    runQueue.makeClips = fields.makeClips;
    assignLabels(runQueue, fields.label, {});
    saveQueue();
    refreshQueueList();
    std::vector<std::wstring> labels;
    for (const QueueItem& item : runQueue.items) {
        if (item.state == ItemState::Waiting) {
            labels.push_back(item.label);
        }
    }
    if (labels.empty()) {
        MessageBeep(MB_ICONWARNING); // nothing waits: Run again makes finished items wait
        return false;
    }
    if (!checkRunConditions(fields.label, labels, fields.outputRoot)) {
        return false;
    }
    progress = QueueProgress{};
    progress.active = true;
    progress.typedLabel = fields.label;
    setBusy(true);
    startNextItem();
    return true;
}

void queueItemFinished(unsigned exitCode, bool cancelled)
{
    if (QueueItem* item = runningItem(); item != nullptr) {
        if (cancelled) {
            item->state = ItemState::Cancelled;
            ++progress.cancelled;
        } else if (exitCode == 0) {
            item->state = ItemState::Done;
            item->resultFolder = fullPath(runState.outputFolder);
            progress.lastDateFolder = parentDirectory(item->resultFolder);
            ++progress.done;
        } else {
            item->state = ItemState::Failed;
            item->exitCode = exitCode;
            ++progress.failed;
        }
    }
    showQueueProgress();
    saveQueue();
    refreshQueueList();
    if (cancelled) {
        endQueue();
    } else {
        startNextItem();
    }
}

void queueEdited()
{
    saveQueue();
    refreshQueueList();
    if (progress.active) {
        showQueueProgress();
    }
}

std::wstring queueTitlePrefix()
{
    if (!progress.active) {
        return {};
    }
    const size_t total = queueTotal();
    const size_t position = std::min(total, finishedItems() + 1);
    return L"(" + std::to_wstring(position) + L"/" + std::to_wstring(total) + L") ";
}
