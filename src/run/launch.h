// Starting the engine for one run, and what a start needs, free of windows:
// the checks before a run, the plan of the launch, the engine's process in
// a job with the pump on its output. The run controller decides when to
// start and tells the user.
#pragma once

#include "run/run_request.h"
#include "text/catalogue.h"
#include "util/handles.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct OutputQueue;

// A run's folder name below the date folder: the label, or the recording's
// name without one; for a queue's item, with its recording, which a refusal
// then names.
struct RunFolderName {
    std::wstring name;
    std::wstring recording;
};

// What stops a run before its engine starts: a text for a message box, the
// values for its placeholders, and whether it is an error (the engine)
// rather than something the user can correct.
struct Refusal {
    TextId text;
    std::vector<std::wstring> values = {};
    bool error = false;
};

// A single run's input: a file that is there.
std::optional<Refusal> checkInput(const std::wstring& inputPath);

// What a run needs beyond its input: the typed label, each run's folder
// name, an output root without device names, the engine beside the
// executable and the account values (in a settings file that can be read).
// Also takes the configuration file's language.
std::optional<Refusal> checkRunConditions(const std::wstring& typedLabel, const std::vector<RunFolderName>& folderNames,
    const std::wstring& outputRoot);

// The date folder of a run started now, such as "2026-12-10".
std::wstring todayFolderName();

// What a launch of the request now would need: the engine beside the
// executable, today's date folder.
LaunchPlan planRunNow(const RunRequest& request);

// The paths, speaker count and clips choice of a run that starts, for the
// next start of the program. Not reported when it fails: the run does not
// depend on it.
void rememberChoices(const RunRequest& request);

// The engine of a run: its process, and the job holding it and every helper
// it starts, so that cancel and shutdown end all of them and the output
// pipe closes.
struct EngineRun {
    UniqueHandle process;
    UniqueHandle job;
};

enum class StartResult {
    Started,
    TooLong,   // the command line would be longer than Windows takes
    NotStarted // the engine, its pipe or its pump could not be started
};

// Makes the job a run's engine goes into (null: no job). Replaceable so
// tests can leave a helper out of the window's reach.
using JobMaker = UniqueHandle (*)();
extern JobMaker createJobForRun;

// Starts the engine of a planned launch with its output in a pipe and the
// pump on it, which puts the lines and the run's end into output. Nothing
// is left running when it could not start.
StartResult startEngine(const LaunchPlan& plan, const std::shared_ptr<OutputQueue>& output, EngineRun& engine);

// Ends the engine and everything it started with exit code 1.
void terminateEngine(const EngineRun& engine);

// True while the engine's own process has not ended.
bool engineStillRunning(const EngineRun& engine);

// Releases the process and the job (ending helpers the engine left).
void releaseEngine(EngineRun& engine);
