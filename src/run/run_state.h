// The one active run, if any. Lives on the UI thread only: the output pump
// never touches it; its lines and its end go through the run's output
// queue to the log, which ends the run once they are shown.
#pragma once

#include "util/handles.h"

#include <windows.h>

#include <memory>
#include <string>

struct RunState {
    bool running = false;
    // The engine's process, kept for cancel and shutdown.
    UniqueHandle process;
    // The job holding the engine and every helper it starts, so that cancel
    // and shutdown end all of them and the output pipe closes.
    UniqueHandle job;
    // Cancel was pressed: a queue stops after this run.
    bool cancelled = false;
    // Cancel ended the engine while it still ran: its exit code says nothing
    // of the recording. (An engine that had ended by itself keeps its result.)
    bool endedByCancel = false;
    // Where the most recently started run's results are expected.
    std::wstring outputFolder;
};

extern RunState runState;

// Ends the engine and everything it started with exit code 1. Leaves the
// state as it is: only the run-finished message returns it to idle.
void terminateRun();

// Releases the process and the job (ending helpers the engine left).
void releaseRunHandles();
