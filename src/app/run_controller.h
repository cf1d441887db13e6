// "A run": one engine at a time, started for a single recording or for an
// item of the queue, and the one place where its end is decided (runShown).
// The controls' busy state, the title's and the taskbar's progress follow
// it. All of it on the window's thread.
#pragma once

#include "run/keep_awake.h"
#include "run/launch.h"
#include "run/run_log_file.h"
#include "run/run_request.h"
#include "run/when_done.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// One pass over the queue: from OK (or a command line) with recordings in
// the queue to its summary line. It runs the items of toRun in that order,
// one at a time, each started from a message of its own so that the window
// answers between them; an item that has gone from the list or no longer
// waits by its turn is passed over.
struct QueuePass {
    bool active = false;
    bool unattended = false;    // started from a command line: no message box may hold it up
    std::vector<std::wstring> toRun; // paths of the items still to start, in order
    size_t toRunWaiting = 0;    // how many of them wait (counted at the start and after edits)
    std::wstring currentPath;   // the running item, found by path: items above it may be removed meanwhile
    size_t done = 0;
    size_t failed = 0;
    size_t cancelled = 0;
    std::wstring lastDateFolder;     // of the last item that succeeded
    std::wstring typedLabel;         // the label it runs with
    std::vector<std::wstring> taken; // names in the day's folder before it began
    bool stopRequested = false;      // Cancel between two items
    bool cancelledByUser = false;    // Cancel stopped it
    bool stopAfterThis = false;      // "Stop after this recording": the running item is the last
    bool stoppedEarly = false;       // it stopped because the engine or the output folder could not be used
};

// A start of the queue: OK pressed, or a command line that nobody may be
// there to answer (unattended: no message box then holds it up, the log
// tells instead). A named start runs exactly the recordings given, in their
// order (a command line's); otherwise every item waiting at the start runs,
// top to bottom.
struct QueueStart {
    RunRequest fields;
    bool unattended = false;
    bool named = false;
    std::vector<std::wstring> recordings; // a named start's, once its folders are read
    std::vector<std::wstring> alsoAdded;  // a command line's bare paths: read with it, only added
    // Another start handed it to this window: it waits for no box and holds
    // no one else up; it joins the pass that runs, or starts once the
    // window is free (startWhenFree).
    bool handedOver = false;
};

// The active run and the queue's pass. Owned and written by
// run_controller.cpp only. What holds:
// - running is true from a successful start of the engine until every line
//   of that run is shown (runShown); engine holds the process exactly then;
// - cancelled and endedByCancel belong to the running run: cleared at each
//   start, set by Cancel;
// - while queue.active, the run inputs stay disabled, also between items;
//   every run started meanwhile is the item at queue.currentPath.
struct RunState {
    bool running = false;
    EngineRun engine;
    bool cancelled = false;     // Cancel was pressed: a queue stops after this run
    // Cancel ended the engine while it still ran: its exit code says nothing
    // of the recording. (An engine that had ended by itself keeps its result.)
    bool endedByCancel = false;
    std::wstring outputFolder;  // where the most recently started run's results are expected
    // A queue start waits for its folders to be read (OK with a folder in
    // the input field, a command line): busy already, and Cancel drops it.
    bool startPending = false;
    RunLog runLog;              // the running run's log on disk (null when none could be made)
    // Handed-over recordings that wait for the single run or the start
    // before them: they start as soon as the window is free, or join the
    // pass that start begins.
    std::optional<QueueStart> startLater;
    QueuePass queue;
    // While a run or a pass is active: the computer stays awake, and Windows
    // names the work when it is about to end the session.
    KeepAwake awake;
    std::wstring workReason;
    WhenDone whenDone = WhenDone::Nothing; // what the computer does when a pass is done
    // A pass ended as asked and its countdown is still to come: until then,
    // work handed over or a box of the window's puts it off or ends it.
    bool countdownDue = false;
};

extern const RunState& runState;

// A single run of the request (the window's fields): checks the input and
// what a run needs, telling the user in a message box when something fails.
// Refuses silently while a run or a queue is active. True when the engine runs.
bool launchRun(const RunRequest& request);

// OK with items in the queue: adds the input field's file, checks once what
// every item needs (the output folder among it), and runs the pass with the
// output root, speaker count and clips of the request. False when nothing
// started. A folder in the input field is read first, on its own thread;
// the queue then starts when its recordings are in. An unattended start
// checks the items' folder names without message boxes: an item whose
// name cannot be used fails alone when its turn comes.
bool startQueue(const QueueStart& start);

// WM_NEXT_ITEM: the pass goes on with its next item, or ends.
void startNextItem();

// A handed-over start whose recordings are read: joins the running pass,
// waits for the window to be free (a single run, another start reading its
// folders), or starts now.
void startWhenFree(const QueueStart& start);
// WM_START_LATER: the window is free, and what waited starts.
void startWhatWaited();

// A queue's pass is active: between its start and its summary line.
bool queueRunning();

// A run or a queue's pass is active, or a start waits for its folders:
// the run inputs are disabled.
bool runBusy();

// A queue start waits for its folders to be read: busy from now on.
void beginPendingStart();
// The folders are in: true when the start is still wanted (Cancel drops it).
bool takePendingStart();

// The user changed the list during a pass: its count of what is left follows.
void recountPass();

// Every line of the run is shown: the one place where a run ends. Logs
// "Done." or the failure with its exit code; then a single run goes idle and
// opens its result folder, while a queue's item is marked and the pass goes
// on with its next item or ends with its summary.
void runShown(unsigned exitCode);

// The Cancel button: stops the active run (and with it the queue's pass,
// also between two items); while idle it closes the window, except within a
// moment of a run's or a queue's end, or of a Cancel that stopped one (the
// click was meant for the run).
void cancelOrClose();

// The window is closing: ends the engine and everything it started.
void endRunForClose();

// Windows asks whether the session may end: while work runs it is told
// what runs (it shows it to the user), and the session may end.
void sessionMayEnd();
// The session ends (a restart for an update, say): within Windows' few
// seconds the engine is ended as Cancel does, the running item is marked
// interrupted, queue.json saved and the run's log file written whole. A
// pass comes back after the restart (--resume: resumeQueue).
void endSession();

// --resume: the interrupted item runs again, then the waiting ones, with
// the choices they were queued with; nothing else starts by itself.
void resumeQueue();

// "Stop after this recording": the running item finishes and the rest of
// the pass waits; chosen again, the pass goes on.
void toggleStopAfterThis();

// What the computer does when a pass is done; not remembered across starts.
void chooseWhenDone(WhenDone what);
// WM_WHEN_DONE: after a pass that ended as asked (not cancelled, the engine
// started), a box counts down before the computer sleeps or shuts down;
// its Cancel keeps the computer on.
void countDownWhenDone();
// Someone is there after all (they handed the window work): an open
// countdown ends as if its Cancel were pressed.
void stopCountdown();

// Disables the inputs of a run while it is active; Cancel stays enabled.
void setBusy(bool busy);

// "(2/5) " while a queue runs, for the window's title.
std::wstring queueTitlePrefix();

// The queue's items changed while a pass may be active: title and taskbar follow.
void showQueueProgress();

// Creates the folder if it is missing and opens it in the file manager,
// without holding up the window; a failure comes back as WM_OPEN_FAILED.
void openFolder(const std::wstring& folder);

// How folders are opened (openResultFolder); replaceable so that tests in
// this program's own desktop open no file manager.
using FolderOpener = void (*)(const std::wstring& folder, HWND window, UINT failedMessage);
extern FolderOpener folderOpener;

// The log line for a folder that could not be opened; takes over the folder
// that came with WM_OPEN_FAILED.
void tellOpenFailed(std::wstring* folder);
