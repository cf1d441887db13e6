// The one queue between a run's output pump and its reader: the pump puts
// the engine's lines and then the run's end into it; the reader takes them
// on its own thread. Whenever the queue goes from unattended to holding
// something, the reader is told with one message posted to the window it
// named, never one message per line: a long burst must not fill the
// window's message queue (Windows refuses posts beyond 10,000 waiting
// messages).
#pragma once

#include "util/handles.h"

#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// One line of the log as the pump hands it over: stamped when shown, or the
// continuation of the stamped line before it (the rest of a very long line).
struct LogLine {
    std::wstring text;
    bool continuation = false;
};

struct OutputQueue {
    // The reader hears of new output through message, posted to window.
    OutputQueue(HWND window, UINT message);

    HWND window;
    UINT message;
    std::mutex lock;
    std::condition_variable room;
    std::deque<LogLine> lines;
    size_t units = 0; // of the lines' texts
    std::optional<unsigned> exitCode; // the run's end, after every line
    bool attended = false; // the reader will look again without being told
    bool closed = false;   // the reader has gone: the pump stops
    UniqueHandle gone = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
};

// The notification; replaceable so tests can make posting fail as a full
// message queue on Windows would.
using NotificationPoster = BOOL (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
extern NotificationPoster postNotification;

// The pump waits while this many lines, or this many UTF-16 units (8 MB),
// are queued and not taken, so a fast engine is slowed by its full pipe
// instead of filling memory. The units count for long lines, whose pieces
// are a thousand units each.
constexpr size_t MAX_WAITING_LINES = 100000;
constexpr size_t MAX_WAITING_UNITS = 4 * 1024 * 1024;

// Pump side. Moves the lines into the queue (waiting for room) and empties
// the vector; false when the reader has gone.
bool queueLines(OutputQueue& queue, std::vector<LogLine>& lines);
// The run's end with the engine's exit code; false when the reader has gone.
bool queueRunEnd(OutputQueue& queue, unsigned exitCode);

// Reader side. Takes up to most lines in order; the exit code once every
// line is taken. When nothing is left the queue is unattended again, so the
// next line brings a new notification.
struct TakenOutput {
    std::vector<LogLine> lines;
    std::optional<unsigned> exitCode;
    bool more = false; // lines are left
};
TakenOutput takeOutput(OutputQueue& queue, size_t most);

// The reader has gone: the pump stops at its next step.
void closeOutputQueue(OutputQueue& queue);
