// Turns a run request into a running engine whose output reaches the log.
#pragma once

#include "run/run_request.h"

// Checks the input, the engine beside the executable and the account values
// (telling the user in a message box when one fails), remembers the paths,
// starts the engine with its output in a pipe and the pump on it. Refuses
// silently while a run is active. True when the engine and pump run.
bool launchRun(const RunRequest& request);
