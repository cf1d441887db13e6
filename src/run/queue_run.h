// The queue the window shows, and running it. Each item runs through the
// single run's start and end (launch.h); the queue only decides what to
// launch next once a run has ended. queue.json beside the executable keeps
// it across restarts and crashes. All of it on the window's thread.
#pragma once

#include "run/queue.h"
#include "run/run_request.h"

#include <optional>
#include <string>
#include <vector>

extern RunQueue runQueue;

std::wstring queueFilePath();

// At start: the saved queue, the item that was running marked interrupted.
// A broken file is kept aside as a numbered .bak, and the log says so; a
// file that cannot be read now (held by another program) is left alone and
// taken in at the first save that can read it. queue.json is one window's:
// another window of the same installation keeps its queue in memory only.
void loadSavedQueue();

// Writes the queue with the configuration file's safe-save rules; a failure
// is told in the log once, until a save works again.
void saveQueue();

// A start of the queue: OK pressed, or a command line that nobody may be
// there to answer (unattended: no message box then holds it up).
struct QueueStart {
    RunRequest fields;
    bool unattended = false;
};

// What a thread that read folders hands the window: the paths sorted out,
// and the start of the queue to make once they are in, if any.
struct PathsArrived {
    ExpandedPaths expanded;
    std::optional<QueueStart> thenStart;
};

// Adds files and the recordings of folders (with their subfolders), each
// once, the folders read on a thread of their own: the window receives
// WM_PATHS_EXPANDED with a PathsArrived and passes it to takeArrivedPaths
// (which then owns it). A lead file (the one the user put in the input
// field) goes first, whatever its type, when anything else is added. A
// folder without recordings, or one that cannot be read, is told in a
// message box (in the log only for an unattended start); files that are not
// recordings are counted in one log line.
void addToRunQueueLater(std::vector<std::wstring> paths, std::wstring lead = {},
    std::optional<QueueStart> thenStart = {});
void takeArrivedPaths(PathsArrived* arrived);

// A queue is running: between OK and its summary line.
bool queueRunning();

// OK with items in the queue: adds the input field's file, checks once what
// every item needs, and runs the waiting items top to bottom with the
// output root, speaker count and clips of the request. False when nothing
// started. A folder in the input field is read first, on its own thread;
// the queue then starts when its recordings are in. An unattended start
// checks the items' folder names without message boxes: an item whose
// name cannot be used fails alone when its turn comes.
bool startQueue(const QueueStart& start);

// The running item has ended (its lines are shown): marks it and goes on
// with the next one, or ends the queue after a cancel or the last item.
void queueItemFinished(unsigned exitCode);

// The user removed items or made them wait again: saved, shown, and the
// running queue's position and total follow.
void queueEdited();

// "(2/5) " while a queue runs, for the window's title.
std::wstring queueTitlePrefix();
