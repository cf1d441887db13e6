// queue.json beside the executable: the queue across restarts and crashes.
// Free of windows: what the user should hear of it comes back as a log text.
#pragma once

#include "run/queue.h"
#include "util/handles.h"

#include <string>

// What this program knows of the file. Invariants: nothing is ever written
// to the file while unread is true or owned is false; lastWritten holds the
// bytes last read from or written to the file by this program.
struct QueueFile {
    // This window keeps the file; another window of the installation keeps
    // its queue in memory only, so that neither writes over the other's.
    bool owned = false;
    UniqueHandle claim;
    // The file was there but could not be read (another program held it):
    // its items join the queue as soon as it can be read.
    bool unread = false;
    std::string lastWritten;
    bool saveFailureTold = false; // a failed save is told once, until one works again
};

std::wstring queueFilePath();

// At start: claims the file and takes in its items, the item that was
// running marked interrupted. A broken file is kept aside as a numbered
// .bak. Returns a log text when there is something to tell: the file is
// another window's, it cannot be read now, or it was broken.
std::wstring loadQueueFile(QueueFile& file, RunQueue& queue);

// A file that could not be read before is read now if it can be, its items
// taken in before the queue's; true when that happened.
bool takeInIfPending(QueueFile& file, RunQueue& queue);

// Writes the queue with the configuration file's safe-save rules, never
// over a file that could not be read (takeInIfPending comes first) nor over
// a broken one whose bytes could not be kept first. Returns a log text the
// first time a save fails.
std::wstring saveQueueFile(QueueFile& file, const RunQueue& queue);
