// How fast and completely the front-end carries an engine's output to the
// user, and how responsive it stays meanwhile. Runs the built program with
// the stand-in engine under the same conditions as a user would and prints
// one table. Never part of the tests: timings on shared machines vary.
#include "app/ids.h"
#include "app/window_state.h"
#include "e2e/frontend_driver.h"
#include "run/launch.h"
#include "run/run_state.h"
#include "support/config_scope.h"
#include "support/log_text.h"
#include "support/standin.h"
#include "support/window_harness.h"
#include "util/text.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <functional>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

double seconds(ULONGLONG fromMs, ULONGLONG toMs)
{
    return static_cast<double>(toMs - fromMs) / 1000.0;
}

double nowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double megabytes(SIZE_T bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

PROCESS_MEMORY_COUNTERS_EX memoryOf(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters;
}

// The engine writing the same bytes straight into a file.
double fileOnlySeconds(const Installation& installation, const std::wstring& script)
{
    const std::wstring target = installation.file(L"file-only.txt");
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    UniqueHandle file = adoptHandle(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const ULONGLONG begin = GetTickCount64();
    const UniqueHandle engine = startStandIn(installation.engine(), file.get(), script);
    WaitForSingleObject(engine.get(), INFINITE);
    const ULONGLONG end = GetTickCount64();
    return seconds(begin, end);
}

struct Result {
    std::string name;
    double frontEndSeconds = 0;
    double fileOnly = 0;
    double worstMs = 0;
    double p99Ms = 0;
    double startMb = 0, peakMb = 0, afterMb = 0, logMb = 0, paneMb = 0;
    long lost = 0, outOfOrder = 0;
    double startupMs = 0;
};

// Posted input, as a key or click arrives: a selection change posted to the
// label field, timed until the field reports it.
double postedInputMs(HWND field, int& toggle)
{
    toggle ^= 1;
    const double posted = nowMs();
    PostMessageW(field, EM_SETSEL, toggle, toggle);
    for (;;) {
        DWORD_PTR selection = 0;
        if (SendMessageTimeoutW(field, EM_GETSEL, 0, 0, SMTO_NORMAL, 60000, &selection)
            && LOWORD(selection) == toggle) {
            return nowMs() - posted;
        }
        Sleep(0);
    }
}

Result measure(const std::string& name, const std::wstring& script, unsigned long expectedLines,
    unsigned long longLineBytes)
{
    Result result;
    result.name = name;
    Installation installation;
    result.fileOnly = fileOnlySeconds(installation, script);
    const std::wstring recording = installation.file(L"talk.wav");
    writeBytes(recording, "RIFF");

    const double launched = nowMs();
    FrontEnd frontEnd(installation, L"", {{L"STANDIN_SCRIPT", script}});
    DWORD_PTR ignored = 0;
    while (!SendMessageTimeoutW(frontEnd.window(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored)) {
    }
    result.startupMs = nowMs() - launched;
    Sleep(500);
    result.startMb = megabytes(memoryOf(frontEnd.process()).PagefileUsage);
    frontEnd.setText(IDC_EDIT_INPUT, recording);

    frontEnd.setText(IDC_EDIT_LABEL, L"ab");
    std::atomic<bool> done{false};
    std::vector<double> latencies;
    std::thread probe([&] {
        int toggle = 0;
        while (!done) {
            latencies.push_back(postedInputMs(frontEnd.control(IDC_EDIT_LABEL), toggle));
            Sleep(20);
        }
    });
    frontEnd.click(IDC_BTN_OK);
    while (frontEnd.enabled(IDC_BTN_OK)) {
        Sleep(1);
    }
    const ULONGLONG started = GetTickCount64();
    while (!frontEnd.enabled(IDC_BTN_OK)) {
        Sleep(2);
    }
    const ULONGLONG finished = GetTickCount64();
    done = true;
    probe.join();
    result.frontEndSeconds = seconds(started, finished);
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        result.worstMs = latencies.back();
        result.p99Ms = latencies[latencies.size() * 99 / 100];
    }
    Sleep(1000);
    const PROCESS_MEMORY_COUNTERS_EX memory = memoryOf(frontEnd.process());
    result.peakMb = megabytes(memory.PeakPagefileUsage);
    result.afterMb = megabytes(memory.PagefileUsage);

    // Everything the log holds, from Save log's file.
    result.paneMb = megabytes(frontEnd.log().size() * sizeof(wchar_t));
    const std::wstring saved = installation.file(L"saved log.txt");
    std::vector<std::wstring> lines;
    if (frontEnd.saveLog(saved) && waitUntil([&] { return fileExists(saved); }, 60000)) {
        const std::string bytes = readBytes(saved);
        result.logMb = megabytes(bytes.size());
        lines = splitLog(utf8ToWide(bytes));
    }
    if (longLineBytes > 0) {
        size_t joined = 0;
        for (size_t index = 3; index + 1 < lines.size(); ++index) {
            joined += lines[index].size();
        }
        result.lost = static_cast<long>(longLineBytes) - static_cast<long>(joined);
    } else {
        unsigned long next = 1;
        long found = 0;
        for (size_t index = 3; index + 1 < lines.size(); ++index) {
            unsigned long number = 0;
            if (swscanf(lines[index].c_str(), L"line %lu", &number) != 1) {
                continue;
            }
            ++found;
            if (number != next) {
                ++result.outOfOrder;
            }
            next = number + 1;
        }
        result.lost = static_cast<long>(expectedLines) - found;
    }
    if (lines.empty() || lines.back() != L"Done.") {
        std::printf("  (%s: the log does not end with Done.)\n", name.c_str());
    }
    frontEnd.waitForForeignWindows(1, 5000);
    return result;
}

// How long the window takes to do what it is asked during a 1,000,000-line
// burst, each step timed until the call has returned and the window has
// painted (a cross-thread call waits for the window's thread).
struct Operations {
    double maximise = 0, minimise = 0, restore = 0, resize = 0;
    std::vector<double> closeAsks;
};

double timed(HWND window, const std::function<void()>& step)
{
    const double start = nowMs();
    step();
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return nowMs() - start;
}

Operations windowOperations()
{
    Operations result;
    Installation installation;
    const std::wstring recording = installation.file(L"talk.wav");
    writeBytes(recording, "RIFF");
    FrontEnd frontEnd(installation, L"", {{L"STANDIN_SCRIPT", L"lines:1000000:80"}});
    frontEnd.setText(IDC_EDIT_INPUT, recording);
    frontEnd.click(IDC_BTN_OK);
    Sleep(3000); // well into the burst
    const HWND window = frontEnd.window();
    result.maximise = timed(window, [&] { ShowWindow(window, SW_MAXIMIZE); });
    result.minimise = timed(window, [&] { ShowWindow(window, SW_MINIMIZE); });
    result.restore = timed(window, [&] { ShowWindow(window, SW_RESTORE); });
    result.restore = std::max(result.restore, timed(window, [&] { ShowWindow(window, SW_RESTORE); }));
    result.resize = timed(window, [&] { SetWindowPos(window, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER); });
    for (int round = 0; round < 4 && !frontEnd.enabled(IDC_BTN_OK); ++round) {
        const double start = nowMs();
        frontEnd.close();
        const MessageBoxSeen box = frontEnd.waitForMessageBox(60000);
        result.closeAsks.push_back(nowMs() - start);
        FrontEnd::answer(box, IDCANCEL);
        Sleep(500);
    }
    return result;
}

// A DPI change can only be sent from inside: the window is made in this
// program, its run started as OK would, and WM_DPICHANGED sent to it twice.
std::vector<double> dpiChangesMs()
{
    const ConfigScope config("{\"access_key_id\": \"id\", \"access_key_secret\": \"s\", \"appkey\": \"k\", "
                             "\"oss_bucket\": \"b\", \"region\": \"r\", \"ui_lang\": \"en\"}");
    TempFolder folder;
    const std::wstring recording = folder.file(L"talk.wav");
    writeBytes(recording, "RIFF");
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", L"lines:1000000:80");
    const HWND window = startMainWindow();
    std::vector<double> result;
    if (window != nullptr && launchRun(RunRequest{recording, folder.file(L"out"), L"", 2, false})) {
        pumpUntil([] { return false; }, 3000);
        for (const unsigned dpi : {144u, 96u}) {
            RECT suggested = {};
            GetWindowRect(window, &suggested);
            suggested.right = suggested.left + MulDiv(730, static_cast<int>(dpi), 96);
            suggested.bottom = suggested.top + MulDiv(610, static_cast<int>(dpi), 96);
            result.push_back(timed(window, [&] {
                SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
            }));
            pumpUntil([] { return false; }, 500);
        }
        terminateRun();
        pumpUntil([] { return !runState.running; }, 60000);
    }
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", nullptr);
    closeMainWindow(window);
    return result;
}

double cancelLatencyMs()
{
    Installation installation;
    const std::wstring recording = installation.file(L"talk.wav");
    writeBytes(recording, "RIFF");
    FrontEnd frontEnd(installation, L"", {{L"STANDIN_SCRIPT", L"lines:1000000:80"}});
    frontEnd.setText(IDC_EDIT_INPUT, recording);
    frontEnd.click(IDC_BTN_OK);
    Sleep(3000); // well into the burst
    HANDLE engine = nullptr;
    for (DWORD id : processesIn(installation.folder())) {
        if (id != frontEnd.processId()) {
            engine = OpenProcess(SYNCHRONIZE, FALSE, id);
        }
    }
    const double pressed = nowMs();
    PostMessageW(frontEnd.window(), WM_COMMAND, MAKEWPARAM(IDC_BTN_CANCEL, BN_CLICKED), 0);
    WaitForSingleObject(engine, 60000);
    const double latency = nowMs() - pressed;
    CloseHandle(engine);
    return latency;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool quick = argc > 1 && std::wstring(argv[1]) == L"--quick";
    std::vector<Result> results;
    results.push_back(measure("10,000 lines", L"lines:10000:80", 10000, 0));
    results.push_back(measure("100,000 lines", L"lines:100000:80", 100000, 0));
    if (!quick) {
        results.push_back(measure("1,000,000 lines", L"lines:1000000:80", 1000000, 0));
        results.push_back(measure("one 10 MB line", L"long:10485760", 0, 10485760));
    }
    std::printf("| output | front-end s | file only s | ratio | input worst ms | input p99 ms | memory start / peak / "
                "after MB | log UTF-8 MB | pane MB | lost | out of order |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const Result& result : results) {
        std::printf("| %s | %.1f | %.2f | %.0f | %.0f | %.0f | %.0f / %.0f / %.0f | %.0f | %.1f | %ld | %ld |\n",
            result.name.c_str(), result.frontEndSeconds, result.fileOnly,
            result.fileOnly > 0 ? result.frontEndSeconds / result.fileOnly : 0.0, result.worstMs, result.p99Ms,
            result.startMb, result.peakMb, result.afterMb, result.logMb, result.paneMb, result.lost,
            result.outOfOrder);
    }
    double startup = 0;
    for (const Result& result : results) {
        startup = std::max(startup, result.startupMs);
    }
    std::printf("\nStart to the window answering messages: %.0f ms (slowest of %zu starts)\n", startup,
        results.size());
    std::printf("Cancel during a 1,000,000-line burst, click to engine ended: %.0f ms\n", cancelLatencyMs());
    if (!quick) {
        const Operations operations = windowOperations();
        std::printf("During a 1,000,000-line burst, until done and painted: maximise %.0f ms, minimise %.0f ms, "
                    "restore %.0f ms, resize %.0f ms; Close asks after",
            operations.maximise, operations.minimise, operations.restore, operations.resize);
        for (const double ask : operations.closeAsks) {
            std::printf(" %.0f", ask);
        }
        std::printf(" ms; DPI change");
        for (const double change : dpiChangesMs()) {
            std::printf(" %.0f", change);
        }
        std::printf(" ms\n");
    }
    return 0;
}
