#include "run/run_output.h"

#include "app/window_state.h"
#include "run/pump.h"
#include "run/run_state.h"
#include "text/log_pane.h"

#include <deque>
#include <optional>

namespace {

struct WaitingOutput {
    std::deque<std::wstring> lines;
    bool timerRunning = false;
    std::optional<unsigned> finishedCode; // the end came while lines were waiting
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

void showSome()
{
    const size_t count = std::min(waiting.lines.size(), SHOW_AT_ONCE);
    if (count == 0) {
        return;
    }
    std::vector<std::wstring> shown;
    shown.reserve(count);
    for (size_t index = 0; index < count; ++index) {
        shown.push_back(std::move(waiting.lines.front()));
        waiting.lines.pop_front();
    }
    appendLogLines(shown.data(), shown.size());
    if (runState.unshownLines != nullptr) {
        runState.unshownLines->fetch_sub(count);
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
        waiting.lines.push_back(std::move(line));
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

size_t waitingOutputLines()
{
    return waiting.lines.size();
}
