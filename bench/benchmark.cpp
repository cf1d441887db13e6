// How fast and completely the front-end carries an engine's output to the
// user, and how responsive it stays meanwhile. Runs the built program with
// the stand-in engine under the same conditions as a user would and prints
// one table. Never part of the tests: timings on shared machines vary.
#include "app/ids.h"
#include "e2e/frontend_driver.h"
#include "support/standin.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
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
    double startMb = 0, peakMb = 0, afterMb = 0, logMb = 0;
    long lost = 0, outOfOrder = 0;
    double startupMs = 0;
};

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

    std::atomic<bool> done{false};
    std::vector<double> latencies;
    std::thread probe([&] {
        while (!done) {
            const double sent = nowMs();
            SendMessageTimeoutW(frontEnd.window(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
            latencies.push_back(nowMs() - sent);
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

    const std::wstring log = frontEnd.log();
    result.logMb = megabytes(log.size() * sizeof(wchar_t));
    const std::vector<std::wstring> lines = frontEnd.logLines();
    if (longLineBytes > 0) {
        size_t joined = 0;
        for (size_t index = 3; index + 1 < lines.size(); ++index) {
            joined += lines[index].size();
        }
        result.lost = static_cast<long>(longLineBytes) - static_cast<long>(joined);
    } else {
        unsigned long next = 1;
        for (size_t index = 3; index + 1 < lines.size(); ++index) {
            unsigned long number = 0;
            if (swscanf(lines[index].c_str(), L"line %lu", &number) != 1) {
                continue;
            }
            if (number != next) {
                ++result.outOfOrder;
            }
            next = number + 1;
        }
        long found = 0;
        for (size_t index = 3; index + 1 < lines.size(); ++index) {
            found += lines[index].rfind(L"line ", 0) == 0 ? 1 : 0;
        }
        result.lost = static_cast<long>(expectedLines) - found;
    }
    if (lines.empty() || lines.back() != L"Done.") {
        std::printf("  (%s: the log does not end with Done.)\n", name.c_str());
    }
    frontEnd.waitForForeignWindows(1, 5000);
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
    std::printf("| output | front-end s | file only s | ratio | UI worst ms | UI p99 ms | memory start / peak / "
                "after MB | log text MB | lost | out of order |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    for (const Result& result : results) {
        std::printf("| %s | %.1f | %.2f | %.0f | %.0f | %.0f | %.0f / %.0f / %.0f | %.0f | %ld | %ld |\n",
            result.name.c_str(), result.frontEndSeconds, result.fileOnly,
            result.fileOnly > 0 ? result.frontEndSeconds / result.fileOnly : 0.0, result.worstMs, result.p99Ms,
            result.startMb, result.peakMb, result.afterMb, result.logMb, result.lost, result.outOfOrder);
    }
    double startup = 0;
    for (const Result& result : results) {
        startup = std::max(startup, result.startupMs);
    }
    std::printf("\nStart to the window answering messages: %.0f ms (slowest of %zu starts)\n", startup,
        results.size());
    std::printf("Cancel during a 1,000,000-line burst, click to engine ended: %.0f ms\n", cancelLatencyMs());
    return 0;
}
