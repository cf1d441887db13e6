#include "run/launch.h"

#include "app/commands.h"
#include "app/window_state.h"
#include "config/config.h"
#include "run/engine_contract.h"
#include "run/pump.h"
#include "run/run_state.h"
#include "text/catalogue.h"
#include "text/log_pane.h"
#include "util/paths.h"
#include "util/text.h"

#include <memory>
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
// alone would leave them running and the run without an end.
UniqueHandle createRunJob()
{
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    if (job == nullptr) {
        return job;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
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

void rememberPaths(AppConfig& config, const RunRequest& request)
{
    config["last_input"] = wideToUtf8(request.inputPath);
    config["last_output"] = wideToUtf8(request.outputRoot);
    saveConfig(config);
}

void CALLBACK onEngineExit(void* context, BOOLEAN)
{
    const ExitWatch* watch = static_cast<const ExitWatch*>(context);
    PostMessageW(watch->window, WM_ENGINE_EXITED, watch->serial, 0);
}

} // namespace

void releaseRunHandles()
{
    if (runState.exitWait != nullptr) {
        // Waits for a callback under way, so none runs after this.
        UnregisterWaitEx(runState.exitWait, INVALID_HANDLE_VALUE);
        runState.exitWait = nullptr;
    }
    runState.exitWatch.reset();
    if (mainState.mainWindow != nullptr) {
        KillTimer(mainState.mainWindow, HELPER_GRACE_TIMER_ID);
    }
    runState.process.reset();
    // Closing the job ends whatever helper of the engine is still running.
    runState.job.reset();
    runState.unshownLines.reset();
}

void returnToIdle()
{
    releaseRunHandles();
    runState.running = false;
    setBusy(false);
}

void engineExited(unsigned serial)
{
    if (serial == runState.serial && runState.running && runState.job != nullptr && mainState.mainWindow != nullptr) {
        SetTimer(mainState.mainWindow, HELPER_GRACE_TIMER_ID, HELPER_GRACE_MS, nullptr);
    }
}

void stopLeftoverHelpers()
{
    KillTimer(mainState.mainWindow, HELPER_GRACE_TIMER_ID);
    if (runState.running && runState.job != nullptr) {
        // The engine has ended with its own exit code; only helpers are left.
        TerminateJobObject(runState.job.get(), CANCELLED_EXIT_CODE);
    }
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

bool launchRun(const RunRequest& request)
{
    if (runState.running) {
        return false;
    }
    if (!pathExists(request.inputPath)) {
        refuse(T_ERR_NO_FILE, MB_ICONWARNING);
        return false;
    }
    const std::wstring enginePath = executableDirectory() + ENGINE_FILE_SUFFIX;
    if (!pathExists(enginePath)) {
        refuse(T_ERR_NO_ENGINE, MB_ICONERROR);
        return false;
    }
    AppConfig config = loadConfig(); // also takes the file's language for what follows
    if (!accountComplete(accountValues(config))) {
        refuse(T_ERR_NEED_ACCOUNT, MB_ICONWARNING);
        return false;
    }
    rememberPaths(config, request);

    const std::wstring commandLine = buildCommandLine(enginePath, request);

    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        refuse(T_ERR_START, MB_ICONERROR);
        return false;
    }
    UniqueHandle pipeRead(readEnd);
    UniqueHandle pipeWrite(writeEnd);
    SetHandleInformation(pipeRead.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = pipeWrite.get();
    startup.hStdError = pipeWrite.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::vector<wchar_t> writableCommandLine(commandLine.begin(), commandLine.end());
    writableCommandLine.push_back(L'\0');

    UniqueHandle job = createRunJob();
    PROCESS_INFORMATION started = {};
    // Suspended until it is in the job, so no helper it starts can escape it.
    if (!CreateProcessW(nullptr, writableCommandLine.data(), nullptr, nullptr, TRUE,
            CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &started)) {
        refuse(T_ERR_START, MB_ICONERROR);
        return false;
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle primaryThread(started.hThread);
    if (job != nullptr && !AssignProcessToJobObject(job.get(), process.get())) {
        job.reset(); // cancel then ends the engine alone
    }
    ResumeThread(primaryThread.get());
    primaryThread.reset();
    pipeWrite.reset(); // the read end now ends with the engine and its helpers

    HANDLE pumpProcess = nullptr;
    DuplicateHandle(GetCurrentProcess(), process.get(), GetCurrentProcess(), &pumpProcess, 0, FALSE,
        DUPLICATE_SAME_ACCESS);

    runState.process = std::move(process);
    runState.job = std::move(job);
    runState.unshownLines = std::make_shared<std::atomic<size_t>>(0);
    runState.running = true;
    setBusy(true);
    appendLog(std::wstring(uiText(T_LOG_START)) + request.inputPath);

    SYSTEMTIME now;
    GetLocalTime(&now);
    runState.outputFolder = deriveOutputFolder(
        request.outputRoot, dateFolderName(now.wYear, now.wMonth, now.wDay), runFolderName(request));
    appendLog(std::wstring(uiText(T_LBL_OUTPUT)) + L" " + runState.outputFolder);
    runState.exitWatch = std::make_unique<ExitWatch>(ExitWatch{mainState.mainWindow, ++runState.serial});
    if (!RegisterWaitForSingleObject(&runState.exitWait, runState.process.get(), onEngineExit,
            runState.exitWatch.get(), INFINITE, WT_EXECUTEONLYONCE)) {
        runState.exitWait = nullptr;
    }

    auto context = std::make_unique<PumpContext>(
        PumpContext{mainState.mainWindow, UniqueHandle(pumpProcess), std::move(pipeRead), runState.unshownLines});
    if (pumpProcess == nullptr || !startPumpThread(context.get())) {
        // Without a pump no end of run would ever come: stop the engine and
        // go back to idle.
        context.reset();
        terminateRun();
        returnToIdle();
        refuse(T_ERR_START, MB_ICONERROR);
        return false;
    }
    context.release(); // the pump's now
    return true;
}
