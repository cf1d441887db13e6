#include "app/run_controller.h"

#include "app/log_pane.h"
#include "app/queue_controller.h"
#include "app/taskbar.h"
#include "app/window_state.h"
#include "run/output_queue.h"
#include "run/result_folder.h"
#include "text/catalogue.h"
#include "util/paths.h"

#include <algorithm>
#include <memory>

namespace {

RunState theRun;

// When Cancel last stopped a run (GetTickCount64).
ULONGLONG lastCancelAt = 0;
// A control a run disabled while it had the focus.
HWND focusBeforeRun = nullptr;

void refuse(const Refusal& refusal)
{
    const UINT flags = MB_OK | (refusal.error ? MB_ICONERROR : MB_ICONWARNING);
    if (refusal.value.empty()) {
        showMessage(mainState.mainWindow, refusal.text, flags);
    } else {
        showMessage(mainState.mainWindow, refusal.text, refusal.value, flags);
    }
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
    }
    appendLog(std::wstring(uiText(T_LOG_START)) + request.inputPath);
    appendLog(std::wstring(uiText(T_LBL_OUTPUT)) + L" " + theRun.outputFolder);
    readRunOutput(std::move(output));
    return StartResult::Started;
}

size_t finishedItems()
{
    return theRun.queue.done + theRun.queue.failed + theRun.queue.cancelled;
}

// The items of this pass: those finished, and those still to run (which the
// user may add to or remove from meanwhile).
size_t passTotal()
{
    const size_t left = static_cast<size_t>(std::count_if(runQueue.items.begin(), runQueue.items.end(),
        [](const QueueItem& item) { return item.state == ItemState::Waiting || item.state == ItemState::Running; }));
    return finishedItems() + left;
}

void endQueue()
{
    QueuePass& pass = theRun.queue;
    // Not run: what this pass left waiting, not what an earlier one left
    // interrupted.
    const size_t notRun = passTotal() - finishedItems();
    pass.active = false;
    appendLog(fillPlaceholders(uiText(T_LOG_QUEUE_SUMMARY),
        {std::to_wstring(pass.done), std::to_wstring(pass.failed), std::to_wstring(pass.cancelled),
            std::to_wstring(notRun)}));
    queueEdited();
    setBusy(false);
    SetWindowTextW(mainState.mainWindow, uiText(T_APP_TITLE));
    showRunOnTaskbar(
        mainState.mainWindow, pass.failed > 0 || pass.engineFailed ? RunProgress::Failed : RunProgress::Done);
    // One folder for the whole queue, not one per item.
    if (!pass.lastDateFolder.empty()) {
        openFolder(pass.lastDateFolder);
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

// Starts the next waiting item. An item that cannot run (its file has gone,
// its folder name is not allowed, its command line too long) fails with a
// log line and the queue goes on, since nobody may be there to answer a
// message box. An engine that cannot start at all ends the queue.
void startNextItem()
{
    QueuePass& pass = theRun.queue;
    while (const std::optional<QueueItem> next = beginNextItem()) {
        pass.currentPath = next->path;
        RunRequest request{next->path, runQueue.outputRoot, next->label, runQueue.speakerCount, runQueue.makeClips};
        queueEdited();
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
        const ClaimedFolder claimed = claimResultFolder(request, pass.typedLabel);
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
        setRunningItemLabel(request.inputPath, request.label);
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
        markRunningItem(request.inputPath, ItemState::Waiting);
        pass.engineFailed = true;
        break;
    }
    endQueue();
}

// A queue's item has ended: marked by how it ended.
void itemEnded(unsigned exitCode)
{
    QueuePass& pass = theRun.queue;
    // Cancel pressed after the engine had ended by itself (its last lines
    // still being shown) stops the queue, but the item keeps its own result.
    if (theRun.endedByCancel) {
        if (markRunningItem(pass.currentPath, ItemState::Cancelled)) {
            ++pass.cancelled;
        }
    } else if (exitCode == 0) {
        const std::wstring folder = fullPath(theRun.outputFolder);
        if (markRunningItem(pass.currentPath, ItemState::Done, 0, folder)) {
            pass.lastDateFolder = parentDirectory(folder);
            ++pass.done;
        }
    } else if (markRunningItem(pass.currentPath, ItemState::Failed, exitCode)) {
        ++pass.failed;
    }
    queueEdited();
}

} // namespace

const RunState& runState = theRun;

void setBusy(bool busy)
{
    static constexpr ControlIndex RUN_INPUTS[] = {
        CTL_OK, CTL_BROWSE_INPUT, CTL_SETTINGS, CTL_INPUT, CTL_OUTPUT, CTL_LABEL, CTL_SPEAKERS, CTL_CLIPS,
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
            // Whatever its type: a single run would take it too.
            addRecordingsNow({fields.inputPath});
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
    if (const std::optional<Refusal> refusal = checkRunConditions(fields.label, folders, fields.outputRoot)) {
        refuse(*refusal);
        return false;
    }
    theRun.queue = QueuePass{};
    theRun.queue.active = true;
    theRun.queue.unattended = start.unattended;
    theRun.queue.typedLabel = fields.label;
    theRun.queue.taken = std::move(taken);
    setBusy(true);
    startNextItem();
    return true;
}

bool queueRunning()
{
    return theRun.queue.active;
}

void runShown(unsigned exitCode)
{
    if (!theRun.running) {
        return;
    }
    releaseEngine(theRun.engine);
    theRun.running = false;
    if (exitCode != 0) {
        appendLog(fillPlaceholder(uiText(T_MSG_FAILED), exitCodeText(exitCode)));
    } else {
        appendLog(uiText(T_MSG_DONE));
    }
    if (theRun.queue.active) {
        itemEnded(exitCode);
        if (theRun.cancelled) {
            endQueue();
        } else {
            startNextItem();
        }
        return;
    }
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
            theRun.endedByCancel = engineStillRunning(theRun.engine);
            terminateEngine(theRun.engine);
            appendLog(uiText(T_MSG_CANCELLING));
        }
        lastCancelAt = GetTickCount64();
        return;
    }
    // A double click on Cancel that stopped a run must not close the window
    // too when the run has ended between the two clicks.
    if (lastCancelAt != 0 && GetTickCount64() - lastCancelAt < GetDoubleClickTime()) {
        return;
    }
    PostMessageW(mainState.mainWindow, WM_CLOSE, 0, 0);
}

void endRunForClose()
{
    terminateEngine(theRun.engine);
    releaseEngine(theRun.engine);
    theRun = RunState{};
    lastCancelAt = 0;
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
    if (!theRun.queue.active) {
        return;
    }
    showQueueOnTaskbar(mainState.mainWindow, finishedItems(), passTotal(), theRun.queue.failed > 0);
    SetWindowTextW(mainState.mainWindow, (queueTitlePrefix() + uiText(T_APP_TITLE)).c_str());
}

void openFolder(const std::wstring& folder)
{
    openResultFolder(folder, mainState.mainWindow, WM_OPEN_FAILED);
}

void tellOpenFailed(std::wstring* folder)
{
    const std::unique_ptr<std::wstring> owned(folder);
    appendLog(fillPlaceholder(uiText(T_MSG_OPEN_FAILED), *owned));
}
