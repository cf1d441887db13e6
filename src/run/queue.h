// The queue of recordings that run one after another: its rules, free of
// windows and files so they can be tested directly. The list control shows
// it; the launch runs one item at a time; queue.json keeps it across starts.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ItemState { Waiting, Running, Done, Failed, Cancelled, Interrupted };

struct QueueItem {
    std::wstring path;
    std::wstring label; // what the engine gets with --label; unique among the queue's items
    ItemState state = ItemState::Waiting;
    unsigned exitCode = 0;     // when failed
    std::wstring resultFolder; // when done (and while it runs: the folder claimed for it)
    std::wstring logFile;      // its run's log on disk, once it started
};

// What every item of a queue runs with: set when OK is pressed.
struct RunQueue {
    std::vector<QueueItem> items;
    std::wstring outputRoot;
    std::wstring typedLabel; // the name label typed at OK, which the items' labels begin with
    int speakerCount = 2;
    bool makeClips = false;
};

// As Windows compares paths: ordinal, ignoring case.
bool samePath(std::wstring_view left, std::wstring_view right);
// The form in which two paths that samePath finds equal are equal: upper
// case by the invariant table.
std::wstring pathKey(const std::wstring& path);

// A file the recording filter of the input picker lists.
bool isRecording(std::wstring_view path);

// In the order Explorer shows names: numbers by value ("2.wav" before
// "10.wav"), ignoring case.
void sortLikeExplorer(std::vector<std::wstring>& paths);

// A subfolder is entered unless it is another name for a folder somewhere
// else (a junction, a symbolic link, a mounted volume), which could lead
// back up; a reparse point that stands for the folder itself (a cloud
// folder whose files are kept online, say) is entered like any folder.
bool entersFolder(unsigned long attributes, unsigned long reparseTag);

// The recordings in a folder and its subfolders, as Explorer lists them
// (each folder's subfolders first, then its files, in Explorer's name
// order); hidden and system files and folders are left out. Files that are
// not recordings are counted in skipped; unreadable tells whether a folder
// could not be read.
struct FolderScan {
    std::vector<std::wstring> recordings;
    size_t skipped = 0;
    bool unreadable = false;
};
// found, when given, counts the recordings as they are found, for a
// window that shows the progress of a long reading.
FolderScan recordingsIn(const std::wstring& folder, std::atomic<size_t>* found = nullptr);

// The names of everything in a folder, nothing when it cannot be listed:
// the result folders of the day that exist already, which a queue's labels
// avoid.
std::vector<std::wstring> namesIn(const std::wstring& folder);

// What a drop, a pick or a command line gives, sorted out: the recordings
// (a folder's as above, in the order given), and what is told about the
// rest. Every path is made full first ("." and ".." resolved, against the
// current folder, short names made long), so one file given in two
// spellings is one recording.
// Touches the file system only, so it may run on any thread.
struct ExpandedPaths {
    std::vector<std::wstring> recordings;
    size_t skipped = 0;                  // files that are not recordings
    std::vector<std::wstring> missing;   // nothing there
    std::vector<std::wstring> tooLong;   // longer than a command line can carry
    std::vector<std::wstring> unreadable; // folders that could not be listed
    std::vector<std::wstring> empty;      // folders without recordings
};
ExpandedPaths expandPaths(const std::vector<std::wstring>& paths, size_t longestPath,
    std::atomic<size_t>* found = nullptr);

// Appends the files that are not queued yet, in their order, as waiting
// items; returns how many were added.
size_t addToQueue(RunQueue& queue, const std::vector<std::wstring>& files);

// The saved queue, read late (it could not be read at start), joins the
// queue: its items first, as they were there first, then the items added
// since; a file in both stays as the queue has it. An empty queue takes the
// saved one's output root, speaker count and clips too.
void takeInSaved(RunQueue& queue, RunQueue saved);

// An item's label: its stem, or "<typed>-<stem>" when a label was typed.
std::wstring itemLabel(std::wstring_view typed, std::wstring_view path);

// The label of a later item whose name is taken: "x (2)", "x (3)", ...
std::wstring numberedLabel(std::wstring_view base, int number);

// Gives the waiting items their labels, so that no two items of the queue
// (nor a name in taken: result folders of the day that exist already) share
// one: a later one gets " (2)", " (3)" and so on. Names compare as Windows
// compares folder names.
void assignLabels(RunQueue& queue, std::wstring_view typed, const std::vector<std::wstring>& taken);

// The first waiting item from the top, or none.
std::optional<size_t> nextWaiting(const RunQueue& queue);

// After a restart: the item that was running was interrupted.
void markInterrupted(RunQueue& queue);

// Failed, cancelled and interrupted items (and done ones too, when a command
// line names them) wait again; others stay as they are.
void runAgain(RunQueue& queue, const std::vector<size_t>& indexes, bool alsoDone = false);

// Removes the items at the indexes that are not running.
void removeItems(RunQueue& queue, std::vector<size_t> indexes);

// Removes done, failed and cancelled items.
void clearFinished(RunQueue& queue);

struct QueueSummary {
    size_t done = 0;
    size_t failed = 0;
    size_t cancelled = 0;
    size_t notRun = 0; // waiting or interrupted
};
QueueSummary summarize(const RunQueue& queue);

// queue.json: the items (path, label, state, exit code, result folder, log
// file) and what they run with; never any account value.
std::string queueToJson(const RunQueue& queue);

// A saved queue as read. An entry that is no item of a queue (no path, an
// unknown state, members of the wrong type) costs only itself: it is left
// out and counted, the first one named. A later entry for a recording that
// is there already (as Windows compares paths) is left out too, as adding
// it would. Choices of the wrong type or out of range read as the defaults.
struct SavedQueue {
    RunQueue queue;
    size_t leftOut = 0;
    std::wstring firstLeftOut;       // its path, when it had one
    size_t firstLeftOutPosition = 0; // counted from 1
};
// Nothing when the text is no such document at all (not JSON, no object, no
// list of items).
std::optional<SavedQueue> queueFromJson(std::string_view text);
