// The start and the end of a run, on the window's thread. A queue runs its
// items through the same start and end, one at a time.
#pragma once

#include "run/run_request.h"

#include <string>
#include <vector>

// A run's folder name below the date folder: the label, or the recording's
// name without one; for a queue's item, with its recording, which a refusal
// then names.
struct RunFolderName {
    std::wstring name;
    std::wstring recording;
};

// Checks what a run needs beyond its input: the typed label, each run's
// folder name, an output root without device names, the engine beside the
// executable and the account values (in a settings file that can be read),
// telling the user in a message box when one fails. Also takes the
// configuration file's language.
bool checkRunConditions(const std::wstring& typedLabel, const std::vector<RunFolderName>& folderNames,
    const std::wstring& outputRoot);

// The date folder of a run started now, such as "2026-12-10".
std::wstring todayFolderName();

// What a launch of the request now would need: the engine beside the
// executable, today's date folder.
LaunchPlan planRunNow(const RunRequest& request);

enum class StartResult {
    Started,
    TooLong,   // the command line would be longer than Windows takes
    NotStarted // the engine, its pipe or its pump could not be started
};

// Starts a checked request: remembers the paths and choices, starts the
// engine with its output in a pipe and the pump on it, and logs the start
// line and the output folder. Nothing is told when it could not start.
StartResult startRun(const RunRequest& request);

// A single run from the window's fields: checks the input, then the above,
// telling the user in a message box when something fails. Refuses silently
// while a run is active. True when the engine and pump run.
bool launchRun(const RunRequest& request);

// The end of a run, once every line of it is shown: "Done." or the failure
// text with the exit code; then, for a single run, back to idle and the
// opened result folder, and for a queue's item, the queue's next step.
void showRunFinished(unsigned exitCode);

// Creates the folder if it is missing and opens it in the file manager, on
// a thread of its own. When it is not a folder afterwards or the shell
// cannot open it, the window receives WM_OPEN_FAILED and the log says so.
void openResultFolder(const std::wstring& folder);

// The log line for a folder that could not be opened; takes over the folder
// that came with WM_OPEN_FAILED.
void tellOpenFailed(std::wstring* folder);
