// A run's log kept on disk: every line as the log shows it, in a file of
// its own under logs\ beside the executable, so that what the engine said
// outlives the window. UTF-8 with CR LF, as Save log writes. A thread of the
// file's own writes and flushes what came at most about a second behind
// (never the window's thread, whose disk may be slow), so a crash or a power
// cut loses at most that.
#pragma once

#include "util/handles.h"

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

// What the run and the file's thread share; freed by whichever lets go last.
struct RunLogWriting {
    UniqueHandle file;
    std::mutex lock;
    std::condition_variable wake;
    std::string waiting;     // bytes not written yet
    bool closing = false;    // the run has ended: write the rest and stop
    bool flushNow = false;   // the session ends: write and flush at once
    bool flushed = false;    // answered flushNow
};

struct RunLogFile {
    std::wstring path;
    std::shared_ptr<RunLogWriting> writing;
};

// Closes the file the usual way: the thread writes what waits, flushes and
// closes it; the window does not wait for that.
struct RunLogCloser {
    void operator()(RunLogFile* log) const noexcept;
};
using RunLog = std::unique_ptr<RunLogFile, RunLogCloser>;

// Where run logs go: logs\ beside the executable.
std::wstring logsFolder();

// "2026-12-10 101500 talk.log": the local time a run started and its
// label as its result folder spells it.
std::wstring runLogName(const SYSTEMTIME& started, const std::wstring& label);

// Opens a new file in folder, named as above, never over an existing one
// (" (2)" and so on before ".log" when that name is taken), and keeps the
// folder bounded (pruneLogs). Null when the folder cannot be written.
RunLog openRunLog(const std::wstring& folder, const SYSTEMTIME& started, const std::wstring& label);

// A shown line's UTF-8 bytes (its CR LF included) for the file.
void writeToRunLog(RunLogFile& log, std::string_view bytes);

// Everything so far to the disk now (the session is ending); waits at most
// a few seconds.
void flushRunLogNow(RunLogFile& log);

// The program ends: the files of runs that ended are written whole first
// (waiting at most timeoutMs).
void waitForRunLogs(DWORD timeoutMs);

// The oldest *.log files of the folder go (by name, which starts with the
// time) while more than keepFiles are there or they hold more than keepBytes
// together; the file named except stays.
constexpr size_t KEPT_LOG_FILES = 1000;
constexpr uint64_t KEPT_LOG_BYTES = 200ull * 1024 * 1024;
void pruneLogs(const std::wstring& folder, size_t keepFiles, uint64_t keepBytes, const std::wstring& except);
