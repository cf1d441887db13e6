#include "app/queue_controller.h"

#include "app/log_pane.h"
#include "app/queue_list.h"
#include "app/window_state.h"
#include "run/queue_file.h"
#include "text/catalogue.h"
#include "util/paths.h"

#include <memory>
#include <thread>

namespace {

RunQueue theQueue;
QueueFile queueFile;

// Longer paths would not fit on the engine's command line.
constexpr size_t LONGEST_QUEUED_PATH = COMMAND_LINE_LIMIT - 1024;

void tell(const std::wstring& notice)
{
    if (!notice.empty()) {
        appendLog(notice);
    }
}

void saveQueue()
{
    takeInSavedQueueIfPending();
    tell(saveQueueFile(queueFile, theQueue));
}

QueueItem* runningItemAt(const std::wstring& path)
{
    for (QueueItem& item : theQueue.items) {
        if (item.state == ItemState::Running && samePath(item.path, path)) {
            return &item;
        }
    }
    return nullptr;
}

void addExpandedPaths(const ExpandedPaths& expanded, bool quiet)
{
    bool boxShown = quiet; // unattended: the log only
    // The first folder that is told gets a message box; more of them (a drop
    // of many) only a log line, so nobody clicks through a hundred boxes.
    const auto tellFolder = [&](TextId text, const std::wstring& folder) {
        if (!boxShown) {
            boxShown = true;
            showMessage(mainState.mainWindow, text, folder, MB_OK | MB_ICONWARNING);
        } else {
            appendLog(fillPlaceholder(uiText(text), folder));
        }
    };
    for (const std::wstring& folder : expanded.unreadable) {
        tellFolder(T_ERR_FOLDER_UNREADABLE, folder);
    }
    for (const std::wstring& folder : expanded.empty) {
        tellFolder(T_ERR_NO_RECORDINGS, folder);
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
    if (addToQueue(theQueue, expanded.recordings) == 0) {
        return;
    }
    if (runState.queue.active) {
        // Arrived while the queue runs (a folder still being read when OK
        // was pressed): they run too, under labels of their own.
        assignLabels(theQueue, runState.queue.typedLabel, runState.queue.taken);
    }
    queueEdited();
}

} // namespace

const RunQueue& runQueue = theQueue;

void loadSavedQueue()
{
    tell(loadQueueFile(queueFile, theQueue));
    refreshQueueList();
}

void closeQueue()
{
    theQueue = RunQueue{};
    queueFile = QueueFile{};
}

void addToRunQueueLater(std::vector<std::wstring> paths, std::wstring lead, std::optional<QueueStart> thenStart)
{
    HWND window = mainState.mainWindow;
    // Reading a large or a network folder may take long: never on the
    // window's thread. The window takes the result when it arrives; if the
    // window has gone meanwhile, the result goes with the thread.
    std::thread([window, paths = std::move(paths), lead = std::move(lead), thenStart = std::move(thenStart)] {
        auto arrived = std::make_unique<PathsArrived>(PathsArrived{expandPaths(paths, LONGEST_QUEUED_PATH), thenStart});
        std::vector<std::wstring>& recordings = arrived->expanded.recordings;
        if (!lead.empty() && !recordings.empty()) {
            recordings.insert(recordings.begin(), longNamePath(lead));
        }
        if (PostMessageW(window, WM_PATHS_EXPANDED, 0, reinterpret_cast<LPARAM>(arrived.get()))) {
            arrived.release(); // the window's now
        }
    }).detach();
}

void takeArrivedPaths(PathsArrived* arrived)
{
    const std::unique_ptr<PathsArrived> owned(arrived);
    addExpandedPaths(owned->expanded, owned->thenStart && owned->thenStart->unattended);
    if (owned->thenStart) {
        startQueue(*owned->thenStart);
    }
}

void queueEdited()
{
    saveQueue();
    refreshQueueList();
    showQueueProgress();
}

void takeInSavedQueueIfPending()
{
    if (takeInIfPending(queueFile, theQueue) && runState.queue.active) {
        assignLabels(theQueue, runState.queue.typedLabel, runState.queue.taken);
    }
}

void addRecordingsNow(const std::vector<std::wstring>& files)
{
    std::vector<std::wstring> paths;
    for (const std::wstring& file : files) {
        paths.push_back(longNamePath(file));
    }
    if (addToQueue(theQueue, paths) > 0) {
        queueEdited();
    }
}

void prepareQueueItems(const RunRequest& fields, const std::vector<std::wstring>& taken)
{
    theQueue.outputRoot = fields.outputRoot;
    theQueue.speakerCount = fields.speakerCount;
    theQueue.makeClips = fields.makeClips;
    assignLabels(theQueue, fields.label, taken);
    saveQueue();
    refreshQueueList();
}

std::optional<QueueItem> beginNextItem()
{
    const std::optional<size_t> next = nextWaiting(theQueue);
    if (!next) {
        return std::nullopt;
    }
    QueueItem& item = theQueue.items[*next];
    item.state = ItemState::Running;
    return item;
}

void setRunningItemLabel(const std::wstring& path, const std::wstring& label)
{
    if (QueueItem* item = runningItemAt(path); item != nullptr) {
        item->label = label;
    }
}

bool markRunningItem(const std::wstring& path, ItemState state, unsigned exitCode, const std::wstring& resultFolder)
{
    QueueItem* item = runningItemAt(path);
    if (item == nullptr) {
        return false;
    }
    item->state = state;
    item->exitCode = exitCode;
    item->resultFolder = resultFolder;
    return true;
}

void removeQueueItems(const std::vector<size_t>& indexes)
{
    removeItems(theQueue, indexes);
    queueEdited();
}

void runQueueItemsAgain(const std::vector<size_t>& indexes)
{
    if (!runState.queue.active) {
        runAgain(theQueue, indexes);
        queueEdited();
    }
}

void clearFinishedQueueItems()
{
    clearFinished(theQueue);
    queueEdited();
}
