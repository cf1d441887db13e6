// How fast and completely the front-end carries an engine's output to the
// user, and how responsive it stays meanwhile. Runs the built program with
// the stand-in engine under the same conditions as a user would and prints
// one table. Never part of the tests: timings on shared machines vary.
#include "app/ids.h"
#include "app/queue_controller.h"
#include "app/queue_list.h"
#include "app/run_controller.h"
#include "app/window_state.h"
#include "e2e/frontend_driver.h"
#include "util/paths.h"
#include "support/config_scope.h"
#include "support/log_text.h"
#include "support/standin.h"
#include "support/window_harness.h"
#include "util/text.h"

#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

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
        DWORD_PTR ignored = 0;
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
        // The engine writes only 'x': its pieces, wherever the log's own
        // lines (the header, the log file's name) fall around them.
        size_t joined = 0;
        for (const std::wstring& line : lines) {
            if (!line.empty() && line.find_first_not_of(L'x') == std::wstring::npos) {
                joined += line.size();
            }
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

// The built program three seconds into a run whose engine writes a million lines.
struct BurstUnderWay {
    Installation installation;
    FrontEnd frontEnd{installation, L"", {{L"STANDIN_SCRIPT", L"lines:1000000:80"}}};

    BurstUnderWay()
    {
        const std::wstring recording = installation.file(L"talk.wav");
        writeBytes(recording, "RIFF");
        frontEnd.setText(IDC_EDIT_INPUT, recording);
        frontEnd.click(IDC_BTN_OK);
        Sleep(3000); // well into the burst
    }
};

Operations windowOperations()
{
    Operations result;
    BurstUnderWay burst;
    FrontEnd& frontEnd = burst.frontEnd;
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

// From another process, as a user's input and Windows' own messages come:
// input posted to a field every 20 ms, timed until the field has taken it,
// a message sent every 20 ms, and (during a million lines, in a run of
// their own) maximise, minimise, restore and a resize posted to the window,
// each timed until it has taken effect.
struct PostedFromOutside {
    std::vector<double> input;
    std::vector<double> sent; // WM_NULL, sent every 20 ms
    double maximise = 0, minimise = 0, restore = 0, resize = 0;
    bool stillRunning = false;  // the burst was still going on after them
    double runSeconds = 0;
    double fullMaximise = 0, fullRestore = 0; // after the run, with the pane full
};

// Until the effect shows and the window's thread is done with it (it
// answers a message sent after that).
HWND probedWindow = nullptr;
double untilEffect(const std::function<void()>& post, const std::function<bool()>& effect)
{
    const double start = nowMs();
    post();
    while (!effect() && nowMs() - start < 60000) {
        Sleep(1);
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(probedWindow, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
    return nowMs() - start;
}

PostedFromOutside postedFromOutside(const wchar_t* script, bool operations)
{
    PostedFromOutside result;
    Installation installation;
    FrontEnd frontEnd{installation, L"", {{L"STANDIN_SCRIPT", script}}};
    const std::wstring recording = installation.file(L"talk.wav");
    writeBytes(recording, "RIFF");
    frontEnd.setText(IDC_EDIT_INPUT, recording);
    // Positions in the label field to put the caret at, one per probe.
    frontEnd.setText(IDC_EDIT_LABEL, std::wstring(200, L'x'));
    const HWND field = frontEnd.control(IDC_EDIT_LABEL);
    frontEnd.click(IDC_BTN_OK);
    while (frontEnd.enabled(IDC_BTN_OK)) {
        Sleep(1);
    }
    const double started = nowMs();
    std::atomic<bool> done{false};
    std::thread prober([&] {
        for (WPARAM position = 1; !done; position = position % 199 + 1) {
            const double posted = nowMs();
            PostMessageW(field, EM_SETSEL, position, position);
            for (;;) {
                DWORD_PTR selection = 0;
                SendMessageTimeoutW(field, EM_GETSEL, 0, 0, SMTO_NORMAL, 60000, &selection);
                if (LOWORD(selection) == position || nowMs() - posted > 60000) {
                    break;
                }
                Sleep(1);
            }
            result.input.push_back(nowMs() - posted);
            Sleep(20);
        }
    });
    std::thread sender([&] {
        while (!done) {
            const double sent = nowMs();
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(frontEnd.window(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
            result.sent.push_back(nowMs() - sent);
            Sleep(20);
        }
    });
    const HWND window = frontEnd.window();
    probedWindow = window;
    if (operations) {
        Sleep(2000); // well into the burst
        const auto command = [&](WPARAM which) { return [window, which] { PostMessageW(window, WM_SYSCOMMAND, which, 0); }; };
        result.maximise = untilEffect(command(SC_MAXIMIZE), [&] { return IsZoomed(window) != FALSE; });
        result.minimise = untilEffect(command(SC_MINIMIZE), [&] { return IsIconic(window) != FALSE; });
        result.restore = untilEffect(command(SC_RESTORE), [&] { return IsIconic(window) == FALSE; });
        result.restore = std::max(result.restore, untilEffect(command(SC_RESTORE), [&] { return IsZoomed(window) == FALSE; }));
        result.resize = untilEffect(
            [&] { SetWindowPos(window, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER | SWP_ASYNCWINDOWPOS); },
            [&] {
                RECT outer = {};
                GetWindowRect(window, &outer);
                return outer.right - outer.left == 900;
            });
        result.stillRunning = !frontEnd.enabled(IDC_BTN_OK);
    }
    while (!frontEnd.enabled(IDC_BTN_OK)) {
        Sleep(2);
    }
    result.runSeconds = (nowMs() - started) / 1000.0;
    done = true;
    prober.join();
    sender.join();
    if (operations) {
        // With the pane full: the edit control lays out its 10,000 lines anew.
        Sleep(1000);
        const auto command = [&](WPARAM which) { return [window, which] { PostMessageW(window, WM_SYSCOMMAND, which, 0); }; };
        result.fullMaximise = untilEffect(command(SC_MAXIMIZE), [&] { return IsZoomed(window) != FALSE; });
        result.fullRestore = untilEffect(command(SC_RESTORE), [&] { return IsZoomed(window) == FALSE; });
    }
    frontEnd.waitForForeignWindows(1, 5000);
    return result;
}

double cancelLatencyMs()
{
    BurstUnderWay burst;
    HANDLE engine = nullptr;
    for (DWORD id : processesIn(burst.installation.folder())) {
        if (id != burst.frontEnd.processId()) {
            engine = OpenProcess(SYNCHRONIZE, FALSE, id);
        }
    }
    const double pressed = nowMs();
    PostMessageW(burst.frontEnd.window(), WM_COMMAND, MAKEWPARAM(IDC_BTN_CANCEL, BN_CLICKED), 0);
    WaitForSingleObject(engine, 60000);
    const double latency = nowMs() - pressed;
    CloseHandle(engine);
    return latency;
}

// Inside this program: the window made as the program makes it, a run
// started as OK starts it, input posted from another thread every 20 ms and
// timed until the window's thread takes it (a message hook), and two DPI
// changes, which only the window's own thread can send.
struct InProcess {
    std::vector<double> postedMs;
    std::vector<double> dpiChangeMs;
};

struct PostedProbe {
    HWND field = nullptr;
    std::atomic<long> next{0};
    std::vector<double> postedAt = std::vector<double>(100000, 0.0);
    std::vector<double> latencies;
};
PostedProbe* probe = nullptr;
bool probeAlways = false; // also when no run is active

LRESULT CALLBACK takenHook(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    // Until the run has ended: opening the result folder afterwards (under
    // Wine the shell starts a file manager) is not the burst.
    if (code == HC_ACTION && wParam == PM_REMOVE && probe != nullptr && message->hwnd == probe->field
        && message->message == EM_SETSEL && message->lParam == 0x5EE && (runState.running || probeAlways)) {
        probe->latencies.push_back(nowMs() - probe->postedAt[message->wParam]);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Posts the probe's message to its field every few milliseconds until done.
std::thread startPoster(PostedProbe& posted, std::atomic<bool>& done, DWORD everyMs)
{
    return std::thread([&posted, &done, everyMs] {
        while (!done) {
            const long index = posted.next++;
            if (index >= static_cast<long>(posted.postedAt.size())) {
                break;
            }
            posted.postedAt[index] = nowMs();
            PostMessageW(posted.field, EM_SETSEL, index, 0x5EE);
            Sleep(everyMs);
        }
    });
}

InProcess inProcessBurst(const wchar_t* script, bool changeDpi)
{
    InProcess result;
    const ConfigScope config("{\"access_key_id\": \"id\", \"access_key_secret\": \"s\", \"appkey\": \"k\", "
                             "\"oss_bucket\": \"b\", \"region\": \"r\", \"ui_lang\": \"en\"}");
    TempFolder folder;
    const std::wstring recording = folder.file(L"talk.wav");
    writeBytes(recording, "RIFF");
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", script);
    const HWND window = startMainWindow();
    PostedProbe posted;
    posted.field = mainState.controls[CTL_LABEL];
    probe = &posted;
    const HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, takenHook, nullptr, GetCurrentThreadId());
    if (window != nullptr && launchRun(RunRequest{recording, folder.file(L"out"), L"", 2, false})) {
        std::atomic<bool> done{false};
        std::thread poster = startPoster(posted, done, 20);
        if (changeDpi) {
            pumpUntil([] { return false; }, 3000); // well into the burst
            for (const unsigned dpi : {144u, 96u}) {
                RECT suggested = {};
                GetWindowRect(window, &suggested);
                suggested.right = suggested.left + MulDiv(730, static_cast<int>(dpi), 96);
                suggested.bottom = suggested.top + MulDiv(610, static_cast<int>(dpi), 96);
                result.dpiChangeMs.push_back(timed(window, [&] {
                    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
                }));
                pumpUntil([] { return false; }, 500);
            }
            terminateEngine(runState.engine);
        }
        pumpUntil([] { return !runState.running; }, 600000);
        done = true;
        poster.join();
    }
    UnhookWindowsHookEx(hook);
    probe = nullptr;
    result.postedMs = std::move(posted.latencies);
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", nullptr);
    closeMainWindow(window);
    return result;
}

// A drop of a nested folder of recordings, and a queue of items whose
// engine ends at once, in the window made as the program makes it.
struct QueueFigures {
    double dropToListMs = 0;
    std::vector<double> postedMs; // posted input while the drop is taken
    double memoryBeforeMb = 0;
    double memoryAfterMb = 0;
    size_t listed = 0;
    double queueSeconds = 0;
    double engineOnlySeconds = 0;
    size_t items = 0;
};

// What Explorer hands over for a drop: the paths one after another, each
// ended by a zero, and one more zero at the end.
HGLOBAL dropOf(const std::vector<std::wstring>& paths)
{
    size_t units = 1;
    for (const std::wstring& path : paths) {
        units += path.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    wchar_t* at = reinterpret_cast<wchar_t*>(header + 1);
    for (const std::wstring& path : paths) {
        wcscpy(at, path.c_str());
        at += path.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

HGLOBAL dropOf(const std::wstring& path)
{
    return dropOf(std::vector<std::wstring>{path});
}

// A drop of many files picked in one folder (Ctrl+A in Explorer), in the
// window made as the program makes it: from the drop to a filled list.
double filesDropMs(size_t count)
{
    const ConfigScope config("{\"ui_lang\": \"en\"}");
    TempFolder folder;
    std::vector<std::wstring> files;
    for (size_t index = 1; index <= count; ++index) {
        files.push_back(folder.file(L"take " + std::to_wstring(index) + L".wav"));
        writeBytes(files.back(), "RIFF");
    }
    const HWND window = startMainWindow();
    const double dropped = nowMs();
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(files)), 0);
    pumpUntil([&] { return runQueue.items.size() >= count; }, 600000);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const double took = nowMs() - dropped;
    closeMainWindow(window);
    return took;
}

double privateMb()
{
    return megabytes(memoryOf(GetCurrentProcess()).PagefileUsage);
}

// The stand-in started and waited for, as the launch starts it, count times.
double engineOnlySeconds(const std::wstring& recording, const std::wstring& outputRoot, size_t count)
{
    const std::wstring engine = executableDirectory() + L"\\vuruzuz_odurevazu.exe";
    const double start = nowMs();
    for (size_t round = 0; round < count; ++round) {
        std::wstring commandLine = buildCommandLine(engine, RunRequest{recording, outputRoot, L"x", 2, false});
        STARTUPINFOW startup = {sizeof startup};
        PROCESS_INFORMATION started = {};
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                &startup, &started)) {
            WaitForSingleObject(started.hProcess, INFINITE);
            CloseHandle(started.hProcess);
            CloseHandle(started.hThread);
        }
    }
    return (nowMs() - start) / 1000.0;
}

QueueFigures queueFigures(size_t queued)
{
    QueueFigures result;
    const ConfigScope config("{\"access_key_id\": \"id\", \"access_key_secret\": \"s\", \"appkey\": \"k\", "
                             "\"oss_bucket\": \"b\", \"region\": \"r\", \"ui_lang\": \"en\"}");
    TempFolder folder;
    // 2,000 recordings: 20 folders of 10 folders of 10 files, and a few others.
    for (int outer = 1; outer <= 20; ++outer) {
        const std::wstring first = folder.file(L"talks\\day " + std::to_wstring(outer));
        CreateDirectoryW(folder.file(L"talks").c_str(), nullptr);
        CreateDirectoryW(first.c_str(), nullptr);
        for (int inner = 1; inner <= 10; ++inner) {
            const std::wstring second = first + L"\\session " + std::to_wstring(inner);
            CreateDirectoryW(second.c_str(), nullptr);
            for (int file = 1; file <= 10; ++file) {
                writeBytes(second + L"\\take " + std::to_wstring(file) + L".wav", "RIFF");
            }
            writeBytes(second + L"\\notes.txt", "x");
        }
    }
    const HWND window = startMainWindow();
    pumpUntil([] { return false; }, 500);
    result.memoryBeforeMb = privateMb();
    PostedProbe posted;
    posted.field = mainState.controls[CTL_LABEL];
    probe = &posted;
    const HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, takenHook, nullptr, GetCurrentThreadId());
    std::atomic<bool> done{false};
    std::thread poster = startPoster(posted, done, 5);
    probeAlways = true;
    pumpUntil([] { return false; }, 200);
    const double dropped = nowMs();
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(folder.file(L"talks"))), 0);
    pumpUntil([&] {
        return runQueue.items.size() >= 2000 && SendMessageW(queueListWindow(), LVM_GETITEMCOUNT, 0, 0) >= 2000;
    }, 60000);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    result.dropToListMs = nowMs() - dropped;
    pumpUntil([] { return false; }, 300);
    done = true;
    poster.join();
    probeAlways = false;
    UnhookWindowsHookEx(hook);
    probe = nullptr;
    result.postedMs = std::move(posted.latencies);
    result.listed = runQueue.items.size();
    result.memoryAfterMb = privateMb();

    // The queue: the first items, with an engine that ends at once.
    std::vector<size_t> beyond;
    for (size_t index = queued; index < runQueue.items.size(); ++index) {
        beyond.push_back(index);
    }
    removeQueueItems(beyond);
    result.items = runQueue.items.size();
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", L"exit:0");
    const double started = nowMs();
    startQueue({RunRequest{L"", folder.file(L"out"), L"", 2, false}});
    pumpUntil([] { return !queueRunning(); }, 600000);
    result.queueSeconds = (nowMs() - started) / 1000.0;
    result.engineOnlySeconds = engineOnlySeconds(runQueue.items.front().path, folder.file(L"out"), result.items);
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", nullptr);
    closeMainWindow(window);
    return result;
}

void printLatencies(const char* what, std::vector<double> latencies)
{
    std::sort(latencies.begin(), latencies.end());
    if (latencies.empty()) {
        std::printf("%s: no samples\n", what);
        return;
    }
    std::printf("%s: median %.0f ms, p99 %.0f ms, worst %.0f ms (%zu samples)\n", what,
        latencies[latencies.size() / 2], latencies[latencies.size() * 99 / 100], latencies.back(), latencies.size());
}

void printOutside()
{
    // The runs fail at their end, so that no file manager opens a result
    // folder and takes the foreground from the next one.
    const PostedFromOutside lines = postedFromOutside(L"lines:100000:80;exit:3", false);
    printLatencies("From another process, posted input during a 100,000-line run", lines.input);
    printLatencies("From another process, a sent message during a 100,000-line run", lines.sent);
    const PostedFromOutside million = postedFromOutside(L"lines:1000000:80;exit:3", false);
    printLatencies("From another process, posted input during a 1,000,000-line run", million.input);
    printLatencies("From another process, a sent message during a 1,000,000-line run", million.sent);
    // The window operations in a run of their own, so that the probes above
    // time the burst alone.
    const PostedFromOutside burst = postedFromOutside(L"lines:1000000:80;exit:3", true);
    std::printf("From another process during a 1,000,000-line burst (%.1f s; %s), posted until it took effect: "
                "maximise %.0f ms, minimise %.0f ms, restore %.0f ms, resize %.0f ms\n",
        burst.runSeconds, burst.stillRunning ? "still running after them" : "over before they ended", burst.maximise,
        burst.minimise, burst.restore, burst.resize);
    std::printf("After that run, with the pane full: maximise %.0f ms, restore %.0f ms\n", burst.fullMaximise,
        burst.fullRestore);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // --quick: the two smaller sizes only; --only NAME: one row of the table,
    // or with "input" only the posted input's figures.
    const bool quick = argc > 1 && std::wstring(argv[1]) == L"--quick";
    const std::wstring only = argc > 2 && std::wstring(argv[1]) == L"--only" ? argv[2] : L"";
    struct Case {
        const char* name;
        const wchar_t* script;
        unsigned long lines;
        unsigned long longLine;
        bool big;
    };
    const Case cases[] = {
        {"10,000 lines", L"lines:10000:80", 10000, 0, false},
        {"100,000 lines", L"lines:100000:80", 100000, 0, false},
        {"1,000,000 lines", L"lines:1000000:80", 1000000, 0, true},
        {"one 10 MB line", L"long:10485760", 0, 10485760, true},
    };
    if (only == L"drop") {
        std::printf("A drop of 10,200 files picked in one folder: %.1f s to a filled list\n", filesDropMs(10200) / 1000.0);
        return 0;
    }
    if (only == L"queue" || only.empty()) {
        const QueueFigures queue = queueFigures(200);
        std::printf("Drop of a folder of %zu recordings in 200 nested folders: %.0f ms to a filled list; "
                    "memory %.1f MB before, %.1f MB after\n",
            queue.listed, queue.dropToListMs, queue.memoryBeforeMb, queue.memoryAfterMb);
        printLatencies("Posted input (every 5 ms) while the drop was taken", queue.postedMs);
        std::printf("Queue of %zu items whose engine ends at once: %.1f s; the engine alone %.1f s; "
                    "the front-end's own time %.0f ms per item\n",
            queue.items, queue.queueSeconds, queue.engineOnlySeconds,
            (queue.queueSeconds - queue.engineOnlySeconds) * 1000.0 / std::max<size_t>(queue.items, 1));
        std::printf("A drop of 10,200 files picked in one folder: %.1f s to a filled list\n", filesDropMs(10200) / 1000.0);
        if (only == L"queue") {
            return 0;
        }
    }
    if (only == L"input" || only == L"outside") {
        printOutside();
        if (only == L"outside") {
            return 0;
        }
        printLatencies("Posted input during a 100,000-line run", inProcessBurst(L"lines:100000:80", false).postedMs);
        printLatencies("Posted input during a 1,000,000-line run", inProcessBurst(L"lines:1000000:80", false).postedMs);
        return 0;
    }
    std::vector<Result> results;
    for (const Case& row : cases) {
        const std::string name = row.name;
        if ((quick && row.big) || (!only.empty() && std::wstring(name.begin(), name.end()) != only)) {
            continue;
        }
        results.push_back(measure(row.name, row.script, row.lines, row.longLine));
    }
    std::printf("| output | front-end s | file only s | ratio | UI worst ms | UI p99 ms | memory start / peak / "
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
    if (!only.empty()) {
        return 0;
    }
    std::printf("Cancel during a 1,000,000-line burst, click to engine ended: %.0f ms\n", cancelLatencyMs());
    if (!quick) {
        const Operations operations = windowOperations();
        std::printf("During a 1,000,000-line burst, until done and painted: maximise %.0f ms, minimise %.0f ms, "
                    "restore %.0f ms, resize %.0f ms; Close asks after",
            operations.maximise, operations.minimise, operations.restore, operations.resize);
        for (const double ask : operations.closeAsks) {
            std::printf(" %.0f", ask);
        }
        std::printf(" ms\n");
        printLatencies("Posted input during a 100,000-line run", inProcessBurst(L"lines:100000:80", false).postedMs);
        printLatencies("Posted input during a 1,000,000-line run", inProcessBurst(L"lines:1000000:80", false).postedMs);
        std::printf("DPI change during a 1,000,000-line burst, until done and painted:");
        for (const double change : inProcessBurst(L"lines:1000000:80", true).dpiChangeMs) {
            std::printf(" %.0f", change);
        }
        std::printf(" ms\n");
        printOutside();
    }
    return 0;
}
