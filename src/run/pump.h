// How the engine's output travels to the log: the output pump, a worker
// thread per run, reads the pipe, cuts and decodes lines and puts them into
// the run's OutputChannel; the window takes them from there and shows them.
// pump.cpp holds the whole path, both sides.
#pragma once

#include "util/handles.h"

#include <windows.h>

#include <memory>

struct OutputChannel;

// What the pump is handed; it owns the record and everything in it.
struct PumpContext {
    HWND window;
    UniqueHandle process;  // the pump's own duplicate: never released under it
    UniqueHandle pipeRead; // the overlapped read end of the engine's output
    std::shared_ptr<OutputChannel> channel;
};

// The shared queue of one run, between its pump and the window.
std::shared_ptr<OutputChannel> openOutputChannel(HWND window);

// The window no longer wants the run's output (it is going away, or the run
// was abandoned): the pump stops at once and posts nothing more.
void closeOutputChannel(OutputChannel& channel);

// A pipe for the engine's standard output and error: the read end
// overlapped (so the pump can stop reading when it must), the write end
// synchronous and inheritable, as the engine expects.
bool createOutputPipe(UniqueHandle& readEnd, UniqueHandle& writeEnd);

// Thread procedure; takes ownership of a heap-allocated PumpContext.
unsigned __stdcall outputPump(void* context);

// Starts outputPump on a new thread, or returns false (the context is then
// still the caller's). Replaceable so tests can make the start fail.
using PumpStarter = bool (*)(PumpContext* context);
extern PumpStarter startPumpThread;

// How long helpers the engine left behind may keep the pipe open after the
// engine itself has ended, before the pump stops reading.
constexpr DWORD HELPER_GRACE_MS = 2000;

// Reported when the engine's exit code cannot be read: a failure.
constexpr unsigned UNKNOWN_EXIT_CODE = 0xFFFFFFFFu;

// The window side, UI thread only.
constexpr UINT_PTR OUTPUT_TIMER_ID = 1;
void receiveRunOutput();                    // WM_RUN_OUTPUT
void receiveRunFinished(unsigned exitCode); // WM_RUN_FINISHED
void showWaitingOutput();                   // WM_TIMER OUTPUT_TIMER_ID
void discardWaitingOutput();                // the run is over or the window is going

// The exit code of an ended process, or UNKNOWN_EXIT_CODE when it cannot be read.
unsigned exitCodeOf(HANDLE process);
