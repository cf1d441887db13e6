// The one active run, if any. Lives on the UI thread only: the output pump
// never touches it and reports back through posted messages.
#pragma once

#include "run/run_output.h"
#include "util/handles.h"

#include <windows.h>

#include <string>

struct RunState {
    bool running = false;
    // The engine's process, kept for cancel and shutdown.
    UniqueHandle process;
    // The job holding the engine and every helper it starts, so that cancel
    // and shutdown end all of them and the output pipe closes.
    UniqueHandle job;
    // Engine lines posted by the run's pump and not yet shown; shared with it.
    LineCounter unshownLines;
    // Where the most recently started run's results are expected.
    std::wstring outputFolder;
};

extern RunState runState;

// Ends the engine and everything it started with exit code 1. Leaves the
// state as it is: only the run-finished message returns it to idle.
void terminateRun();
