#include "app/queue_controller.h"

#include "app/log_pane.h"
#include "app/queue_list.h"
#include "app/window_state.h"
#include "run/queue_file.h"
#include "text/catalogue.h"
#include "util/paths.h"

#include <algorithm>
#include <map>
#include <memory>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace {

RunQueue theQueue;
QueueFile queueFile;

// Folders being read on threads of their own, and the recordings found in
// them so far: while it lasts, the list shows the count and the pointer its
// busy shape.
size_t readingThreads = 0;
std::atomic<size_t> recordingsFound{0};
// The paths each reading thread was given, until its answer is taken.
std::map<unsigned long long, std::vector<std::wstring>> beingRead;
unsigned long long lastBatch = 0;
constexpr UINT PROGRESS_SHOWN_EVERY_MS = 250;

// How often a window that does not keep queue.json tries to.
constexpr UINT CLAIM_AGAIN_MS = 2000;

// Longer paths would not fit on the engine's command line.
constexpr size_t LONGEST_QUEUED_PATH = COMMAND_LINE_LIMIT - 1024;

void tell(const std::wstring& notice)
{
    if (!notice.empty()) {
        appendLog(notice);
    }
}

// While items fail one after another, the whole file would be written for
// each: at most a few saves a second, the last one always made.
constexpr ULONGLONG SAVE_SPACING_MS = 300;
ULONGLONG lastSaveAt = 0;
bool saveHeldBack = false;

void saveQueue()
{
    const ULONGLONG now = GetTickCount64();
    if (lastSaveAt != 0 && now - lastSaveAt < SAVE_SPACING_MS) {
        if (!saveHeldBack && mainState.mainWindow != nullptr) {
            saveHeldBack = SetTimer(mainState.mainWindow, QUEUE_SAVE_TIMER_ID, static_cast<UINT>(SAVE_SPACING_MS), nullptr) != 0;
        }
        if (saveHeldBack) {
            return;
        }
    }
    saveQueueNow();
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

// Adds what was found first, then tells what was not: the window may close
// (or the session end) while a box of the telling is open, and what was
// found must be in the queue by then. Returns whether the window is still
// there afterwards.
bool addExpandedPaths(std::initializer_list<const ExpandedPaths*> all, bool quiet)
{
    size_t added = 0;
    for (const ExpandedPaths* expanded : all) {
        added += addToQueue(theQueue, expanded->recordings);
    }
    if (added > 0) {
        if (runState.queue.active) {
            // Arrived while the queue runs (a folder still being read when
            // OK was pressed): they run too, under labels of their own.
            assignLabels(theQueue, runState.queue.typedLabel, runState.queue.taken);
        }
        queueEdited();
    }
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
    for (const ExpandedPaths* expanded : all) {
        for (const std::wstring& folder : expanded->unreadable) {
            tellFolder(T_ERR_FOLDER_UNREADABLE, folder);
        }
        for (const std::wstring& folder : expanded->empty) {
            tellFolder(T_ERR_NO_RECORDINGS, folder);
        }
        for (const std::wstring& path : expanded->tooLong) {
            appendLog(fillPlaceholder(uiText(T_ERR_PATH_TOO_LONG), path.substr(0, MAX_PATH) + L"..."));
        }
        for (const std::wstring& path : expanded->missing) {
            appendLog(std::wstring(uiText(T_ERR_NO_FILE)) + L" " + path);
        }
        if (expanded->skipped > 0) {
            appendLog(fillPlaceholder(uiText(T_LOG_SKIPPED), std::to_wstring(expanded->skipped)));
        }
    }
    return mainState.mainWindow != nullptr;
}

} // namespace

const RunQueue& runQueue = theQueue;

void saveQueueNow()
{
    if (saveHeldBack) {
        KillTimer(mainState.mainWindow, QUEUE_SAVE_TIMER_ID);
        saveHeldBack = false;
    }
    lastSaveAt = GetTickCount64();
    takeInSavedQueueIfPending();
    tell(saveQueueFile(queueFile, theQueue));
}

void loadSavedQueue()
{
    tell(loadQueueFile(queueFile, theQueue, mainState.mainWindow));
    refreshQueueList();
    if (!queueFile.owned || queueFile.unread) {
        // The window that keeps the file may close before this one, and a
        // program that holds it may let go: tried again now and then.
        SetTimer(mainState.mainWindow, QUEUE_CLAIM_TIMER_ID, CLAIM_AGAIN_MS, nullptr);
    }
}

bool queueFileKept()
{
    return queueFile.owned;
}

void claimQueueFileAgain()
{
    if (queueFile.owned) {
        // A saved queue another program held joins as soon as it can be
        // read, and what was added meanwhile is saved with it.
        if (queueFile.unread) {
            saveQueueNow();
        }
        if (!queueFile.unread) {
            KillTimer(mainState.mainWindow, QUEUE_CLAIM_TIMER_ID);
        }
        return;
    }
    const std::vector<std::wstring> selected = selectedQueuePaths();
    std::wstring notice;
    if (!claimQueueFileAgain(queueFile, theQueue, mainState.mainWindow, notice)) {
        return;
    }
    if (!queueFile.unread) {
        KillTimer(mainState.mainWindow, QUEUE_CLAIM_TIMER_ID);
    }
    if (runState.queue.active) {
        assignLabels(theQueue, runState.queue.typedLabel, runState.queue.taken);
    }
    appendLog(fillPlaceholder(uiText(T_LOG_QUEUE_TAKEN_OVER), queueFilePath()));
    tell(notice);
    recountPass();
    saveQueueNow();
    refreshQueueList();
    selectQueuePaths(selected);
    showQueueProgress();
}

void saveQueueIfPending()
{
    if (saveHeldBack || queueFile.unread) {
        saveQueueNow();
    }
}

void closeQueue()
{
    // Whatever is not saved yet (a held-back save, a file another program
    // held until now) is saved as the window goes.
    keepWhatIsBeingRead();
    saveQueueIfPending();
    theQueue = RunQueue{};
    queueFile = QueueFile{};
    lastSaveAt = 0;
    readingThreads = 0;
}

void keepWhatIsBeingRead()
{
    std::vector<std::wstring> paths;
    for (auto& [batch, batchPaths] : beingRead) {
        paths.insert(paths.end(), batchPaths.begin(), batchPaths.end());
    }
    beingRead.clear();
    if (!paths.empty()) {
        addPathsNow(paths);
    }
}

void addToRunQueueLater(std::vector<std::wstring> paths, std::wstring lead, std::optional<QueueStart> thenStart)
{
    HWND window = mainState.mainWindow;
    // Kept here too until the thread's answer arrives: the window may close
    // (or the session end) first, and what was dropped or handed over must
    // not go with the thread.
    const unsigned long long batch = ++lastBatch;
    std::vector<std::wstring>& kept = beingRead[batch];
    if (!lead.empty()) {
        kept.push_back(lead);
    }
    kept.insert(kept.end(), paths.begin(), paths.end());
    if (thenStart) {
        kept.insert(kept.end(), thenStart->alsoAdded.begin(), thenStart->alsoAdded.end());
    }
    if (thenStart && !thenStart->handedOver) {
        beginPendingStart();
    }
    if (readingThreads++ == 0) {
        recordingsFound = 0;
        SetTimer(window, QUEUE_PROGRESS_TIMER_ID, PROGRESS_SHOWN_EVERY_MS, nullptr);
    }
    // Reading a large or a network folder may take long: never on the
    // window's thread. The window takes the result when it arrives; if the
    // window has gone meanwhile, the result goes with the thread (the paths
    // were read again and kept as it went).
    std::thread([window, batch, paths = std::move(paths), lead = std::move(lead), thenStart = std::move(thenStart)] {
        auto arrived = std::make_unique<PathsArrived>(
            PathsArrived{expandPaths(paths, LONGEST_QUEUED_PATH, &recordingsFound), thenStart});
        arrived->batch = batch;
        if (thenStart && !thenStart->alsoAdded.empty()) {
            arrived->alsoAdded = expandPaths(thenStart->alsoAdded, LONGEST_QUEUED_PATH, &recordingsFound);
        }
        std::vector<std::wstring>& recordings = arrived->expanded.recordings;
        if (!lead.empty() && !recordings.empty()) {
            recordings.insert(recordings.begin(), longNamePath(lead));
        }
        if (PostMessageW(window, WM_PATHS_EXPANDED, 0, reinterpret_cast<LPARAM>(arrived.get()))) {
            arrived.release(); // the window's now
        }
    }).detach();
}

std::optional<size_t> recordingsBeingRead()
{
    if (readingThreads == 0) {
        return std::nullopt;
    }
    return recordingsFound.load();
}

void takeArrivedPaths(PathsArrived* arrived)
{
    const std::unique_ptr<PathsArrived> owned(arrived);
    if (beingRead.erase(owned->batch) == 0) {
        return; // from before the queue was closed: kept already
    }
    if (readingThreads > 0 && --readingThreads == 0) {
        KillTimer(mainState.mainWindow, QUEUE_PROGRESS_TIMER_ID);
    }
    const bool quiet = owned->thenStart && owned->thenStart->unattended;
    if (!owned->thenStart || !owned->thenStart->named) {
        if (!addExpandedPaths({&owned->expanded}, quiet)) {
            return; // closed meanwhile: what was found is kept, nothing starts
        }
    }
    if (!owned->thenStart) {
        return;
    }
    QueueStart& start = *owned->thenStart;
    const bool wanted = start.handedOver || takePendingStart();
    if (start.named) {
        // A command line runs exactly what it names, also recordings that
        // ran before; what waited from before (not what it added) waits on.
        start.recordings = owned->expanded.recordings;
        // Also no "waiting from before": what handed-over starts added
        // while this one read its folders, and which follows it.
        std::unordered_set<std::wstring> named;
        for (const std::wstring& path : start.recordings) {
            named.insert(pathKey(path));
        }
        if (runState.startLater) {
            for (const std::wstring& path : runState.startLater->recordings) {
                named.insert(pathKey(path));
            }
        }
        const size_t before = static_cast<size_t>(std::count_if(theQueue.items.begin(), theQueue.items.end(),
            [&](const QueueItem& item) { return item.state == ItemState::Waiting && named.count(pathKey(item.path)) == 0; }));
        if (!addExpandedPaths({&owned->expanded, &owned->alsoAdded}, quiet) || !wanted) {
            return;
        }
        if (const size_t again = makeWaitAgain(start.recordings); again > 0) {
            appendLog(fillPlaceholder(uiText(T_LOG_NAMED_AGAIN), std::to_wstring(again)));
            queueEdited();
        }
        if (runState.queue.active || start.handedOver) {
            // Handed over: beside this window's own work, which is no
            // "waiting from before".
            startWhenFree(start);
            return;
        }
        if (before > 0) {
            appendLog(fillPlaceholder(uiText(T_LOG_LEFT_WAITING), std::to_wstring(before)));
        }
    }
    if (wanted && !startQueue(start) && !runBusy()) {
        setBusy(false); // refused: told, and the window is usable again
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
    if (!queueFile.unread) {
        return;
    }
    // The saved items go before the others: the user's selection stays
    // with the items it was on, not with their rows.
    const std::vector<std::wstring> selected = selectedQueuePaths();
    if (!takeInIfPending(queueFile, theQueue)) {
        return;
    }
    if (runState.queue.active) {
        assignLabels(theQueue, runState.queue.typedLabel, runState.queue.taken);
    }
    recountPass();
    refreshQueueList();
    selectQueuePaths(selected);
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

void addPathsNow(const std::vector<std::wstring>& paths)
{
    // On the window's thread: the window is going and cannot wait for
    // another.
    addRecordingsNow(expandPaths(paths, LONGEST_QUEUED_PATH).recordings);
}

void prepareQueueItems(const RunRequest& fields, const std::vector<std::wstring>& taken)
{
    theQueue.outputRoot = fields.outputRoot;
    theQueue.typedLabel = fields.label;
    theQueue.speakerCount = fields.speakerCount;
    theQueue.makeClips = fields.makeClips;
    assignLabels(theQueue, fields.label, taken);
    saveQueue();
    refreshQueueList();
}

std::vector<QueueItem> waitingItemsOf(const std::vector<std::wstring>& paths)
{
    std::unordered_map<std::wstring, size_t> waiting;
    for (size_t index = 0; index < theQueue.items.size(); ++index) {
        if (theQueue.items[index].state == ItemState::Waiting) {
            waiting.emplace(pathKey(theQueue.items[index].path), index);
        }
    }
    std::vector<QueueItem> items;
    for (const std::wstring& path : paths) {
        if (const auto found = waiting.find(pathKey(path)); found != waiting.end()) {
            items.push_back(theQueue.items[found->second]);
            waiting.erase(found);
        }
    }
    return items;
}

std::optional<QueueItem> beginNextItem(std::vector<std::wstring>& paths)
{
    size_t taken = 0;
    std::optional<QueueItem> next;
    for (; taken < paths.size() && !next; ++taken) {
        for (QueueItem& item : theQueue.items) {
            if (item.state == ItemState::Waiting && samePath(item.path, paths[taken])) {
                item.state = ItemState::Running;
                next = item;
                break;
            }
        }
    }
    paths.erase(paths.begin(), paths.begin() + static_cast<std::ptrdiff_t>(taken));
    return next;
}

void setRunningItemLabel(const std::wstring& path, const std::wstring& label, const std::wstring& folder)
{
    if (QueueItem* item = runningItemAt(path); item != nullptr) {
        item->label = label;
        // Kept in queue.json while it runs: after a crash its folder is
        // removed if the engine wrote nothing there.
        item->resultFolder = folder;
        item->logFile.clear();
    }
}

void setRunningItemLog(const std::wstring& path, const std::wstring& logFile)
{
    if (QueueItem* item = runningItemAt(path); item != nullptr) {
        item->logFile = logFile;
    }
}

std::vector<std::wstring> resumableItems()
{
    std::vector<std::wstring> interrupted;
    std::vector<std::wstring> waiting;
    for (QueueItem& item : theQueue.items) {
        if (item.state == ItemState::Interrupted) {
            item.state = ItemState::Waiting;
            interrupted.push_back(item.path);
        } else if (item.state == ItemState::Waiting) {
            waiting.push_back(item.path);
        }
    }
    interrupted.insert(interrupted.end(), waiting.begin(), waiting.end());
    return interrupted;
}

size_t makeWaitAgain(const std::vector<std::wstring>& paths)
{
    std::unordered_set<std::wstring> named;
    for (const std::wstring& path : paths) {
        named.insert(pathKey(path));
    }
    std::vector<size_t> indexes;
    for (size_t index = 0; index < theQueue.items.size(); ++index) {
        const ItemState state = theQueue.items[index].state;
        if (state != ItemState::Waiting && state != ItemState::Running && named.count(pathKey(theQueue.items[index].path)) > 0) {
            indexes.push_back(index);
        }
    }
    runAgain(theQueue, indexes, true);
    return indexes.size();
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
    recountPass();
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
    recountPass();
    queueEdited();
}
