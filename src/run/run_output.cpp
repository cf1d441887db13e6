#include "run/run_output.h"

#include "app/window_state.h"
#include "run/pump.h"
#include "run/run_state.h"
#include "text/log_pane.h"

#include <algorithm>
#include <deque>
#include <optional>

namespace {

struct WaitingOutput {
    std::deque<LogLine> lines;
    bool timerRunning = false;
    std::optional<unsigned> finishedCode; // the end came while lines were waiting
    size_t shownLines = 0;                // log lines put in so far, pieces included
};

WaitingOutput waiting;

void ensureTimer()
{
    if (!waiting.timerRunning && mainState.mainWindow != nullptr) {
        waiting.timerRunning = SetTimer(mainState.mainWindow, OUTPUT_TIMER_ID, OUTPUT_TIMER_MS, nullptr) != 0;
    }
}

void stopTimer()
{
    if (waiting.timerRunning) {
        KillTimer(mainState.mainWindow, OUTPUT_TIMER_ID);
        waiting.timerRunning = false;
    }
}

// Queues an engine line, in pieces when it is long; a piece never ends
// between the two halves of a surrogate pair.
void queueLine(std::wstring&& line)
{
    if (line.size() <= DISPLAY_PIECE) {
        waiting.lines.push_back(LogLine{std::move(line), false});
        return;
    }
    bool continuation = false;
    for (size_t start = 0; start < line.size();) {
        size_t length = std::min(DISPLAY_PIECE, line.size() - start);
        if (start + length < line.size() && line[start + length - 1] >= 0xD800 && line[start + length - 1] <= 0xDBFF) {
            --length;
        }
        waiting.lines.push_back(LogLine{line.substr(start, length), continuation});
        continuation = true;
        start += length;
    }
}

void showSome()
{
    const size_t growth = waiting.shownLines / LOG_GROWTH_SHARE;
    const size_t lineLimit = std::max(SHOW_AT_ONCE, growth);
    const size_t unitLimit = std::max(SHOW_UNITS_AT_ONCE, growth * 100);
    std::vector<LogLine> shown;
    size_t units = 0;
    size_t engineLines = 0;
    while (!waiting.lines.empty() && shown.size() < lineLimit
        && (shown.empty() || units + waiting.lines.front().text.size() <= unitLimit)) {
        units += waiting.lines.front().text.size();
        if (!waiting.lines.front().continuation) {
            ++engineLines;
        }
        shown.push_back(std::move(waiting.lines.front()));
        waiting.lines.pop_front();
    }
    if (shown.empty()) {
        return;
    }
    appendLogLines(shown.data(), shown.size());
    waiting.shownLines += shown.size();
    if (runState.unshownLines != nullptr) {
        runState.unshownLines->fetch_sub(engineLines);
    }
}

} // namespace

void receiveRunOutput(OutputBatch* received)
{
    std::unique_ptr<OutputBatch> batch(received);
    if (batch == nullptr || batch->empty()) {
        return;
    }
    const bool idle = waiting.lines.empty() && !waiting.timerRunning;
    for (std::wstring& line : *batch) {
        queueLine(std::move(line));
    }
    if (idle) {
        showSome(); // the first line after a quiet spell is not held back
    }
    ensureTimer(); // the rest of a burst follows from the timer
}

void showWaitingOutput()
{
    showSome();
    if (waiting.lines.empty()) {
        stopTimer();
        if (std::optional<unsigned> code = waiting.finishedCode) {
            waiting.finishedCode.reset();
            showRunFinished(*code);
        }
    }
}

void receiveRunFinished(unsigned exitCode)
{
    if (waiting.lines.empty()) {
        showRunFinished(exitCode);
        return;
    }
    waiting.finishedCode = exitCode;
    ensureTimer();
}

void discardWaitingOutput()
{
    stopTimer();
    waiting.lines.clear();
    waiting.finishedCode.reset();
}
