// The one active run, if any. Lives on the UI thread only: the output pump
// never touches it and reports back through posted messages.
#pragma once

#include "run/run_output.h"
#include "util/handles.h"

#include <windows.h>

#include <memory>
#include <string>

struct ExitWatch {
    HWND window;
    unsigned serial;
};

struct RunState {
    bool running = false;
    // The engine's process, kept for cancel and shutdown.
    UniqueHandle process;
    // The job holding the engine and every helper it starts, so that cancel
    // and shutdown end all of them and the output pipe closes.
    UniqueHandle job;
    // Tells the window when the engine itself has ended; the serial number
    // keeps a late notice of one run from touching the next.
    HANDLE exitWait = nullptr;
    std::unique_ptr<ExitWatch> exitWatch;
    unsigned serial = 0;
    // Engine lines posted by the run's pump and not yet shown; shared with it.
    LineCounter unshownLines;
    // Where the most recently started run's results are expected.
    std::wstring outputFolder;
};

extern RunState runState;

// Ends the engine and everything it started with exit code 1. Leaves the
// state as it is: only the run-finished message returns it to idle.
void terminateRun();

// How long helpers the engine left behind may keep the output open after
// the engine itself has ended, before they are stopped.
constexpr UINT HELPER_GRACE_MS = 2000;
constexpr UINT_PTR HELPER_GRACE_TIMER_ID = 2;

// WM_ENGINE_EXITED and the grace timer: a helper that outlives the engine
// and holds the pipe would otherwise keep the run busy for ever.
void engineExited(unsigned serial);
void stopLeftoverHelpers();

// Releases the process, the job and the exit watch of the run.
void releaseRunHandles();

// Back to idle: the handles released, the inputs enabled again.
void returnToIdle();
