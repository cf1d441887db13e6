#include "run/pump.h"

#include "app/window_state.h"
#include "run/launch.h"
#include "run/line_assembler.h"
#include "run/run_state.h"
#include "text/log_pane.h"
#include "util/text.h"

#include <process.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The way of a line, in the order it travels:
//   1. the pump reads the pipe (overlapped, so it also sees the engine end
//      and the window go) and cuts the bytes into lines;
//   2. it decodes each line (UTF-8, or the ANSI code page when the line is
//      not UTF-8) and splits very long ones into display pieces;
//   3. it puts them into the run's OutputChannel and, when the window has no
//      notification on its way yet, posts one WM_RUN_OUTPUT;
//   4. the window takes as many lines as it can insert in one go without
//      keeping the user waiting, inserts them with one time stamp, and goes
//      on after any input that is waiting, until the channel is empty;
//   5. WM_RUN_FINISHED, the pump's last message, ends the run once every
//      line before it is shown.

namespace {

constexpr DWORD READ_SIZE = 64 * 1024;
constexpr DWORD PIPE_BUFFER = 64 * 1024;

// The edit control wraps a line in time that grows with the square of its
// length (under Wine 40,000 characters took 2 s), so longer lines are shown
// as a stamped piece and unstamped continuation pieces of this length.
constexpr size_t DISPLAY_PIECE = 1024;

// The pump waits while this many pieces are waiting to be shown, so a fast
// engine is slowed by its full pipe instead of filling memory.
constexpr size_t MAX_WAITING = 20000;

} // namespace

struct OutputChannel {
    HWND window = nullptr;
    std::mutex lock;
    std::condition_variable room; // the pump waits on it while the channel is full
    std::deque<LogLine> lines;    // decoded, not yet shown
    bool notified = false;        // a WM_RUN_OUTPUT is on its way or being handled
    bool closed = false;          // the window no longer takes lines
    UniqueHandle stop;            // set together with closed, for the pump's waits
};

std::shared_ptr<OutputChannel> openOutputChannel(HWND window)
{
    auto channel = std::make_shared<OutputChannel>();
    channel->window = window;
    channel->stop.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    return channel->stop != nullptr ? channel : nullptr;
}

void closeOutputChannel(OutputChannel& channel)
{
    {
        std::lock_guard<std::mutex> guard(channel.lock);
        channel.closed = true;
    }
    channel.room.notify_all();
    SetEvent(channel.stop.get());
}

bool createOutputPipe(UniqueHandle& readEnd, UniqueHandle& writeEnd)
{
    // Anonymous pipes cannot be read overlapped; a named pipe of our own,
    // unique, one instance, local clients only, can.
    static LONG counter = 0;
    const std::wstring name = L"\\\\.\\pipe\\zozediv-uzuvurodaz-ered-" + std::to_wstring(GetCurrentProcessId()) + L"-"
        + std::to_wstring(InterlockedIncrement(&counter)) + L"-" + std::to_wstring(GetTickCount64());
    readEnd = adoptHandle(CreateNamedPipeW(name.c_str(),
        PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, PIPE_BUFFER, 0, nullptr));
    if (readEnd == nullptr) {
        return false;
    }
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    writeEnd = adoptHandle(
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (writeEnd == nullptr) {
        readEnd.reset();
        return false;
    }
    return true;
}

unsigned exitCodeOf(HANDLE process)
{
    DWORD code = 0;
    return GetExitCodeProcess(process, &code) ? code : UNKNOWN_EXIT_CODE;
}

// --- the pump's side -----------------------------------------------------------

namespace {

enum class ReadOutcome {
    Data,    // bytes arrived (possibly none: the engine wrote zero bytes)
    End,     // every writer has gone, or the engine's helpers overstayed
    Stopped, // the window no longer takes output
};

struct PipeReading {
    HANDLE pipe;
    HANDLE process;
    HANDLE stop;
    UniqueHandle done;
    OVERLAPPED overlapped = {};
    bool engineEnded = false;
    ULONGLONG graceEnds = 0;
};

void abandonRead(PipeReading& reading)
{
    CancelIoEx(reading.pipe, &reading.overlapped);
    DWORD ignored = 0;
    GetOverlappedResult(reading.pipe, &reading.overlapped, &ignored, TRUE); // the buffer is in use until then
}

ReadOutcome readSome(PipeReading& reading, char* buffer, DWORD& got)
{
    got = 0;
    ResetEvent(reading.done.get());
    reading.overlapped = {};
    reading.overlapped.hEvent = reading.done.get();
    if (!ReadFile(reading.pipe, buffer, READ_SIZE, nullptr, &reading.overlapped)
        && GetLastError() != ERROR_IO_PENDING) {
        return ReadOutcome::End; // broken pipe: every writer has gone
    }
    for (;;) {
        const HANDLE waits[3] = {reading.done.get(), reading.stop, reading.process};
        DWORD timeout = INFINITE;
        if (reading.engineEnded) {
            const ULONGLONG now = GetTickCount64();
            timeout = now >= reading.graceEnds ? 0 : static_cast<DWORD>(reading.graceEnds - now);
        }
        const DWORD woke = WaitForMultipleObjects(reading.engineEnded ? 2 : 3, waits, FALSE, timeout);
        if (woke == WAIT_OBJECT_0) {
            return GetOverlappedResult(reading.pipe, &reading.overlapped, &got, FALSE) ? ReadOutcome::Data
                                                                                      : ReadOutcome::End;
        }
        if (woke == WAIT_OBJECT_0 + 2) {
            // The engine has ended; whatever it started may hold the pipe
            // open for a while, but not for ever.
            reading.engineEnded = true;
            reading.graceEnds = GetTickCount64() + HELPER_GRACE_MS;
            continue;
        }
        abandonRead(reading);
        return woke == WAIT_OBJECT_0 + 1 ? ReadOutcome::Stopped : ReadOutcome::End;
    }
}

// A line in pieces when it is long; a piece never ends between the two
// halves of a surrogate pair.
void addPieces(std::vector<LogLine>& pieces, std::wstring&& line)
{
    // The log takes NUL-terminated text: a NUL would cut off the rest of the
    // line and every line inserted with it.
    std::replace(line.begin(), line.end(), L'\0', wchar_t(0xFFFD));
    if (line.size() <= DISPLAY_PIECE) {
        pieces.push_back(LogLine{std::move(line), false});
        return;
    }
    bool continuation = false;
    for (size_t start = 0; start < line.size();) {
        size_t length = std::min(DISPLAY_PIECE, line.size() - start);
        if (start + length < line.size() && line[start + length - 1] >= 0xD800 && line[start + length - 1] <= 0xDBFF) {
            --length;
        }
        pieces.push_back(LogLine{line.substr(start, length), continuation});
        continuation = true;
        start += length;
    }
}

// Hands the pieces to the window; false when it no longer takes them.
bool pushPieces(OutputChannel& channel, std::vector<LogLine>& pieces)
{
    if (pieces.empty()) {
        return true;
    }
    std::unique_lock<std::mutex> guard(channel.lock);
    channel.room.wait(guard, [&] { return channel.closed || channel.lines.size() < MAX_WAITING; });
    if (channel.closed) {
        return false;
    }
    std::move(pieces.begin(), pieces.end(), std::back_inserter(channel.lines));
    pieces.clear();
    const bool notify = !channel.notified;
    channel.notified = true;
    guard.unlock();
    // One message per batch: the window takes everything there is before it
    // wants another, so the queue never holds more than one of them.
    if (notify && !PostMessageW(channel.window, WM_RUN_OUTPUT, 0, 0)) {
        guard.lock();
        channel.notified = false; // the next batch, or the end, tries again
    }
    return true;
}

// The one message that must arrive, so a refused post (Windows refuses them
// when the queue is full) is tried again while the window waits for it.
void postFinished(OutputChannel& channel, unsigned exitCode)
{
    while (!PostMessageW(channel.window, WM_RUN_FINISHED, exitCode, 0)) {
        if (WaitForSingleObject(channel.stop.get(), 50) != WAIT_TIMEOUT || !IsWindow(channel.window)) {
            return;
        }
    }
}

bool startThread(PumpContext* context)
{
    const uintptr_t thread = _beginthreadex(nullptr, 0, outputPump, context, 0, nullptr);
    if (thread == 0) {
        return false;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread)); // never joined
    return true;
}

} // namespace

PumpStarter startPumpThread = startThread;

unsigned __stdcall outputPump(void* parameter)
{
    std::unique_ptr<PumpContext> context(static_cast<PumpContext*>(parameter));
    OutputChannel& channel = *context->channel;
    PipeReading reading{context->pipeRead.get(), context->process.get(), channel.stop.get(),
        UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr))};
    if (reading.done == nullptr) {
        return 0;
    }
    // Output that is not UTF-8 (a converter's error report, say) comes in
    // the system's ANSI code page.
    const UINT fallbackCodePage = GetACP();
    LineAssembler assembler;
    std::vector<char> buffer(READ_SIZE);
    std::vector<std::string> lines;
    std::vector<LogLine> pieces;
    for (;;) {
        DWORD got = 0;
        const ReadOutcome outcome = readSome(reading, buffer.data(), got);
        if (outcome == ReadOutcome::Stopped) {
            return 0;
        }
        if (outcome == ReadOutcome::End) {
            break;
        }
        // Zero bytes is a zero-length write by the engine, not the end.
        assembler.feed(std::string_view(buffer.data(), got), lines);
        for (std::string& line : lines) {
            addPieces(pieces, decodeOutputLine(line, fallbackCodePage));
        }
        lines.clear();
        if (!pushPieces(channel, pieces)) {
            return 0;
        }
    }
    if (std::optional<std::string> last = assembler.finish()) {
        addPieces(pieces, decodeOutputLine(*last, fallbackCodePage));
        if (!pushPieces(channel, pieces)) {
            return 0;
        }
    }
    context->pipeRead.reset();
    const HANDLE ends[2] = {context->process.get(), channel.stop.get()};
    if (WaitForMultipleObjects(2, ends, FALSE, INFINITE) != WAIT_OBJECT_0) {
        return 0;
    }
    postFinished(channel, exitCodeOf(context->process.get()));
    return 0;
}

// --- the window's side ---------------------------------------------------------

namespace {

// How many lines go into one insertion. Each insertion costs a part that
// grows with the log already shown (under Wine a walk over every line, a
// quarter of a second at a million lines) and a part per line inserted
// (about 25 microseconds under Wine). Both are measured as the log grows:
// an insertion spends on its lines at least what that overhead costs, so
// long logs still fill quickly, and keeps the whole under a latency the user
// does not notice while the log is of ordinary length.
struct InsertionPacer {
    double perLineMs = 0;  // the cheapest insertion per line seen
    double overheadMs = 0; // what the latest insertion cost beyond its lines

    static constexpr size_t FIRST = 200;
    static constexpr size_t MOST = 20000;
    static constexpr double MIN_LINE_WORK_MS = 40;
    static constexpr double LONGEST_MS = 400;

    size_t next() const
    {
        if (perLineMs <= 0) {
            return FIRST;
        }
        const double ceiling = std::max(MIN_LINE_WORK_MS, LONGEST_MS - overheadMs);
        const double lineWork = std::clamp(overheadMs, MIN_LINE_WORK_MS, ceiling);
        return std::clamp(static_cast<size_t>(lineWork / perLineMs), size_t(1), MOST);
    }

    void record(size_t lines, double milliseconds)
    {
        if (lines >= 50) { // smaller ones are mostly overhead
            const double perLine = milliseconds / static_cast<double>(lines);
            perLineMs = perLineMs <= 0 ? perLine : std::min(perLineMs, perLine);
        }
        overheadMs = std::max(0.0, milliseconds - perLineMs * static_cast<double>(lines));
    }
};

// A paint of the log's end costs about as much as an insertion's overhead,
// so during a burst the log is painted a few times a second, not after
// every insertion.
constexpr ULONGLONG PAINT_INTERVAL_MS = 150;

struct Display {
    InsertionPacer pacer;
    std::optional<unsigned> finishedCode; // the end came while lines were waiting
    ULONGLONG lastPaint = 0;
    double lastPaintMs = 0;
};

Display display;

double nowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::vector<LogLine> takeLines(OutputChannel& channel, size_t most, bool& more)
{
    std::vector<LogLine> taken;
    {
        std::lock_guard<std::mutex> guard(channel.lock);
        const size_t count = std::min(most, channel.lines.size());
        taken.reserve(count);
        std::move(channel.lines.begin(), channel.lines.begin() + static_cast<ptrdiff_t>(count),
            std::back_inserter(taken));
        channel.lines.erase(channel.lines.begin(), channel.lines.begin() + static_cast<ptrdiff_t>(count));
        more = !channel.lines.empty();
        if (!more) {
            channel.notified = false; // from now on the pump announces new lines
        }
    }
    channel.room.notify_one();
    return taken;
}

void paintLog(HWND pane, bool burstGoesOn)
{
    const ULONGLONG now = GetTickCount64();
    const auto spacing = static_cast<ULONGLONG>(4 * display.lastPaintMs);
    if (burstGoesOn && now - display.lastPaint < std::max(PAINT_INTERVAL_MS, spacing)) {
        ValidateRect(pane, nullptr); // painted with the next lines
        return;
    }
    const double start = nowMs();
    InvalidateRect(pane, nullptr, TRUE);
    UpdateWindow(pane);
    display.lastPaintMs = nowMs() - start;
    display.lastPaint = GetTickCount64();
}

// Goes on with the next insertion: at once when nothing else waits, after
// the input and painting that wait otherwise (timer messages come last), so
// a click on Cancel is never stuck behind a long burst.
void continueLater()
{
    HWND window = mainState.mainWindow;
    if (HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT)) != 0) {
        SetTimer(window, OUTPUT_TIMER_ID, USER_TIMER_MINIMUM, nullptr);
    } else {
        PostMessageW(window, WM_RUN_OUTPUT, 0, 0);
    }
}

} // namespace

void showWaitingOutput()
{
    KillTimer(mainState.mainWindow, OUTPUT_TIMER_ID);
    const std::shared_ptr<OutputChannel> channel = runState.output;
    if (channel == nullptr) {
        display.finishedCode.reset(); // a late message of a run already over
        return;
    }
    bool more = false;
    const std::vector<LogLine> lines = takeLines(*channel, display.pacer.next(), more);
    if (!lines.empty()) {
        const double start = nowMs();
        appendLogLines(lines.data(), lines.size());
        display.pacer.record(lines.size(), nowMs() - start);
        paintLog(mainState.controls[CTL_LOG], more);
    }
    if (more) {
        continueLater();
        return;
    }
    if (const std::optional<unsigned> code = display.finishedCode) {
        display.finishedCode.reset();
        showRunFinished(*code);
    }
}

void receiveRunOutput()
{
    showWaitingOutput();
}

void receiveRunFinished(unsigned exitCode)
{
    display.finishedCode = exitCode;
    showWaitingOutput();
}

void discardWaitingOutput()
{
    if (mainState.mainWindow != nullptr) {
        KillTimer(mainState.mainWindow, OUTPUT_TIMER_ID);
    }
    display.finishedCode.reset();
}
