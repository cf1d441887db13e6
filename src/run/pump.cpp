#include "run/pump.h"

#include "app/commands.h"
#include "app/window_state.h"
#include "run/line_assembler.h"
#include "run/run_state.h"
#include "text/catalogue.h"
#include "text/log_pane.h"
#include "util/text.h"

#include <process.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

PostMessageFunction pumpPostMessage = PostMessageW;

namespace {

constexpr DWORD READ_SIZE = 8192;

bool startThread(PumpContext* context)
{
    const uintptr_t thread = _beginthreadex(nullptr, 0, outputPump, context, 0, nullptr);
    if (thread == 0) {
        return false;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread)); // never joined
    return true;
}

// A Windows queue holds at most 10,000 posted messages and refuses more; a
// fast engine can get there while the window is busy. Wait and post again,
// which keeps the order, for as long as the window exists.
bool deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (DWORD pause = 1;; pause = std::min<DWORD>(pause * 2, 50)) {
        if (pumpPostMessage(window, message, wParam, lParam)) {
            return true;
        }
        if (!IsWindow(window)) {
            return false;
        }
        Sleep(pause);
    }
}

bool postLine(HWND window, std::string_view utf8)
{
    auto line = std::make_unique<std::wstring>(utf8ToWide(utf8));
    if (!deliver(window, WM_RUN_OUTPUT, 0, reinterpret_cast<LPARAM>(line.get()))) {
        return false; // the window is gone; the line goes with it
    }
    line.release(); // now the window's
    return true;
}

void openFolder(const std::wstring& folder)
{
    std::error_code ignored;
    std::filesystem::path path(folder);
    std::filesystem::create_directories(path, ignored);
    // A relative folder means relative to the current folder, which the
    // engine shares; the shell is given the full path.
    std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    const std::wstring target = absolute.empty() ? folder : absolute.wstring();
    ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

PumpStarter startPumpThread = startThread;

unsigned __stdcall outputPump(void* parameter)
{
    std::unique_ptr<PumpContext> context(static_cast<PumpContext*>(parameter));
    const HWND window = context->window;
    LineAssembler assembler;
    std::vector<char> buffer(READ_SIZE);
    std::vector<std::string> lines;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(context->pipeRead.get(), buffer.data(), READ_SIZE, &got, nullptr)) {
            break; // broken pipe: every writer has gone
        }
        if (got == 0) {
            // A zero-length write by the engine, not the end: stopping here
            // would leave an engine that keeps writing blocked on a full pipe.
            continue;
        }
        lines.clear();
        assembler.feed(std::string_view(buffer.data(), got), lines);
        for (const std::string& line : lines) {
            if (!postLine(window, line)) {
                return 0;
            }
        }
    }
    if (std::optional<std::string> last = assembler.finish(); last && !postLine(window, *last)) {
        return 0;
    }
    WaitForSingleObject(context->process.get(), INFINITE);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(context->process.get(), &exitCode)) {
        exitCode = 0;
    }
    context->pipeRead.reset();
    deliver(window, WM_RUN_FINISHED, exitCode, 0);
    return 0;
}

void showRunFinished(unsigned exitCode)
{
    runState.process.reset();
    // Closing the job ends whatever helper of the engine is still running.
    runState.job.reset();
    runState.running = false;
    setBusy(false);
    if (exitCode != 0) {
        appendLog(fillPlaceholder(uiText(T_MSG_FAILED), std::to_wstring(exitCode)));
        return;
    }
    appendLog(uiText(T_MSG_DONE));
    if (!runState.outputFolder.empty()) {
        openFolder(runState.outputFolder);
    }
}
