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
#include "util/handles.h"
#include "util/paths.h"

#include <algorithm>
#include <cwchar>
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
    std::vector<std::wstring> taken; // names in the day's folder before it began
    bool engineFailed = false;       // it stopped because the engine could not start
};

QueueProgress progress;

// queue.json as last read or written here: a file that still holds it needs
// no parsing before it is replaced.
std::string lastWritten;
bool saveFailureTold = false;

// queue.json belongs to one window of an installation at a time; another
// window keeps its queue in memory only, so that neither writes over the
// other's. Held from the first claim to the end of the process.
UniqueHandle queueFileClaim;
bool queueFileOwned = false;

// queue.json was there but could not be read (another program held it):
// nothing is written over it until it has been read and its items taken in.
bool savedQueueUnread = false;

bool claimQueueFile()
{
    if (queueFileOwned) {
        return true;
    }
    // One name per installation, however its folder is spelt (a short name,
    // a drive letter of its own): the folder's identity, hashed (FNV-1a).
    unsigned long long hash = 14695981039346656037ull;
    for (const wchar_t unit : pathKey(fileIdentity(executableDirectory()))) {
        hash = (hash ^ unit) * 1099511628211ull;
    }
    wchar_t name[96];
    swprintf(name, 96, L"Local\\%ls-queue-%016llx", MAIN_WINDOW_CLASS, hash);
    queueFileClaim.reset(CreateMutexW(nullptr, FALSE, name));
    if (queueFileClaim != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        // Not held on to, so that a window started after the owner has gone
        // can claim the file.
        queueFileClaim.reset();
        return false;
    }
    // Without a claim to be had at all, the file is kept as it always was.
    queueFileOwned = true;
    return true;
}

// Reads queue.json and takes its items in, the item that was running
// marked interrupted; a broken file is kept aside as a numbered .bak. False
// when it is there but cannot be read now.
bool takeInSavedQueue()
{
    const std::wstring path = queueFilePath();
    std::string bytes;
    const ReadResult read = readWholeFile(path, bytes);
    savedQueueUnread = read == ReadResult::Unreadable || read == ReadResult::Locked;
    if (read != ReadResult::Ok) {
        return !savedQueueUnread;
    }
    if (std::optional<RunQueue> saved = queueFromJson(bytes)) {
        markInterrupted(*saved); // the program ended while it ran
        takeInSaved(runQueue, std::move(*saved));
        lastWritten = std::move(bytes);
    } else if (const std::wstring kept = keepNumberedBackup(path, bytes); !kept.empty()) {
        appendLog(fillPlaceholder(uiText(T_LOG_QUEUE_BROKEN), kept));
    }
    return true;
}

// A saved queue that could not be read before is taken in as soon as it
// can be, before anything is labelled or saved.
void takeInSavedQueueIfPending()
{
    if (savedQueueUnread && takeInSavedQueue() && progress.active) {
        assignLabels(runQueue, progress.typedLabel, progress.taken);
    }
}

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
    // Not run: what this OK left waiting, not what an earlier one left
    // interrupted.
    const size_t notRun = queueTotal() - finishedItems();
    progress.active = false;
    appendLog(fillPlaceholders(uiText(T_LOG_QUEUE_SUMMARY),
        {std::to_wstring(progress.done), std::to_wstring(progress.failed), std::to_wstring(progress.cancelled),
            std::to_wstring(notRun)}));
    saveQueue();
    refreshQueueList();
    setBusy(false);
    SetWindowTextW(mainState.mainWindow, uiText(T_APP_TITLE));
    showRunOnTaskbar(
        mainState.mainWindow, progress.failed > 0 || progress.engineFailed ? RunProgress::Failed : RunProgress::Done);
    // One folder for the whole queue, not one per item.
    if (!progress.lastDateFolder.empty()) {
        openResultFolder(progress.lastDateFolder);
    }
}

// Makes the item's result folder before its engine starts, under the next
// free name when that one exists by now (made by an item since removed from
// the list, by another window's queue, by anything after OK), so that two
// items never write into one folder. A name that is no folder name is never
// made.
struct ClaimedFolder {
    std::wstring label;
    std::wstring folder; // as the log names it
    bool made = false;   // false when it is no folder name or could not be made
};

ClaimedFolder claimResultFolder(const RunRequest& request)
{
    const std::wstring date = todayFolderName();
    const std::wstring dateFolder = fullPath(joinPath(request.outputRoot, date));
    createFolderPath(dateFolder);
    const std::wstring base = itemLabel(progress.typedLabel, request.inputPath);
    ClaimedFolder claimed{request.label};
    for (int number = 2; isValidFolderName(claimed.label); ++number) {
        claimed.folder = deriveOutputFolder(request.outputRoot, date, claimed.label);
        claimed.made = CreateDirectoryW(longPathForm(joinPath(dateFolder, claimed.label)).c_str(), nullptr) != FALSE;
        if (claimed.made || GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
        claimed.label = numberedLabel(base, number);
    }
    return claimed;
}

// Marks the item that was to run failed, with the reason in the log after
// its start line, so the log reads as for any run.
void failItem(const std::wstring& path, const std::wstring& reason)
{
    appendLog(std::wstring(uiText(T_LOG_START)) + path);
    appendLog(reason);
    if (QueueItem* item = runningItem(); item != nullptr) {
        item->state = ItemState::Failed;
    }
    ++progress.failed;
}

// Starts the next waiting item. An item that cannot run (its file has gone,
// its folder name is not allowed, its command line too long) fails with a
// log line and the queue goes on, since nobody may be there to answer a
// message box. An engine that cannot start at all ends the queue.
void startNextItem()
{
    while (const std::optional<size_t> next = nextWaiting(runQueue)) {
        QueueItem& item = runQueue.items[*next];
        item.state = ItemState::Running;
        progress.currentPath = item.path;
        RunRequest request{item.path, runQueue.outputRoot, item.label, runQueue.speakerCount, runQueue.makeClips};
        // Saving may take in a saved queue read late: the item is found by
        // its path from here on.
        showQueueProgress();
        saveQueue();
        refreshQueueList();
        if (pathKind(request.inputPath) != PathKind::File) {
            failItem(request.inputPath, uiText(T_ERR_NO_FILE));
            continue;
        }
        if (!planRunNow(request).fits) {
            failItem(request.inputPath, uiText(T_ERR_COMMAND_TOO_LONG));
            continue;
        }
        // Items added while the queue runs (or started unattended) were not
        // checked before it began, and a taken name's number may make it
        // too long.
        const ClaimedFolder claimed = claimResultFolder(request);
        request.label = claimed.label;
        if (!isValidFolderName(request.label)) {
            failItem(request.inputPath, fillPlaceholder(uiText(T_ERR_ITEM_NAME), request.inputPath));
            continue;
        }
        // The output root has gone or cannot be written: this item fails,
        // the rest are tried.
        if (!claimed.made) {
            failItem(request.inputPath, fillPlaceholder(uiText(T_MSG_OPEN_FAILED), claimed.folder));
            continue;
        }
        if (QueueItem* running = runningItem(); running != nullptr) {
            running->label = request.label;
        }
        const StartResult started = startRun(request);
        if (started == StartResult::Started) {
            return;
        }
        // Nothing was written there: the name is free again.
        RemoveDirectoryW(longPathForm(fullPath(claimed.folder)).c_str());
        if (started == StartResult::TooLong) {
            failItem(request.inputPath, uiText(T_ERR_COMMAND_TOO_LONG));
            continue;
        }
        appendLog(uiText(T_ERR_START));
        if (QueueItem* running = runningItem(); running != nullptr) {
            running->state = ItemState::Waiting;
        }
        progress.engineFailed = true;
        break;
    }
    endQueue();
}

void addExpandedPaths(const ExpandedPaths& expanded, bool quiet)
{
    bool boxShown = quiet; // unattended: the log only
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
        assignLabels(runQueue, progress.typedLabel, progress.taken);
        showQueueProgress();
    }
    saveQueue();
    refreshQueueList();
}

} // namespace

std::wstring queueFilePath()
{
    return executableDirectory() + L"\\queue.json";
}

void loadSavedQueue()
{
    if (!claimQueueFile()) {
        appendLog(fillPlaceholder(uiText(T_LOG_QUEUE_ELSEWHERE), queueFilePath()));
        return;
    }
    if (!takeInSavedQueue()) {
        appendLog(fillPlaceholder(uiText(T_LOG_QUEUE_UNREAD), queueFilePath()));
    }
    refreshQueueList();
}

void saveQueue()
{
    if (!queueFileOwned) {
        return;
    }
    takeInSavedQueueIfPending();
    if (savedQueueUnread) {
        return; // still out of reach: the log said so at start
    }
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

bool queueRunning()
{
    return progress.active;
}

bool startQueue(const QueueStart& start)
{
    const RunRequest& fields = start.fields;
    if (runState.running || progress.active) {
        return false;
    }
    takeInSavedQueueIfPending(); // its items are labelled with the rest
    if (!fields.inputPath.empty()) {
        switch (pathKind(fields.inputPath)) {
        case PathKind::Missing:
            showMessage(mainState.mainWindow, T_ERR_NO_FILE, MB_OK | MB_ICONWARNING);
            return false;
        case PathKind::File:
            // Whatever its type: a single run would take it too.
            addToQueue(runQueue, {longNamePath(fields.inputPath)});
            break;
        case PathKind::Folder: {
            // Read on a thread of its own; the queue starts once it is in.
            QueueStart later = start;
            later.fields.inputPath.clear();
            addToRunQueueLater({fields.inputPath}, {}, later);
            return true;
        }
        }
    }
    runQueue.outputRoot = fields.outputRoot;
    runQueue.speakerCount = fields.speakerCount;
    runQueue.makeClips = fields.makeClips;
    // Result folders of the day from before (an earlier queue, a restart, a
    // cleared list) are never shared either.
    std::vector<std::wstring> taken = namesIn(joinPath(fields.outputRoot, todayFolderName()));
    assignLabels(runQueue, fields.label, taken);
    saveQueue();
    refreshQueueList();
    std::vector<RunFolderName> folders;
    for (const QueueItem& item : runQueue.items) {
        if (item.state == ItemState::Waiting) {
            folders.push_back(RunFolderName{item.label, item.path});
        }
    }
    if (folders.empty()) {
        MessageBeep(MB_ICONWARNING); // nothing waits: Run again makes finished items wait
        return false;
    }
    if (start.unattended) {
        folders.clear(); // each is checked when its turn comes
    }
    if (!checkRunConditions(fields.label, folders, fields.outputRoot)) {
        return false;
    }
    progress = QueueProgress{};
    progress.active = true;
    progress.typedLabel = fields.label;
    progress.taken = std::move(taken);
    setBusy(true);
    startNextItem();
    return true;
}

void queueItemFinished(unsigned exitCode)
{
    if (QueueItem* item = runningItem(); item != nullptr) {
        // Cancel pressed after the engine had ended by itself (its last
        // lines still being shown) stops the queue, but the item keeps its
        // own result.
        if (runState.endedByCancel) {
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
    if (runState.cancelled) {
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
