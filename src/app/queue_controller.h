// The queue of recordings the window shows, kept in queue.json: recordings
// added (dropped, picked, given on the command line), edits from the list,
// and the item states the run controller reports. The list view reads it;
// every change goes through the functions here. All of it on the window's
// thread, except the reading of folders.
#pragma once

#include "app/run_controller.h"
#include "run/queue.h"

#include <optional>
#include <string>
#include <vector>

// Owned and written by queue_controller.cpp only. What holds: no two items
// share a path (as Windows compares paths); at most one item is Running,
// and only while the run controller runs it; the file is written after
// every change, when this window keeps it (queue_file.h).
extern const RunQueue& runQueue;

// At start: the saved queue, the item that was running marked interrupted;
// what there is to tell goes to the log.
void loadSavedQueue();

// The window is going (closed, or the session ends) while folders are
// still being read: the paths given are read here and now and join the
// queue, waiting, and the threads' late answers are ignored.
void keepWhatIsBeingRead();
// A save held back, or one waiting for a file another program held, now:
// the session ends, and the process with it.
void saveQueueIfPending();
// The window is going: the queue is forgotten, and so is the claim on its file.
void closeQueue();

// This window keeps queue.json; another one's list lives in memory only,
// and tries now and then to keep the file (claimQueueFileAgain, by timer):
// when the keeper has gone, its saved items are taken in before this
// window's own.
bool queueFileKept();
void claimQueueFileAgain();

// What a thread that read folders hands the window: the paths sorted out,
// and the start of the queue to make once they are in, if any.
struct PathsArrived {
    ExpandedPaths expanded;
    std::optional<QueueStart> thenStart;
    ExpandedPaths alsoAdded; // the start's bare paths, sorted out
    unsigned long long batch = 0; // which addToRunQueueLater it answers
};

// Adds files and the recordings of folders (with their subfolders), each
// once, the folders read on a thread of their own: the window receives
// WM_PATHS_EXPANDED with a PathsArrived and passes it to takeArrivedPaths
// (which then owns it). A lead file (the one the user put in the input
// field) goes first, whatever its type, when anything else is added. A
// folder without recordings, or one that cannot be read, is told in a
// message box (in the log only for an unattended start); files that are not
// recordings are counted in one log line. With a start to make, the
// window is busy until the folders are in (Cancel drops the start).
void addToRunQueueLater(std::vector<std::wstring> paths, std::wstring lead = {},
    std::optional<QueueStart> thenStart = {});
void takeArrivedPaths(PathsArrived* arrived);

// While folders are being read: how many recordings were found so far.
std::optional<size_t> recordingsBeingRead();

// The queue changed: saved, shown, and a running pass's title and taskbar follow.
void queueEdited();

// For the run controller's pass.
// A saved queue that could not be read before joins now if it can.
void takeInSavedQueueIfPending();
// Files already sorted out join the queue at once, each once (the input
// field's file at OK, whatever its type).
void addRecordingsNow(const std::vector<std::wstring>& files);
// Files and folders (read here and now) join the queue, waiting.
void addPathsNow(const std::vector<std::wstring>& paths);
// The pass's choices and labels for every waiting item (see assignLabels).
void prepareQueueItems(const RunRequest& fields, const std::vector<std::wstring>& taken);
// The items at these paths that wait, in this order.
std::vector<QueueItem> waitingItemsOf(const std::vector<std::wstring>& paths);
// The first of the paths whose item waits, now marked running; the paths up
// to it are taken off. None when no item of them waits.
std::optional<QueueItem> beginNextItem(std::vector<std::wstring>& paths);
// The running item at path: its label and the folder claimed for it, then
// how it ended (Waiting when it never started). False when no such item
// runs (the user removed it).
void setRunningItemLabel(const std::wstring& path, const std::wstring& label, const std::wstring& folder);
bool markRunningItem(const std::wstring& path, ItemState state, unsigned exitCode = 0,
    const std::wstring& resultFolder = {});
// The running item's log on disk, for its list's Open log.
void setRunningItemLog(const std::wstring& path, const std::wstring& logFile);
// After Windows restarted the program: interrupted items wait again; the
// paths of them, then of the items that waited already, in list order.
std::vector<std::wstring> resumableItems();
// Recordings named on a command line that finished before wait again; how
// many did.
size_t makeWaitAgain(const std::vector<std::wstring>& paths);
// Writes queue.json now, also when a save was held back a moment ago.
void saveQueueNow();

// For the list: the items at the indexes that are not running go; failed,
// cancelled and interrupted ones wait again; finished ones go.
void removeQueueItems(const std::vector<size_t>& indexes);
void runQueueItemsAgain(const std::vector<size_t>& indexes);
void clearFinishedQueueItems();
