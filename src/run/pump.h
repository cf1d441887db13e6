// The output pump: one worker thread per run that reads the engine's pipe and
// hands each line to the main window; it shares nothing else with it.
#pragma once

#include "run/run_output.h"
#include "util/handles.h"

#include <windows.h>

#include <string>

struct PumpContext {
    HWND window;
    UniqueHandle process;  // the pump's own duplicate: never released under it
    UniqueHandle pipeRead; // read end of the engine's output pipe
    LineCounter unshownLines;
};

// Thread procedure; takes ownership of a heap-allocated PumpContext.
unsigned __stdcall outputPump(void* context);

// Posting goes through here so tests can make it fail the way a full queue
// does on Windows (Wine never refuses a post).
using PostMessageFunction = BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
extern PostMessageFunction pumpPostMessage;

// Starts outputPump on a new thread, or returns false (the context is then
// still the caller's). Replaceable for the same reason.
using PumpStarter = bool (*)(PumpContext* context);
extern PumpStarter startPumpThread;

// The window side of WM_RUN_FINISHED: back to idle, then "Done." and the
// opened result folder, or the failure text with the exit code.
void showRunFinished(unsigned exitCode);
