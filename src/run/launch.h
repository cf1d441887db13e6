// The start and the end of a run, on the window's thread.
#pragma once

#include "run/run_request.h"

// Checks the input, the label, the engine beside the executable and the
// account values (telling the user in a message box when one fails),
// remembers the paths, starts the engine with its output in a pipe and the
// pump on it. Refuses silently while a run is active. True when the engine
// and pump run.
bool launchRun(const RunRequest& request);

// The end of a run, once every line of it is shown: back to idle, then
// "Done." and the opened result folder, or the failure text with the exit code.
void showRunFinished(unsigned exitCode);
