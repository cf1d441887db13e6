#include "run/launch.h"

#include "config/config.h"
#include "run/engine_contract.h"
#include "run/output_queue.h"
#include "run/pump.h"
#include "util/paths.h"
#include "util/text.h"

namespace {

std::array<std::string, 5> accountValues(const AppConfig& config)
{
    std::array<std::string, 5> values;
    for (size_t index = 0; index < values.size(); ++index) {
        values[index] = configText(config, ACCOUNT_KEYS[index]);
    }
    return values;
}

// A job that ends everything in it when its last handle closes: the engine's
// own helpers (a converter, say) inherit the pipe, and ending the engine
// alone would leave them running. A crash of any of them ends that process
// with its exit code instead of waiting in an error dialog for a click.
UniqueHandle createRunJob()
{
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    if (job == nullptr) {
        return job;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    if (SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        return job;
    }
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        job.reset();
    }
    return job;
}

} // namespace

JobMaker createJobForRun = createRunJob;

namespace {

// Starts the engine suspended, so it is in the job before it can start
// anything, with its output in the pipe and no console window. The error
// mode a child inherits is set around the start (and the job's limit does
// the same for the engine's own children): a crash then ends the engine
// with its exit code instead of a system error dialog that blocks the run.
bool startProcess(std::wstring commandLine, HANDLE output, HANDLE job, UniqueHandle& process)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION started = {};
    const UINT errorMode = GetErrorMode();
    SetErrorMode(errorMode | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    const BOOL created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
        CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &started);
    SetErrorMode(errorMode);
    if (!created) {
        return false;
    }
    process.reset(started.hProcess);
    UniqueHandle primaryThread(started.hThread);
    if (job != nullptr) {
        AssignProcessToJobObject(job, process.get()); // without it, cancel ends the engine alone
    }
    ResumeThread(primaryThread.get());
    return true;
}

} // namespace

std::optional<Refusal> checkInput(const std::wstring& inputPath)
{
    if (const PathKind input = pathKind(inputPath); input != PathKind::File) {
        return Refusal{input == PathKind::Folder ? T_ERR_INPUT_IS_FOLDER : T_ERR_NO_FILE};
    }
    return std::nullopt;
}

std::optional<Refusal> checkRunConditions(const std::wstring& typedLabel, const std::vector<RunFolderName>& folderNames,
    const std::wstring& outputRoot)
{
    if (typedLabel.size() > 255) {
        return Refusal{T_ERR_LABEL_TOO_LONG};
    }
    if (!typedLabel.empty() && !isValidFolderName(typedLabel)) {
        return Refusal{T_ERR_BAD_LABEL};
    }
    // Each run's folder is one folder below the date: the label, or the
    // recording's name, which may be no folder name at all ("...wav"). In a
    // queue the label is joined to the name, so the name is to blame.
    for (const RunFolderName& folder : folderNames) {
        if (isValidFolderName(folder.name)) {
            continue;
        }
        if (!folder.recording.empty()) {
            return Refusal{typedLabel.empty() ? T_ERR_ITEM_NAME_NO_LABEL : T_ERR_ITEM_NAME, {folder.recording}};
        }
        return Refusal{typedLabel.empty() ? T_ERR_NEED_LABEL : T_ERR_BAD_LABEL};
    }
    if (namesDevice(outputRoot)) {
        return Refusal{T_ERR_DEVICE_OUTPUT};
    }
    if (!pathExists(executableDirectory() + ENGINE_FILE_SUFFIX)) {
        return Refusal{T_ERR_NO_ENGINE, {}, true};
    }
    const LoadedConfig loaded = loadConfigReport(); // also takes the file's language for what follows
    if (loaded.problem == ConfigProblem::InUse) {
        // Its values are not empty, only out of reach for now.
        return Refusal{T_ERR_CONFIG_IN_USE, {configFilePath()}};
    }
    if (!accountComplete(accountValues(loaded.config))) {
        return Refusal{T_ERR_NEED_ACCOUNT};
    }
    return std::nullopt;
}

std::wstring todayFolderName()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return dateFolderName(now.wYear, now.wMonth, now.wDay);
}

LaunchPlan planRunNow(const RunRequest& request)
{
    return planLaunch(request, executableDirectory() + ENGINE_FILE_SUFFIX, todayFolderName());
}

// The speaker count and the clips choice are written only here, so the
// file written from the defaults stays as it was.
void rememberChoices(const RunRequest& request)
{
    updateConfig([&](AppConfig& config) {
        config["last_input"] = wideToUtf8(request.inputPath);
        config["last_output"] = wideToUtf8(request.outputRoot);
        config["last_speakers"] = request.speakerCount;
        config["last_clips"] = request.makeClips;
    });
}

StartResult startEngine(const LaunchPlan& plan, const std::shared_ptr<OutputQueue>& output, EngineRun& engine)
{
    if (!plan.fits) {
        return StartResult::TooLong;
    }
    UniqueHandle pipeRead;
    UniqueHandle pipeWrite;
    if (!createOutputPipe(pipeRead, pipeWrite)) {
        return StartResult::NotStarted;
    }
    EngineRun started;
    started.job = createJobForRun();
    if (!startProcess(plan.commandLine, pipeWrite.get(), started.job.get(), started.process)) {
        return StartResult::NotStarted;
    }
    pipeWrite.reset(); // the read end now ends with the engine and its helpers

    // The pump waits on a handle of its own, never one released under it.
    HANDLE pumpProcess = nullptr;
    DuplicateHandle(GetCurrentProcess(), started.process.get(), GetCurrentProcess(), &pumpProcess, 0, FALSE,
        DUPLICATE_SAME_ACCESS);
    auto context = std::make_unique<PumpContext>(PumpContext{UniqueHandle(pumpProcess), std::move(pipeRead), output});
    if (pumpProcess == nullptr || !startPumpThread(context.get())) {
        // Without a pump no end of run would ever come: nothing may run.
        terminateEngine(started);
        return StartResult::NotStarted;
    }
    context.release(); // the pump's now
    engine = std::move(started);
    return StartResult::Started;
}

void terminateEngine(const EngineRun& engine)
{
    if (engine.job != nullptr) {
        TerminateJobObject(engine.job.get(), CANCELLED_EXIT_CODE);
    }
    if (engine.process != nullptr) {
        TerminateProcess(engine.process.get(), CANCELLED_EXIT_CODE);
    }
}

bool engineStillRunning(const EngineRun& engine)
{
    return engine.process != nullptr && WaitForSingleObject(engine.process.get(), 0) == WAIT_TIMEOUT;
}

void releaseEngine(EngineRun& engine)
{
    engine.process.reset();
    // Closing the job ends whatever helper of the engine is still running.
    engine.job.reset();
}
