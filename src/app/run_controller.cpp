#include "app/run_controller.h"

#include "app/log_pane.h"
#include "app/queue_controller.h"
#include "app/queue_list.h"
#include "app/taskbar.h"
#include "app/controls.h"
#include "app/ids.h"
#include "app/window_state.h"
#include "run/output_queue.h"
#include "config/config.h"
#include "run/result_folder.h"
#include "text/catalogue.h"
#include "util/paths.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <unordered_set>
#include <utility>

namespace {

RunState theRun;

// A control a run disabled while it had the focus.
HWND focusBeforeRun = nullptr;

void refuse(const Refusal& refusal)
{
    showMessage(mainState.mainWindow, refusal.text, refusal.values, MB_OK | (refusal.error ? MB_ICONERROR : MB_ICONWARNING));
}

// The log files could not be written (a read-only installation): told once.
bool logsUnwritableTold = false;

std::wstring fileName(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// Work runs (a run, or a pass between its items too): the computer stays
// awake (unless keep_awake is false in the settings file), and Windows
// names the work when it is about to end the session.
void workGoesOn(const std::wstring& reason)
{
    theRun.workReason = reason;
    if (configFlag(loadConfig(), "keep_awake", true)) {
        keepAwake(theRun.awake, reason);
    }
    ShutdownBlockReasonCreate(mainState.mainWindow, reason.c_str());
}

void workEnded()
{
    letSleep(theRun.awake);
    theRun.workReason.clear();
    ShutdownBlockReasonDestroy(mainState.mainWindow);
}

// Starts a checked request: remembers the paths and choices, starts the
// engine with its output going to the log, and logs the start line and the
// output folder. Nothing is told when it could not start.
StartResult startRun(const RunRequest& request)
{
    rememberChoices(request);
    const LaunchPlan plan = planRunNow(request);
    auto output = std::make_shared<OutputQueue>(mainState.mainWindow, WM_RUN_OUTPUT);
    const StartResult started = startEngine(plan, output, theRun.engine);
    if (started != StartResult::Started) {
        return started;
    }
    theRun.running = true;
    theRun.cancelled = false;
    theRun.endedByCancel = false;
    theRun.outputFolder = plan.outputFolder;
    setBusy(true);
    if (!theRun.queue.active) {
        showRunOnTaskbar(mainState.mainWindow, RunProgress::Active);
        workGoesOn(fillPlaceholder(uiText(T_POWER_REASON_RUN), fileName(request.inputPath)));
    }
    // Its lines on disk too, in a file named as its result folder.
    SYSTEMTIME now;
    GetLocalTime(&now);
    theRun.runLog = openRunLog(logsFolder(), now, fileName(plan.outputFolder));
    if (theRun.runLog == nullptr && !logsUnwritableTold) {
        logsUnwritableTold = true; // once: the runs go on without
        appendLog(fillPlaceholder(uiText(T_LOG_NO_LOG_FILES), logsFolder()));
    }
    keepRunLogIn(theRun.runLog.get());
    appendLog(std::wstring(uiText(T_LOG_START)) + request.inputPath);
    if (theRun.runLog != nullptr) {
        appendLog(fillPlaceholder(uiText(T_LOG_FILE), theRun.runLog->path));
    }
    appendLog(std::wstring(uiText(T_LBL_OUTPUT)) + L" " + theRun.outputFolder);
    readRunOutput(std::move(output));
    return StartResult::Started;
}

// A run's last line, also its log file's.
void logRunEnd(unsigned exitCode)
{
    if (exitCode != 0) {
        appendLog(fillPlaceholder(uiText(T_MSG_FAILED), exitCodeText(exitCode)));
    } else {
        appendLog(uiText(T_MSG_DONE));
    }
}

size_t finishedItems()
{
    return theRun.queue.done + theRun.queue.failed + theRun.queue.cancelled;
}

// The items of this pass: those finished, the one starting or running, and
// those still to run (which the user may remove meanwhile).
size_t passTotal()
{
    const size_t running = static_cast<size_t>(std::count_if(runQueue.items.begin(), runQueue.items.end(),
        [](const QueueItem& item) { return item.state == ItemState::Running; }));
    if (theRun.queue.stopAfterThis) {
        return finishedItems() + running; // the rest waits for the next OK
    }
    return finishedItems() + running + theRun.queue.toRunWaiting;
}

// A run or a queue has just ended, or Cancel stopped one: an idle Cancel
// within this moment was meant for it and does not close the window.
ULONGLONG lastRunEndedAt = 0;
constexpr ULONGLONG CANCEL_MEANT_FOR_RUN_MS = 1500;

void endQueue()
{
    QueuePass& pass = theRun.queue;
    // Not run: what this pass left waiting (also after "Stop after this
    // recording"), not what an earlier one left interrupted.
    recountPass();
    const size_t notRun = pass.toRunWaiting;
    pass.active = false;
    pass.toRun.clear();
    lastRunEndedAt = GetTickCount64();
    const std::wstring summary = fillPlaceholders(uiText(T_LOG_QUEUE_SUMMARY),
        {std::to_wstring(pass.done), std::to_wstring(pass.failed), std::to_wstring(pass.cancelled),
            std::to_wstring(notRun)});
    appendLog(summary);
    saveQueueNow();
    refreshQueueList();
    setBusy(false);
    SetWindowTextW(mainState.mainWindow, uiText(T_APP_TITLE));
    const bool failure = pass.failed > 0 || pass.stoppedEarly;
    showRunOnTaskbar(mainState.mainWindow, failure ? RunProgress::Failed : RunProgress::Done);
    workEnded();
    UnregisterApplicationRestart();
    // Whoever left the queue to run alone hears of its end.
    if (GetForegroundWindow() != mainState.mainWindow) {
        showQueueNotice(mainState.mainWindow, mainState.icons.small.get(), uiText(T_APP_TITLE), summary, failure);
    }
    // One folder for the whole queue, not one per item.
    if (!pass.lastDateFolder.empty()) {
        openFolder(pass.lastDateFolder);
    }
    // Never after a queue the user cancelled or stopped after a recording,
    // or whose engine did not start.
    if (theRun.whenDone != WhenDone::Nothing && !pass.cancelledByUser && !pass.stopAfterThis && !pass.stoppedEarly) {
        theRun.countdownDue = true;
        PostMessageW(mainState.mainWindow, WM_WHEN_DONE, 0, 0);
    }
}

// The next step of the pass comes from the message loop, so the window
// answers (and a Cancel is seen) between two items even when many fail at
// once.
void postNextItem()
{
    if (!PostMessageW(mainState.mainWindow, WM_NEXT_ITEM, 0, 0)) {
        // Windows' message queue is full: the timer comes when there is room.
        SetTimer(mainState.mainWindow, NEXT_ITEM_TIMER_ID, USER_TIMER_MINIMUM, nullptr);
    }
}

// Marks the item that was to run failed, with the reason in the log after
// its start line, so the log reads as for any run.
void failItem(const std::wstring& path, const std::wstring& reason)
{
    appendLog(std::wstring(uiText(T_LOG_START)) + path);
    appendLog(reason);
    markRunningItem(path, ItemState::Failed);
    ++theRun.queue.failed;
}

// The folder an item claimed is removed again when it ended without a
// result and nothing was written into it, so that running it again does
// not go to "x (2)".
void removeIfEmpty(const std::wstring& folder)
{
    if (!folder.empty()) {
        RemoveDirectoryW(longPathForm(fullPath(folder)).c_str());
    }
}

// A queue's item has ended: marked by how it ended.
void itemEnded(unsigned exitCode)
{
    QueuePass& pass = theRun.queue;
    const std::wstring folder = fullPath(theRun.outputFolder);
    // Cancel pressed after the engine had ended by itself (its last lines
    // still being shown) stops the queue, but the item keeps its own result.
    if (theRun.endedByCancel) {
        removeIfEmpty(folder);
        if (markRunningItem(pass.currentPath, ItemState::Cancelled)) {
            ++pass.cancelled;
        }
    } else if (exitCode == 0 && pathKind(folder) != PathKind::Folder) {
        // The output folder was removed or renamed while the engine ran:
        // its results are not where the list would send the user.
        appendLog(fillPlaceholder(uiText(T_LOG_RESULT_GONE), folder));
        if (markRunningItem(pass.currentPath, ItemState::Failed, 0, folder)) {
            ++pass.failed;
        }
    } else if (exitCode == 0) {
        if (markRunningItem(pass.currentPath, ItemState::Done, 0, folder)) {
            pass.lastDateFolder = parentDirectory(folder);
            ++pass.done;
        }
    } else {
        removeIfEmpty(folder);
        if (markRunningItem(pass.currentPath, ItemState::Failed, exitCode)) {
            ++pass.failed;
        }
    }
    queueEdited();
}

// What stops a pass before it starts, or before an item: in a message box
// when someone pressed OK, in the log when a command line started it.
void refuseForPass(const Refusal& refusal, bool unattended)
{
    if (unattended) {
        appendLog(fillPlaceholders(uiText(refusal.text), refusal.values));
    } else {
        refuse(refusal);
    }
}

// Result folders go below the output folder's date folder: one that cannot
// be made there (the output folder is a file, on a drive that has gone, or
// read-only) would fail every item for the same reason.
std::optional<Refusal> checkOutputRoot(const std::wstring& outputRoot)
{
    const std::wstring date = fullPath(joinPath(outputRoot, todayFolderName()));
    // The date folder may be there already in a folder that has become
    // read-only: a folder is made in it, and removed again.
    const std::wstring probe = joinPath(date, L"~" + std::to_wstring(GetCurrentProcessId()) + L".probe");
    if (!createFolderPath(date)
        || (!CreateDirectoryW(longPathForm(probe).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)) {
        return Refusal{T_ERR_OUTPUT_UNUSABLE, {outputRoot}};
    }
    RemoveDirectoryW(longPathForm(probe).c_str());
    return std::nullopt;
}

// The items whose result folder names cannot be used, all of them named in
// one message box: the first few, and how many more.
Refusal unusableNames(const std::vector<std::wstring>& recordings, bool labelTyped)
{
    constexpr size_t NAMED = 5;
    if (recordings.size() == 1) {
        return Refusal{labelTyped ? T_ERR_ITEM_NAME : T_ERR_ITEM_NAME_NO_LABEL, {recordings.front()}};
    }
    std::wstring list;
    for (size_t index = 0; index < recordings.size() && index < NAMED; ++index) {
        list += L"\n" + recordings[index];
    }
    if (recordings.size() > NAMED) {
        list += L"\n" + fillPlaceholder(uiText(T_MORE_ITEMS), std::to_wstring(recordings.size() - NAMED));
    }
    return Refusal{labelTyped ? T_ERR_ITEM_NAMES : T_ERR_ITEM_NAMES_NO_LABEL, {std::to_wstring(recordings.size()), list}};
}

// Recordings that join the running pass at its end (handed over while it
// runs); each once.
void joinPass(const std::vector<std::wstring>& recordings)
{
    QueuePass& pass = theRun.queue;
    if (!pass.active) {
        return;
    }
    std::unordered_set<std::wstring> listed;
    for (const std::wstring& path : pass.toRun) {
        listed.insert(pathKey(path));
    }
    for (const std::wstring& path : recordings) {
        if (listed.insert(pathKey(path)).second) {
            pass.toRun.push_back(path);
        }
    }
    recountPass();
    showQueueProgress();
}

} // namespace

const RunState& runState = theRun;

void setBusy(bool busy)
{
    // The output folder's Browse too: a run's root is fixed when it starts.
    static constexpr ControlIndex RUN_INPUTS[] = {
        CTL_OK, CTL_BROWSE_INPUT, CTL_BROWSE_OUTPUT, CTL_SETTINGS, CTL_INPUT, CTL_OUTPUT, CTL_LABEL, CTL_SPEAKERS,
        CTL_CLIPS,
    };
    // A control that is disabled with the focus would leave the keyboard
    // nowhere: the focus waits in the log, where Enter and Esc do nothing,
    // and returns after the run.
    const HWND focus = GetFocus();
    if (busy) {
        for (const ControlIndex control : RUN_INPUTS) {
            if (focus != nullptr && focus == mainState.controls[control]) {
                focusBeforeRun = focus;
                SetFocus(mainState.controls[CTL_LOG]);
            }
        }
    }
    for (const ControlIndex control : RUN_INPUTS) {
        EnableWindow(mainState.controls[control], busy ? FALSE : TRUE);
    }
    // The menu's way to the settings, as the button's.
    updateMenuStates(mainState.menu);
    // Free again: what another start handed over meanwhile starts now.
    if (!busy && theRun.startLater) {
        PostMessageW(mainState.mainWindow, WM_START_LATER, 0, 0);
    }
    if (!busy && focusBeforeRun != nullptr) {
        if (focus == nullptr || focus == mainState.controls[CTL_LOG]) {
            SetFocus(focusBeforeRun);
        }
        focusBeforeRun = nullptr;
    }
}

bool launchRun(const RunRequest& request)
{
    if (theRun.running || theRun.queue.active) {
        return false;
    }
    std::optional<Refusal> refusal = checkInput(request.inputPath);
    if (!refusal) {
        refusal = checkRunConditions(request.label, {{runFolderName(request)}}, request.outputRoot);
    }
    if (refusal) {
        refuse(*refusal);
        return false;
    }
    if (const StartResult started = startRun(request); started != StartResult::Started) {
        refuse(started == StartResult::TooLong ? Refusal{T_ERR_COMMAND_TOO_LONG} : Refusal{T_ERR_START, {}, true});
        return false;
    }
    return true;
}

bool startQueue(const QueueStart& start)
{
    const RunRequest& fields = start.fields;
    if (theRun.running || theRun.queue.active) {
        return false;
    }
    takeInSavedQueueIfPending(); // its items are labelled with the rest
    if (!fields.inputPath.empty()) {
        switch (pathKind(fields.inputPath)) {
        case PathKind::Missing:
            showMessage(mainState.mainWindow, T_ERR_NO_FILE, MB_OK | MB_ICONWARNING);
            return false;
        case PathKind::File:
            // Whatever its type: a single run would take it too. One that is
            // in the list already and finished was asked for again.
            addRecordingsNow({fields.inputPath});
            if (makeWaitAgain({longNamePath(fields.inputPath)}) > 0) {
                queueEdited();
            }
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
    // Result folders of the day from before (an earlier queue, a restart, a
    // cleared list) are never shared either.
    std::vector<std::wstring> taken = namesIn(joinPath(fields.outputRoot, todayFolderName()));
    prepareQueueItems(fields, taken);
    std::vector<std::wstring> toRun;
    if (start.named) {
        toRun = start.recordings;
    } else {
        for (const QueueItem& item : runQueue.items) {
            if (item.state == ItemState::Waiting) {
                toRun.push_back(item.path);
            }
        }
    }
    std::vector<RunFolderName> folders;
    std::vector<std::wstring> badNames;
    for (const QueueItem& item : waitingItemsOf(toRun)) {
        folders.push_back(RunFolderName{item.label, item.path});
        if (!isValidFolderName(item.label)) {
            badNames.push_back(item.path);
        }
    }
    if (folders.empty()) {
        refuseForPass(Refusal{T_ERR_NOTHING_WAITS}, start.unattended);
        return false;
    }
    // Unattended, each item's name is checked when its turn comes (and
    // only that item fails); at OK every unusable name is told at once.
    std::optional<Refusal> refusal;
    if (!start.unattended && !badNames.empty() && (fields.label.empty() || isValidFolderName(fields.label))
        && fields.label.size() <= 255) {
        refusal = unusableNames(badNames, !fields.label.empty());
    } else {
        refusal = checkRunConditions(fields.label, start.unattended ? std::vector<RunFolderName>{} : folders,
            fields.outputRoot);
    }
    if (!refusal) {
        refusal = checkOutputRoot(fields.outputRoot);
    }
    if (refusal) {
        refuseForPass(*refusal, start.unattended);
        return false;
    }
    theRun.queue = QueuePass{};
    theRun.queue.active = true;
    theRun.queue.unattended = start.unattended;
    theRun.queue.toRun = std::move(toRun);
    theRun.queue.toRunWaiting = folders.size(); // the items of the pass, all waiting now
    // What another start handed over while this one read its folders runs
    // with it (a pass of every waiting item has it already).
    if (std::optional<QueueStart> waited = std::exchange(theRun.startLater, std::nullopt); waited && start.named) {
        joinPass(waited->recordings);
    }
    theRun.queue.typedLabel = fields.label;
    theRun.queue.taken = std::move(taken);
    setBusy(true);
    // An update restart of Windows brings the program back to go on with it
    // (crashes and hangs do not: a queue that makes it crash must not loop).
    RegisterApplicationRestart(L"--resume", RESTART_NO_CRASH | RESTART_NO_HANG);
    startNextItem();
    return true;
}

void startNextItem()
{
    KillTimer(mainState.mainWindow, NEXT_ITEM_TIMER_ID);
    QueuePass& pass = theRun.queue;
    if (!pass.active || theRun.running) {
        return;
    }
    if (pass.stopRequested || pass.stopAfterThis) {
        endQueue();
        return;
    }
    const std::optional<QueueItem> next = beginNextItem(pass.toRun);
    if (!next) {
        endQueue();
        return;
    }
    pass.currentPath = next->path;
    pass.toRunWaiting -= std::min<size_t>(pass.toRunWaiting, 1);
    RunRequest request{next->path, runQueue.outputRoot, next->label, runQueue.speakerCount, runQueue.makeClips};
    queueEdited();
    // An item that cannot run (its file has gone, its folder name is not
    // allowed, its command line too long) fails with a log line and the
    // pass goes on, since nobody may be there to answer a message box.
    if (pathKind(request.inputPath) != PathKind::File) {
        failItem(request.inputPath, uiText(T_ERR_NO_FILE));
        postNextItem();
        return;
    }
    if (!planRunNow(request).fits) {
        failItem(request.inputPath, uiText(T_ERR_COMMAND_TOO_LONG));
        postNextItem();
        return;
    }
    // Items added while the queue runs (or started unattended) were not
    // checked before it began, and a taken name's number may make it
    // too long.
    const ClaimedFolder claimed = claimResultFolder(request, pass.typedLabel);
    request.label = claimed.label;
    if (!isValidFolderName(request.label)) {
        failItem(request.inputPath, fillPlaceholder(uiText(pass.typedLabel.empty() ? T_ERR_ITEM_NAME_NO_LABEL : T_ERR_ITEM_NAME),
            request.inputPath));
        postNextItem();
        return;
    }
    if (!claimed.made) {
        // The output folder went away or became unusable since OK: every
        // item after this one would fail the same way, so the pass stops
        // and they wait for the next OK.
        appendLog(fillPlaceholder(uiText(T_ERR_OUTPUT_UNUSABLE), runQueue.outputRoot));
        markRunningItem(request.inputPath, ItemState::Waiting);
        pass.toRun.insert(pass.toRun.begin(), request.inputPath); // not run: counted as such
        ++pass.toRunWaiting;
        pass.stoppedEarly = true;
        endQueue();
        return;
    }
    setRunningItemLabel(request.inputPath, request.label, fullPath(claimed.folder));
    const StartResult started = startRun(request);
    if (started == StartResult::Started) {
        if (theRun.runLog != nullptr) {
            setRunningItemLog(request.inputPath, theRun.runLog->path);
        }
        showQueueProgress();
        return;
    }
    // Nothing was written there: the name is free again.
    removeIfEmpty(claimed.folder);
    if (started == StartResult::TooLong) {
        failItem(request.inputPath, uiText(T_ERR_COMMAND_TOO_LONG));
        postNextItem();
        return;
    }
    // An engine that cannot start at all ends the pass; the rest wait.
    appendLog(uiText(T_ERR_START));
    markRunningItem(request.inputPath, ItemState::Waiting);
    pass.toRun.insert(pass.toRun.begin(), request.inputPath);
    ++pass.toRunWaiting;
    pass.stoppedEarly = true;
    endQueue();
}

void startWhenFree(const QueueStart& start)
{
    if (theRun.queue.active) {
        joinPass(start.recordings);
    } else if (runBusy()) {
        if (!theRun.startLater) {
            theRun.startLater = start;
        } else {
            std::vector<std::wstring>& waiting = theRun.startLater->recordings;
            waiting.insert(waiting.end(), start.recordings.begin(), start.recordings.end());
        }
    } else {
        startQueue(start); // unattended: a refusal is told in the log
    }
}

void startWhatWaited()
{
    if (!theRun.startLater || runBusy()) {
        return; // it is posted again when the window is free
    }
    const QueueStart waited = std::move(*theRun.startLater);
    theRun.startLater.reset();
    startQueue(waited);
}

bool queueRunning()
{
    return theRun.queue.active;
}

bool runBusy()
{
    return theRun.running || theRun.queue.active || theRun.startPending;
}

void beginPendingStart()
{
    theRun.startPending = true;
    setBusy(true);
}

bool takePendingStart()
{
    const bool wanted = theRun.startPending;
    theRun.startPending = false;
    return wanted;
}

void recountPass()
{
    if (theRun.queue.active) {
        theRun.queue.toRunWaiting = waitingItemsOf(theRun.queue.toRun).size();
    }
}

void runShown(unsigned exitCode)
{
    if (!theRun.running) {
        return;
    }
    releaseEngine(theRun.engine);
    theRun.running = false;
    logRunEnd(exitCode);
    // The file ends with the run's last line; its thread writes the rest.
    keepRunLogIn(nullptr);
    theRun.runLog.reset();
    if (theRun.queue.active) {
        itemEnded(exitCode);
        if (theRun.cancelled || theRun.queue.stopAfterThis) {
            endQueue();
        } else {
            postNextItem();
        }
        return;
    }
    lastRunEndedAt = GetTickCount64();
    workEnded();
    setBusy(false);
    showRunOnTaskbar(mainState.mainWindow, exitCode == 0 ? RunProgress::Done : RunProgress::Failed);
    if (exitCode == 0 && !theRun.outputFolder.empty()) {
        openFolder(theRun.outputFolder);
    }
}

void cancelOrClose()
{
    if (theRun.running && theRun.engine.process != nullptr) {
        // A second click finds the engine ended by the first: nothing more to do.
        if (!theRun.cancelled) {
            theRun.cancelled = true; // a queue stops after this item
            theRun.queue.cancelledByUser = theRun.queue.active;
            theRun.endedByCancel = engineStillRunning(theRun.engine);
            terminateEngine(theRun.engine);
            appendLog(uiText(T_MSG_CANCELLING));
        }
        lastRunEndedAt = GetTickCount64();
        return;
    }
    if (theRun.startPending) {
        // OK or a command line waits for its folders: the start is dropped,
        // the recordings still join the list.
        theRun.startPending = false;
        appendLog(uiText(T_MSG_CANCELLING));
        setBusy(false);
        lastRunEndedAt = GetTickCount64();
        return;
    }
    if (theRun.queue.active) {
        // Between two items: the next one does not start.
        if (!theRun.queue.stopRequested) {
            theRun.queue.stopRequested = true;
            theRun.queue.cancelledByUser = true;
            appendLog(uiText(T_MSG_CANCELLING));
        }
        lastRunEndedAt = GetTickCount64();
        return;
    }
    // A click meant for a run that has just ended (a double click on Cancel,
    // or a click that reached a window busy with the end of a queue) must
    // not close the window too.
    if (lastRunEndedAt != 0
        && GetTickCount64() - lastRunEndedAt < std::max<ULONGLONG>(GetDoubleClickTime(), CANCEL_MEANT_FOR_RUN_MS)) {
        return;
    }
    PostMessageW(mainState.mainWindow, WM_CLOSE, 0, 0);
}

namespace {

// The window goes (closed, or the session ends) during a run. An engine
// that had ended by itself keeps its result: its last lines are kept now,
// not shown, and the run ends as it would have. One still running is ended,
// the log's last line says why, and its item is interrupted, its folder
// gone if the engine wrote nothing there (so that running it again uses the
// same name). Returns whether a run was going on.
bool endRunAsWindowGoes(TextId whyStopped)
{
    if (!theRun.running) {
        terminateEngine(theRun.engine);
        releaseEngine(theRun.engine);
        return false;
    }
    const bool stillRunning = engineStillRunning(theRun.engine);
    terminateEngine(theRun.engine);
    const std::optional<unsigned> ended = stillRunning ? std::nullopt : keepOutputNow(2000);
    if (ended) {
        logRunEnd(*ended);
        if (theRun.queue.active) {
            itemEnded(*ended);
        }
    } else {
        appendLog(uiText(whyStopped));
        if (theRun.queue.active) {
            removeIfEmpty(theRun.outputFolder);
            markRunningItem(theRun.queue.currentPath, ItemState::Interrupted);
        }
    }
    keepRunLogIn(nullptr);
    if (theRun.runLog != nullptr) {
        flushRunLogNow(*theRun.runLog);
    }
    releaseEngine(theRun.engine);
    theRun.running = false;
    return true;
}

} // namespace

void endRunForClose()
{
    const bool queueWasActive = theRun.queue.active;
    if (endRunAsWindowGoes(T_LOG_CLOSED_DURING_RUN) && queueWasActive) {
        saveQueueNow();
    }
    if (queueWasActive) {
        UnregisterApplicationRestart();
    }
    workEnded();
    KillTimer(mainState.mainWindow, NEXT_ITEM_TIMER_ID);
    theRun = RunState{};
    lastRunEndedAt = 0;
    focusBeforeRun = nullptr;
}

std::wstring queueTitlePrefix()
{
    if (!theRun.queue.active) {
        return {};
    }
    const size_t total = passTotal();
    const size_t position = std::min(total, finishedItems() + 1);
    return L"(" + std::to_wstring(position) + L"/" + std::to_wstring(total) + L") ";
}

void showQueueProgress()
{
    const QueuePass& pass = theRun.queue;
    if (!pass.active) {
        return;
    }
    const bool stopping = pass.stopAfterThis || pass.stopRequested || theRun.cancelled;
    showQueueOnTaskbar(mainState.mainWindow, finishedItems(), passTotal(), pass.failed > 0, stopping);
    SetWindowTextW(mainState.mainWindow, (queueTitlePrefix() + uiText(T_APP_TITLE)).c_str());
    const size_t total = passTotal();
    const std::wstring reason = fillPlaceholders(uiText(T_POWER_REASON_QUEUE),
        {std::to_wstring(std::min(total, finishedItems() + 1)), std::to_wstring(total)});
    if (reason != theRun.workReason) {
        workGoesOn(reason);
    }
}

FolderOpener folderOpener = openResultFolder;

void openFolder(const std::wstring& folder)
{
    folderOpener(folder, mainState.mainWindow, WM_OPEN_FAILED);
}

void tellOpenFailed(std::wstring* folder)
{
    const std::unique_ptr<std::wstring> owned(folder);
    appendLog(fillPlaceholder(uiText(T_MSG_OPEN_FAILED), *owned));
}

void sessionMayEnd()
{
    if (!theRun.workReason.empty()) {
        ShutdownBlockReasonCreate(mainState.mainWindow, theRun.workReason.c_str());
    }
}

void endSession()
{
    const bool queueWasActive = theRun.queue.active;
    endRunAsWindowGoes(T_LOG_SESSION_END);
    // Nothing more starts, and no countdown: the window closes now. The
    // restart registration stays, so Windows brings the program back to go
    // on with the queue.
    theRun.queue.active = false;
    theRun.countdownDue = false;
    KillTimer(mainState.mainWindow, NEXT_ITEM_TIMER_ID);
    if (queueWasActive) {
        saveQueueNow();
    } else {
        saveQueueIfPending();
    }
}

void resumeQueue()
{
    std::vector<std::wstring> paths = resumableItems();
    if (paths.empty()) {
        return;
    }
    appendLog(uiText(T_LOG_RESUMED));
    QueueStart start;
    start.fields = RunRequest{L"", runQueue.outputRoot, runQueue.typedLabel, runQueue.speakerCount, runQueue.makeClips};
    start.unattended = true;
    start.named = true;
    start.recordings = std::move(paths);
    startQueue(start);
}

void toggleStopAfterThis()
{
    QueuePass& pass = theRun.queue;
    if (!pass.active) {
        return;
    }
    pass.stopAfterThis = !pass.stopAfterThis;
    appendLog(uiText(pass.stopAfterThis ? T_LOG_STOP_AFTER : T_LOG_GO_ON));
    showQueueProgress();
}

void chooseWhenDone(WhenDone what)
{
    theRun.whenDone = what;
}

namespace {

constexpr int COUNTDOWN_SECONDS = 60;
constexpr int ACT_NOW = 100;

// The countdown's box while it is open.
HWND countdownBox = nullptr;

HRESULT CALLBACK countdownCallback(HWND box, UINT notification, WPARAM wParam, LPARAM, LONG_PTR data)
{
    const WhenDone what = static_cast<WhenDone>(data);
    const auto text = [what](int seconds) {
        return fillPlaceholder(uiText(what == WhenDone::Sleep ? T_COUNTDOWN_SLEEP : T_COUNTDOWN_SHUT_DOWN),
            std::to_wstring(seconds));
    };
    if (notification == TDN_CREATED) {
        countdownBox = box;
        SendMessageW(box, TDM_SET_PROGRESS_BAR_RANGE, 0, MAKELPARAM(0, COUNTDOWN_SECONDS));
    } else if (notification == TDN_DESTROYED) {
        countdownBox = nullptr;
    } else if (notification == TDN_TIMER) {
        const int left = COUNTDOWN_SECONDS - static_cast<int>(wParam / 1000);
        if (left <= 0) {
            SendMessageW(box, TDM_CLICK_BUTTON, ACT_NOW, 0);
            return S_OK;
        }
        SendMessageW(box, TDM_SET_PROGRESS_BAR_POS, COUNTDOWN_SECONDS - left, 0);
        SendMessageW(box, TDM_SET_ELEMENT_TEXT, TDE_CONTENT, reinterpret_cast<LPARAM>(text(left).c_str()));
    }
    return S_OK;
}

} // namespace

void stopCountdown()
{
    if (countdownBox != nullptr) {
        PostMessageW(countdownBox, TDM_CLICK_BUTTON, IDCANCEL, 0);
    } else if (theRun.countdownDue) {
        // Its message is on the way: it finds nothing to do.
        theRun.countdownDue = false;
        KillTimer(mainState.mainWindow, WHEN_DONE_TIMER_ID);
        appendLog(uiText(T_LOG_STAYS_ON));
    }
}

void countDownWhenDone()
{
    if (!theRun.countdownDue) {
        return;
    }
    // A box of the window's is open (the question before closing, say):
    // the countdown waits for it, never opens over it.
    if (!IsWindowEnabled(mainState.mainWindow)) {
        SetTimer(mainState.mainWindow, WHEN_DONE_TIMER_ID, 250, nullptr);
        return;
    }
    KillTimer(mainState.mainWindow, WHEN_DONE_TIMER_ID);
    theRun.countdownDue = false;
    const WhenDone what = theRun.whenDone;
    if (what == WhenDone::Nothing || runBusy()) {
        return;
    }
    const std::wstring first = fillPlaceholder(
        uiText(what == WhenDone::Sleep ? T_COUNTDOWN_SLEEP : T_COUNTDOWN_SHUT_DOWN), std::to_wstring(COUNTDOWN_SECONDS));
    const TASKDIALOG_BUTTON buttons[] = {{ACT_NOW, uiText(what == WhenDone::Sleep ? T_BTN_SLEEP_NOW : T_BTN_SHUT_DOWN_NOW)}};
    TASKDIALOGCONFIG config = {};
    config.cbSize = sizeof config;
    config.hwndParent = mainState.mainWindow;
    config.hInstance = mainState.instance;
    config.dwFlags = TDF_CALLBACK_TIMER | TDF_SHOW_PROGRESS_BAR | TDF_ALLOW_DIALOG_CANCELLATION
        | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
    config.pszWindowTitle = uiText(T_APP_TITLE);
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszContent = first.c_str();
    config.cButtons = 1;
    config.pButtons = buttons;
    config.nDefaultButton = IDCANCEL; // a key pressed by chance keeps the computer on
    config.pfCallback = countdownCallback;
    config.lpCallbackData = static_cast<LONG_PTR>(what);
    int pressed = IDCANCEL;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr)) || pressed != ACT_NOW) {
        appendLog(uiText(T_LOG_STAYS_ON));
        return;
    }
    appendLog(uiText(what == WhenDone::Sleep ? T_LOG_SLEEPING : T_LOG_SHUTTING_DOWN));
    if (!performWhenDone(what)) {
        appendLog(uiText(T_LOG_WHEN_DONE_REFUSED));
    }
}
