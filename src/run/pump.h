// The output pump: a worker thread per run that reads the engine's pipe,
// cuts and decodes lines and queues them for the window, then the run's
// end. pump.cpp describes the whole way of a line.
#pragma once

#include "util/handles.h"

#include <windows.h>

#include <memory>

struct OutputQueue;

// What the pump is handed; it owns the record and everything in it.
struct PumpContext {
    UniqueHandle process;  // the pump's own duplicate: never released under it
    UniqueHandle pipeRead; // the overlapped read end of the engine's output
    std::shared_ptr<OutputQueue> output; // where the lines go; when the window closes it, the pump stops
};

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

// The exit code of an ended process, or UNKNOWN_EXIT_CODE when it cannot be read.
unsigned exitCodeOf(HANDLE process);
