#include "run/pump.h"

#include "run/line_assembler.h"
#include "run/output_queue.h"
#include "util/text.h"

#include <process.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The way of a line, in the order it travels:
//   1. the pump reads the pipe (overlapped, so it also sees the engine end
//      and the window go) and cuts the bytes into lines (LineAssembler);
//   2. it decodes each line (UTF-8, or the ANSI code page when the line is
//      not UTF-8) and splits very long ones into display pieces;
//   3. it puts them into the run's one queue for the window (queueLines,
//      output_queue.cpp), waiting while the window is far behind; the
//      window hears of it through one posted WM_RUN_OUTPUT;
//   4. on the window's thread, in slices of a few milliseconds between
//      messages, the log takes the lines, stamps them, keeps every one in
//      the whole log of the session and shows the most recent in the pane
//      (log_pane.cpp, kept_log.cpp);
//   5. the pump's last item is the run's end (queueRunEnd): once every line
//      before it is shown, the log ends the run (showRunFinished).

namespace {

constexpr DWORD READ_SIZE = 64 * 1024;
constexpr DWORD PIPE_BUFFER = 64 * 1024;

// The edit control wraps a line in time that grows with the square of its
// length (under Wine 40,000 characters took 2 s), so longer lines are shown
// as a stamped piece and unstamped continuation pieces of this length.
constexpr size_t DISPLAY_PIECE = 1024;

} // namespace

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

namespace {

enum class ReadOutcome {
    Data,    // bytes arrived (possibly none: the engine wrote zero bytes)
    End,     // every writer has gone, or the engine's helpers overstayed
    Stopped, // the window has gone
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

// A read that completed just before it was cancelled still brought bytes:
// they are returned, not lost.
DWORD abandonRead(PipeReading& reading)
{
    CancelIoEx(reading.pipe, &reading.overlapped);
    DWORD got = 0;
    // The buffer is in use until then.
    return GetOverlappedResult(reading.pipe, &reading.overlapped, &got, TRUE) ? got : 0;
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
        got = abandonRead(reading);
        return woke == WAIT_OBJECT_0 + 1 ? ReadOutcome::Stopped : ReadOutcome::End;
    }
}

// A line in pieces when it is long; a piece never ends between the two
// halves of a surrogate pair.
void addPieces(std::vector<LogLine>& pieces, std::wstring&& line, bool continuation)
{
    // The log takes NUL-terminated text: a NUL would cut off the rest of the
    // line and every line inserted with it.
    std::replace(line.begin(), line.end(), L'\0', wchar_t(0xFFFD));
    if (line.size() <= DISPLAY_PIECE) {
        pieces.push_back(LogLine{std::move(line), continuation});
        return;
    }
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
    OutputQueue& output = *context->output;
    PipeReading reading{context->pipeRead.get(), context->process.get(), output.gone.get(),
        UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr))};
    if (reading.done == nullptr) {
        return 0;
    }
    // Output that is not UTF-8 (a converter's error report, say) comes in
    // the system's ANSI code page.
    const UINT fallbackCodePage = GetACP();
    LineAssembler assembler;
    std::vector<char> buffer(READ_SIZE);
    std::vector<AssembledLine> lines;
    std::vector<LogLine> pieces;
    for (;;) {
        DWORD got = 0;
        const ReadOutcome outcome = readSome(reading, buffer.data(), got);
        if (outcome == ReadOutcome::Stopped) {
            return 0;
        }
        // Zero bytes is a zero-length write by the engine, not the end.
        assembler.feed(std::string_view(buffer.data(), got), lines);
        for (AssembledLine& line : lines) {
            addPieces(pieces, decodeOutputLine(line.bytes, fallbackCodePage), line.continuation);
        }
        lines.clear();
        if (!queueLines(output, pieces)) {
            return 0;
        }
        if (outcome == ReadOutcome::End) {
            break;
        }
    }
    if (std::optional<AssembledLine> last = assembler.finish()) {
        addPieces(pieces, decodeOutputLine(last->bytes, fallbackCodePage), last->continuation);
        if (!queueLines(output, pieces)) {
            return 0;
        }
    }
    context->pipeRead.reset();
    const HANDLE ends[2] = {context->process.get(), output.gone.get()};
    if (WaitForMultipleObjects(2, ends, FALSE, INFINITE) != WAIT_OBJECT_0) {
        return 0;
    }
    queueRunEnd(output, exitCodeOf(context->process.get()));
    return 0;
}

