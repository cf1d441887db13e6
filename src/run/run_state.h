// The one active run, if any. Lives on the UI thread only: the output pump
// never touches it and reaches the window through the run's OutputChannel.
#pragma once

#include "util/handles.h"

#include <windows.h>

#include <memory>
#include <string>

struct OutputChannel;

struct RunState {
    bool running = false;
    // The engine's process, kept for cancel and shutdown.
    UniqueHandle process;
    // The job holding the engine and every helper it starts, so that cancel
    // and shutdown end all of them and the output pipe closes.
    UniqueHandle job;
    // The run's lines on their way from its pump to the log.
    std::shared_ptr<OutputChannel> output;
    // Where the most recently started run's results are expected.
    std::wstring outputFolder;
};

extern RunState runState;

// Ends the engine and everything it started with exit code 1. Leaves the
// state as it is: only the run-finished message returns it to idle.
void terminateRun();

// Releases the process and the job (ending helpers the engine left) and
// lets go of the run's output; the pump stops if it still runs.
void releaseRunHandles();

// Back to idle: the handles released, the inputs enabled again.
void returnToIdle();
