// queue.json beside the executable: the queue across restarts and crashes.
// Free of windows: what the user should hear of it comes back as a log text.
#pragma once

#include "run/queue.h"
#include "util/handles.h"

#include <windows.h>

#include <optional>
#include <string>

// What this program knows of the file. Invariants: nothing is ever written
// to the file while unread is true or owned is false; lastWritten holds the
// bytes last read from or written to the file by this program.
struct QueueFile {
    // This window keeps the file; another window of the installation keeps
    // its queue in memory only, so that neither writes over the other's.
    // The claim is queue.lock beside the file, held open without sharing
    // it for writing and deleted when it closes (also when the program
    // ends some other way): it works across Windows sessions, users and the
    // PCs that share a network folder.
    bool owned = false;
    UniqueHandle claim;
    // The file was there but could not be read (another program held it):
    // its items join the queue as soon as it can be read.
    bool unread = false;
    std::string lastWritten;
    bool saveFailureTold = false; // a failed save is told once, until one works again
};

std::wstring queueFilePath();

std::wstring queueLockPath();

// The window that keeps the file, as its claim names it.
struct QueueOwner {
    DWORD processId = 0;
    HWND window = nullptr;
};
std::optional<QueueOwner> queueFileOwner();

// At start: claims the file for window and takes in its items, the item
// that was running marked interrupted (its claimed result folder removed
// when nothing was written into it). A broken file is kept aside as a
// numbered .bak. Returns a log text when there is something to tell: the
// file is another window's, it cannot be read now, or it was broken.
std::wstring loadQueueFile(QueueFile& file, RunQueue& queue, HWND window);

// A window that did not keep the file tries again (its owner may have
// gone): when it now keeps it, the saved items are taken in before its own
// and true is returned, with what there is to tell of the file in notice.
bool claimQueueFileAgain(QueueFile& file, RunQueue& queue, HWND window, std::wstring& notice);

// A file that could not be read before is read now if it can be, its items
// taken in before the queue's; true when that happened.
bool takeInIfPending(QueueFile& file, RunQueue& queue);

// Writes the queue with the configuration file's safe-save rules, never
// over a file that could not be read (takeInIfPending comes first) nor over
// a broken one whose bytes could not be kept first. Returns a log text the
// first time a save fails.
std::wstring saveQueueFile(QueueFile& file, const RunQueue& queue);
