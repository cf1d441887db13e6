// How the engine's lines travel from the pump to the log.
//
// The pump posts WM_RUN_OUTPUT once per read, with a heap OutputBatch of the
// complete lines that read finished, in order; the window owns the batch
// from then on. The window only queues the lines there and shows them from a
// timer, at most SHOW_AT_ONCE lines (and SHOW_UNITS_AT_ONCE units) per insertion: the edit control costs
// about as much per insertion as per hundred lines, one insertion per line
// would freeze the window for minutes on a long log, and timer messages come
// after input, so Cancel is handled between insertions. A line is shown at
// once when nothing is waiting, otherwise within a timer tick or so.
//
// unshownLines counts lines posted but not yet shown; the pump waits while
// it exceeds MAX_UNSHOWN_LINES, so a fast engine is slowed by its full pipe
// instead of filling memory (or, on Windows, the 10,000-message queue).
//
// Under Wine each insertion also costs time in proportion to the lines the
// control already holds (about a second per insertion at 800,000 lines), so
// once the log is long the lines per insertion grow with it: LOG_GROWTH_SHARE
// of the lines already shown, still at least SHOW_AT_ONCE.
//
// The edit control wraps a long line in time that grows with the square of
// its length (a 10 MB line would take days under Wine), so a line longer
// than DISPLAY_PIECE units is shown as one stamped line followed by
// unstamped continuation lines of at most that length. Nothing is dropped.
//
// WM_RUN_FINISHED comes last; the end text waits until every line before it
// is shown.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

using OutputBatch = std::vector<std::wstring>;
using LineCounter = std::shared_ptr<std::atomic<size_t>>;

constexpr size_t SHOW_AT_ONCE = 500;
constexpr size_t SHOW_UNITS_AT_ONCE = 64 * 1024;
constexpr size_t LOG_GROWTH_SHARE = 200; // one insertion takes at least 1/200 of the log
constexpr size_t DISPLAY_PIECE = 1024;
constexpr size_t MAX_UNSHOWN_LINES = 20000;
constexpr UINT_PTR OUTPUT_TIMER_ID = 1;
constexpr UINT OUTPUT_TIMER_MS = 30;

// Window side, UI thread only.
void receiveRunOutput(OutputBatch* batch); // WM_RUN_OUTPUT; takes ownership
void showWaitingOutput();                  // WM_TIMER OUTPUT_TIMER_ID
void receiveRunFinished(unsigned exitCode); // WM_RUN_FINISHED
void discardWaitingOutput();               // the window is going away
