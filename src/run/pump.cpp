#include "run/pump.h"

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

// Waits while the window has many lines it has not shown yet. Gives up
// (returns false) when the window is gone.
bool waitForRoom(HWND window, const LineCounter& unshown)
{
    while (unshown->load() > MAX_UNSHOWN_LINES) {
        if (!IsWindow(window)) {
            return false;
        }
        Sleep(5);
    }
    return true;
}

bool postLines(HWND window, const LineCounter& unshown, std::vector<std::string>& lines)
{
    if (lines.empty()) {
        return true;
    }
    if (!waitForRoom(window, unshown)) {
        return false;
    }
    auto batch = std::make_unique<OutputBatch>();
    batch->reserve(lines.size());
    for (const std::string& line : lines) {
        std::wstring text = utf8ToWide(line);
        // The log takes NUL-terminated text: a NUL would cut off the rest of
        // the line and every line inserted with it.
        std::replace(text.begin(), text.end(), L'\0', wchar_t(0xFFFD));
        batch->push_back(std::move(text));
    }
    unshown->fetch_add(batch->size());
    if (!deliver(window, WM_RUN_OUTPUT, 0, reinterpret_cast<LPARAM>(batch.get()))) {
        return false; // the window is gone; the lines go with it
    }
    batch.release(); // now the window's
    lines.clear();
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
        assembler.feed(std::string_view(buffer.data(), got), lines);
        if (!postLines(window, context->unshownLines, lines)) {
            return 0;
        }
    }
    if (std::optional<std::string> last = assembler.finish()) {
        lines.push_back(std::move(*last));
        if (!postLines(window, context->unshownLines, lines)) {
            return 0;
        }
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
    returnToIdle();
    if (exitCode != 0) {
        appendLog(fillPlaceholder(uiText(T_MSG_FAILED), std::to_wstring(exitCode)));
        return;
    }
    appendLog(uiText(T_MSG_DONE));
    if (!runState.outputFolder.empty()) {
        openFolder(runState.outputFolder);
    }
}
