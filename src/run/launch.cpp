#include "run/launch.h"

#include "app/commands.h"
#include "app/taskbar.h"
#include "app/window_state.h"
#include "config/config.h"
#include "run/engine_contract.h"
#include "run/output_queue.h"
#include "run/pump.h"
#include "run/queue_run.h"
#include "run/run_state.h"
#include "text/catalogue.h"
#include "text/log_pane.h"
#include "util/paths.h"
#include "util/text.h"

#include <shellapi.h>

#include <memory>
#include <thread>
#include <vector>

RunState runState;

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

void refuse(TextId text, UINT icon)
{
    showMessage(mainState.mainWindow, text, MB_OK | icon);
}

// Not reported when it fails: the run does not depend on it. The speaker
// count and the clips choice are written only here, so the file written
// from the defaults stays as it was.
void rememberChoices(const RunRequest& request)
{
    updateConfig([&](AppConfig& config) {
        config["last_input"] = wideToUtf8(request.inputPath);
        config["last_output"] = wideToUtf8(request.outputRoot);
        config["last_speakers"] = request.speakerCount;
        config["last_clips"] = request.makeClips;
    });
}

// Starts the engine suspended, so it is in the job before it can start
// anything, with its output in the pipe and no console window. The error
// mode a child inherits is set around the start (and the job's limit does
// the same for the engine's own children): a crash then ends the engine
// with its exit code instead of a system error dialog that blocks the run.
bool startEngine(std::wstring commandLine, HANDLE output, HANDLE job, UniqueHandle& process)
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

void releaseRunHandles()
{
    runState.process.reset();
    // Closing the job ends whatever helper of the engine is still running.
    runState.job.reset();
}

void terminateRun()
{
    if (runState.job != nullptr) {
        TerminateJobObject(runState.job.get(), CANCELLED_EXIT_CODE);
    }
    if (runState.process != nullptr) {
        TerminateProcess(runState.process.get(), CANCELLED_EXIT_CODE);
    }
}

namespace {

// False when the folder is not there afterwards or the shell would not open it.
bool openFolderNow(const std::wstring& folder)
{
    // A relative folder is relative to the current folder, which the engine
    // shares; the shell is given the full path, and only ever a folder.
    const std::wstring full = fullPath(folder);
    if (!createFolderPath(full)) {
        return false;
    }
    std::wstring target = full;
    if (target.size() >= MAX_PATH) {
        // The shell takes no longer paths; the short form often fits.
        std::wstring shortForm(32768, L'\0');
        const DWORD length = GetShortPathNameW(longPathForm(full).c_str(), shortForm.data(), 32768);
        if (length > 0 && length < 32768) {
            shortForm.resize(length);
            target = withoutLongPathPrefix(shortForm);
        }
    }
    SHELLEXECUTEINFOW execute = {sizeof execute};
    // The thread ends right after: the shell finishes before it returns.
    execute.fMask = SEE_MASK_NOASYNC;
    execute.lpVerb = L"open";
    execute.lpFile = target.c_str();
    execute.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&execute) != FALSE;
}

} // namespace

void openResultFolder(const std::wstring& folder)
{
    // The shell may take many seconds (a file manager that starts slowly, a
    // network folder, a handler that waits for it to be idle); the window
    // answers meanwhile, and hears back only when it failed.
    HWND window = mainState.mainWindow;
    std::thread([window, folder] {
        // As the shell's documentation asks of a thread that calls it.
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        if (!openFolderNow(folder)) {
            auto told = std::make_unique<std::wstring>(folder);
            if (PostMessageW(window, WM_OPEN_FAILED, 0, reinterpret_cast<LPARAM>(told.get()))) {
                told.release(); // the window's now
            }
        }
        if (SUCCEEDED(com)) {
            CoUninitialize();
        }
    }).detach();
}

void tellOpenFailed(std::wstring* folder)
{
    const std::unique_ptr<std::wstring> owned(folder);
    appendLog(fillPlaceholder(uiText(T_MSG_OPEN_FAILED), *owned));
}

bool checkRunConditions(const std::wstring& typedLabel, const std::vector<RunFolderName>& folderNames,
    const std::wstring& outputRoot)
{
    if (typedLabel.size() > 255) {
        refuse(T_ERR_LABEL_TOO_LONG, MB_ICONWARNING);
        return false;
    }
    if (!typedLabel.empty() && !isValidFolderName(typedLabel)) {
        refuse(T_ERR_BAD_LABEL, MB_ICONWARNING);
        return false;
    }
    // Each run's folder is one folder below the date: the label, or the
    // recording's name, which may be no folder name at all ("...wav"). In a
    // queue the label is joined to the name, so the name is to blame.
    for (const RunFolderName& folder : folderNames) {
        if (isValidFolderName(folder.name)) {
            continue;
        }
        if (!folder.recording.empty()) {
            showMessage(mainState.mainWindow, T_ERR_ITEM_NAME, folder.recording, MB_OK | MB_ICONWARNING);
        } else {
            refuse(typedLabel.empty() ? T_ERR_NEED_LABEL : T_ERR_BAD_LABEL, MB_ICONWARNING);
        }
        return false;
    }
    if (namesDevice(outputRoot)) {
        refuse(T_ERR_DEVICE_OUTPUT, MB_ICONWARNING);
        return false;
    }
    const std::wstring enginePath = executableDirectory() + ENGINE_FILE_SUFFIX;
    if (!pathExists(enginePath)) {
        refuse(T_ERR_NO_ENGINE, MB_ICONERROR);
        return false;
    }
    const LoadedConfig loaded = loadConfigReport(); // also takes the file's language for what follows
    if (loaded.problem == ConfigProblem::InUse) {
        // Its values are not empty, only out of reach for now.
        showMessage(mainState.mainWindow, T_ERR_CONFIG_IN_USE, configFilePath(), MB_OK | MB_ICONWARNING);
        return false;
    }
    const AppConfig& config = loaded.config;
    if (!accountComplete(accountValues(config))) {
        refuse(T_ERR_NEED_ACCOUNT, MB_ICONWARNING);
        return false;
    }
    return true;
}

bool launchRun(const RunRequest& request)
{
    if (runState.running) {
        return false;
    }
    if (const PathKind input = pathKind(request.inputPath); input != PathKind::File) {
        refuse(input == PathKind::Folder ? T_ERR_INPUT_IS_FOLDER : T_ERR_NO_FILE, MB_ICONWARNING);
        return false;
    }
    if (!checkRunConditions(request.label, {{runFolderName(request)}}, request.outputRoot)) {
        return false;
    }
    if (const StartResult started = startRun(request); started != StartResult::Started) {
        if (started == StartResult::TooLong) {
            refuse(T_ERR_COMMAND_TOO_LONG, MB_ICONWARNING);
        } else {
            refuse(T_ERR_START, MB_ICONERROR);
        }
        return false;
    }
    return true;
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

StartResult startRun(const RunRequest& request)
{
    if (runState.running) {
        return StartResult::NotStarted;
    }
    rememberChoices(request);
    const LaunchPlan plan = planRunNow(request);
    if (!plan.fits) {
        return StartResult::TooLong;
    }

    UniqueHandle pipeRead;
    UniqueHandle pipeWrite;
    if (!createOutputPipe(pipeRead, pipeWrite)) {
        return StartResult::NotStarted;
    }
    UniqueHandle job = createRunJob();
    UniqueHandle process;
    if (!startEngine(plan.commandLine, pipeWrite.get(), job.get(), process)) {
        return StartResult::NotStarted;
    }
    pipeWrite.reset(); // the read end now ends with the engine and its helpers

    HANDLE pumpProcess = nullptr;
    DuplicateHandle(GetCurrentProcess(), process.get(), GetCurrentProcess(), &pumpProcess, 0, FALSE,
        DUPLICATE_SAME_ACCESS);

    runState.process = std::move(process);
    runState.job = std::move(job);
    runState.running = true;
    runState.cancelled = false;
    runState.endedByCancel = false;
    setBusy(true);
    if (!queueRunning()) {
        showRunOnTaskbar(mainState.mainWindow, RunProgress::Active);
    }
    appendLog(std::wstring(uiText(T_LOG_START)) + request.inputPath);
    runState.outputFolder = plan.outputFolder;
    appendLog(std::wstring(uiText(T_LBL_OUTPUT)) + L" " + runState.outputFolder);

    auto output = std::make_shared<OutputQueue>(mainState.mainWindow);
    readRunOutput(output);
    auto context = std::make_unique<PumpContext>(PumpContext{UniqueHandle(pumpProcess), std::move(pipeRead), output});
    if (pumpProcess == nullptr || !startPumpThread(context.get())) {
        // Without a pump no end of run would ever come: stop the engine and
        // go back to idle.
        context.reset();
        readRunOutput(nullptr);
        terminateRun();
        releaseRunHandles();
        runState.running = false;
        if (!queueRunning()) {
            setBusy(false);
        }
        return StartResult::NotStarted;
    }
    context.release(); // the pump's now
    return StartResult::Started;
}

void showRunFinished(unsigned exitCode)
{
    releaseRunHandles();
    runState.running = false;
    if (exitCode != 0) {
        appendLog(fillPlaceholder(uiText(T_MSG_FAILED), exitCodeText(exitCode)));
    } else {
        appendLog(uiText(T_MSG_DONE));
    }
    if (queueRunning()) {
        queueItemFinished(exitCode);
        return;
    }
    setBusy(false);
    showRunOnTaskbar(mainState.mainWindow, exitCode == 0 ? RunProgress::Done : RunProgress::Failed);
    if (exitCode == 0 && !runState.outputFolder.empty()) {
        openResultFolder(runState.outputFolder);
    }
}
