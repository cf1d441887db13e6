#include "run/run_log_file.h"

#include "run/run_request.h"
#include "util/paths.h"

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <thread>
#include <vector>

namespace {

// How far behind the file may be at most, and how much may wait before it
// is written anyway.
constexpr auto WRITE_EVERY = std::chrono::milliseconds(1000);
constexpr size_t WRITE_AT = 1024 * 1024;

bool writeAll(HANDLE file, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

void writeLoop(RunLogWriting* log)
{
    std::unique_lock<std::mutex> guard(log->lock);
    for (;;) {
        log->wake.wait_for(guard, WRITE_EVERY,
            [log] { return log->closing || log->flushNow || log->waiting.size() >= WRITE_AT; });
        std::string bytes;
        bytes.swap(log->waiting);
        const bool closing = log->closing;
        const bool flushNow = log->flushNow;
        guard.unlock();
        if (!bytes.empty()) {
            // A full disk costs the file its lines, never the run.
            writeAll(log->file.get(), bytes);
            FlushFileBuffers(log->file.get());
        }
        guard.lock();
        if (flushNow) {
            log->flushNow = false;
            log->flushed = true;
            log->wake.notify_all();
        }
        if (closing && log->waiting.empty()) {
            return;
        }
    }
}

// Files whose last lines are still being written after their run ended.
std::mutex writersLock;
std::condition_variable writersDone;
size_t writers = 0;

} // namespace

// The run has ended: the file's own thread writes the rest, flushes and
// closes it (the disk may be slow; the window does not wait for it).
void RunLogCloser::operator()(RunLogFile* log) const noexcept
{
    {
        std::lock_guard<std::mutex> guard(log->writing->lock);
        log->writing->closing = true;
    }
    log->writing->wake.notify_all();
    delete log;
}

void waitForRunLogs(DWORD timeoutMs)
{
    std::unique_lock<std::mutex> guard(writersLock);
    writersDone.wait_for(guard, std::chrono::milliseconds(timeoutMs), [] { return writers == 0; });
}

std::wstring logsFolder()
{
    return executableDirectory() + L"\\logs";
}

std::wstring runLogName(const SYSTEMTIME& started, const std::wstring& label)
{
    wchar_t stamp[32];
    swprintf(stamp, 32, L"%04d-%02d-%02d %02d%02d%02d", started.wYear, started.wMonth, started.wDay, started.wHour,
        started.wMinute, started.wSecond);
    // A label may take a whole folder name's 255 characters; the file's name
    // has the time before it and ".log" and a " (999)" after it.
    constexpr size_t LONGEST_LABEL = 255 - 18 - 4 - 6;
    std::wstring kept = label.substr(0, std::min(label.size(), LONGEST_LABEL));
    if (kept.size() < label.size() && IS_HIGH_SURROGATE(kept.back())) {
        kept.pop_back(); // never half a character
    }
    return std::wstring(stamp) + L" " + kept + L".log";
}

RunLog openRunLog(const std::wstring& folder, const SYSTEMTIME& started, const std::wstring& label)
{
    if (!createFolderPath(folder)) {
        return nullptr;
    }
    auto writing = std::make_shared<RunLogWriting>();
    std::wstring path;
    const std::wstring name = runLogName(started, label);
    for (int number = 1; number < 1000 && writing->file == nullptr; ++number) {
        const std::wstring candidate = number == 1
            ? name
            : name.substr(0, name.size() - 4) + L" (" + std::to_wstring(number) + L").log";
        path = joinPath(folder, candidate);
        // Readable by an editor or a viewer while the run goes on.
        writing->file = adoptHandle(CreateFileW(longPathForm(path).c_str(), GENERIC_WRITE,
            FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (writing->file == nullptr && GetLastError() != ERROR_FILE_EXISTS) {
            return nullptr;
        }
    }
    if (writing->file == nullptr) {
        return nullptr;
    }
    {
        std::lock_guard<std::mutex> guard(writersLock);
        ++writers;
    }
    std::thread([writing, folder, path] {
        pruneLogs(folder, KEPT_LOG_FILES, KEPT_LOG_BYTES, path);
        writeLoop(writing.get());
        writing->file.reset(); // closed before the program may end
        std::lock_guard<std::mutex> guard(writersLock);
        --writers;
        writersDone.notify_all();
    }).detach();
    return RunLog(new RunLogFile{path, std::move(writing)});
}

void writeToRunLog(RunLogFile& file, std::string_view bytes)
{
    RunLogWriting& log = *file.writing;
    bool wake = false;
    {
        std::lock_guard<std::mutex> guard(log.lock);
        log.waiting.append(bytes.data(), bytes.size());
        wake = log.waiting.size() >= WRITE_AT;
    }
    if (wake) {
        log.wake.notify_all();
    }
}

void flushRunLogNow(RunLogFile& file)
{
    RunLogWriting& log = *file.writing;
    std::unique_lock<std::mutex> guard(log.lock);
    log.flushed = false;
    log.flushNow = true;
    log.wake.notify_all();
    // Windows gives a program a few seconds to end its session.
    log.wake.wait_for(guard, std::chrono::seconds(3), [&log] { return log.flushed; });
}

void pruneLogs(const std::wstring& folder, size_t keepFiles, uint64_t keepBytes, const std::wstring& except)
{
    struct Found {
        std::wstring path;
        uint64_t bytes;
    };
    std::vector<Found> logs;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileExW((longPathForm(fullPath(folder)) + L"\\*.log").c_str(), FindExInfoBasic, &found,
        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            logs.push_back(Found{joinPath(folder, found.cFileName),
                (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    // The names start with the time, so the oldest come first.
    std::sort(logs.begin(), logs.end(), [](const Found& left, const Found& right) { return left.path < right.path; });
    uint64_t total = 0;
    for (const Found& log : logs) {
        total += log.bytes;
    }
    size_t count = logs.size();
    for (const Found& log : logs) {
        if (count <= keepFiles && total <= keepBytes) {
            break;
        }
        if (log.path == except || !DeleteFileW(longPathForm(log.path).c_str())) {
            continue;
        }
        --count;
        total -= log.bytes;
    }
}
