#include "run/queue_file.h"

#include "text/catalogue.h"
#include "util/files.h"
#include "util/paths.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

// A lock file that no program holds open: one that holds it shares it for
// reading only, so opening it for nobody else then fails.
bool leftBehind(const std::wstring& lock)
{
    const UniqueHandle probe =
        adoptHandle(CreateFileW(lock.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe != nullptr;
}

bool claimQueueFile(QueueFile& file, HWND window)
{
    if (file.owned) {
        return true;
    }
    const std::wstring lock = queueLockPath();
    UniqueHandle claim = adoptHandle(CreateFileW(lock.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ,
        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (claim == nullptr && GetLastError() == ERROR_ACCESS_DENIED && leftBehind(lock)) {
        // A lock nobody holds (made read-only, or by an older copy) counts
        // for nothing: it goes, and the claim is made anew.
        SetFileAttributesW(lock.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(lock.c_str());
        claim = adoptHandle(CreateFileW(lock.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr,
            OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (claim == nullptr) {
            file.owned = true; // it cannot be removed: as without any claim to be had
            return true;
        }
    }
    if (claim == nullptr) {
        const DWORD error = GetLastError();
        // Held by another window (of this session, another user's, an
        // elevated one, another PC's).
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION
            || (error == ERROR_ACCESS_DENIED && GetFileAttributesW(lock.c_str()) != INVALID_FILE_ATTRIBUTES)) {
            return false;
        }
        // No claim can be had here at all (a read-only folder): the file is
        // kept as it always was, and saving it will say what fails.
        file.owned = true;
        return true;
    }
    // Who keeps it, for a start of the program that hands its recordings over.
    const std::string owner = std::to_string(GetCurrentProcessId()) + " "
        + std::to_string(reinterpret_cast<unsigned long long>(window)) + "\r\n";
    DWORD written = 0;
    WriteFile(claim.get(), owner.data(), static_cast<DWORD>(owner.size()), &written, nullptr);
    SetEndOfFile(claim.get());
    FlushFileBuffers(claim.get());
    file.claim = std::move(claim);
    file.owned = true;
    return true;
}

struct TakenIn {
    bool readable = true; // false: it is there but cannot be read now
    std::wstring notice;
};

// Reads queue.json and takes its items in, the item that was running marked
// interrupted; a broken file is kept aside as a numbered .bak.
TakenIn takeInSavedQueue(QueueFile& file, RunQueue& queue)
{
    const std::wstring path = queueFilePath();
    std::string bytes;
    const ReadResult read = readWholeFile(path, bytes);
    if (read == ReadResult::Unreadable && pathKind(path) == PathKind::Folder) {
        // Nothing to wait for: no save can ever go there, which is told once.
        file.unread = false;
        file.saveFailureTold = true;
        return TakenIn{true, fillPlaceholder(uiText(T_LOG_QUEUE_IS_FOLDER), path)};
    }
    file.unread = read == ReadResult::Unreadable || read == ReadResult::Locked;
    if (read != ReadResult::Ok) {
        return TakenIn{!file.unread};
    }
    if (std::optional<SavedQueue> read = queueFromJson(bytes)) {
        RunQueue* saved = &read->queue;
        // The program ended while it ran: interrupted, and its folder goes
        // if the engine wrote nothing there.
        for (QueueItem& item : saved->items) {
            if (item.state == ItemState::Running) {
                if (!item.resultFolder.empty()) {
                    RemoveDirectoryW(longPathForm(item.resultFolder).c_str());
                }
                item.resultFolder.clear();
            }
        }
        markInterrupted(*saved);
        takeInSaved(queue, std::move(*saved));
        std::wstring notice;
        if (read->leftOut > 0) {
            // What was left out is still in the file as it was, kept before
            // the next save writes over it.
            const std::wstring kept = keepNumberedBackup(path, bytes);
            const std::wstring first = !read->firstLeftOut.empty()
                ? read->firstLeftOut
                : fillPlaceholder(uiText(T_QUEUE_ENTRY), std::to_wstring(read->firstLeftOutPosition));
            notice = fillPlaceholders(uiText(T_LOG_QUEUE_ITEMS_DROPPED), {std::to_wstring(read->leftOut), first, kept});
        }
        file.lastWritten = std::move(bytes);
        return TakenIn{true, notice};
    } else if (const std::wstring kept = keepNumberedBackup(path, bytes); !kept.empty()) {
        return TakenIn{true, fillPlaceholder(uiText(T_LOG_QUEUE_BROKEN), kept)};
    }
    return TakenIn{};
}

} // namespace

std::wstring queueFilePath()
{
    return executableDirectory() + L"\\queue.json";
}

std::wstring queueLockPath()
{
    return executableDirectory() + L"\\queue.lock";
}

std::optional<QueueOwner> queueFileOwner()
{
    const UniqueHandle lock = adoptHandle(CreateFileW(queueLockPath().c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    char text[64] = {};
    DWORD got = 0;
    if (lock == nullptr || !ReadFile(lock.get(), text, sizeof text - 1, &got, nullptr)) {
        return std::nullopt;
    }
    unsigned long processId = 0;
    unsigned long long window = 0;
    if (std::sscanf(text, "%lu %llu", &processId, &window) != 2) {
        return std::nullopt;
    }
    return QueueOwner{processId, reinterpret_cast<HWND>(window)};
}

bool claimQueueFileAgain(QueueFile& file, RunQueue& queue, HWND window, std::wstring& notice)
{
    if (file.owned || !claimQueueFile(file, window)) {
        return false;
    }
    notice = takeInSavedQueue(file, queue).notice;
    return true;
}

std::wstring loadQueueFile(QueueFile& file, RunQueue& queue, HWND window)
{
    if (!claimQueueFile(file, window)) {
        return fillPlaceholder(uiText(T_LOG_QUEUE_ELSEWHERE), queueFilePath());
    }
    const TakenIn taken = takeInSavedQueue(file, queue);
    if (!taken.readable) {
        return fillPlaceholder(uiText(T_LOG_QUEUE_UNREAD), queueFilePath());
    }
    return taken.notice;
}

bool takeInIfPending(QueueFile& file, RunQueue& queue)
{
    return file.unread && takeInSavedQueue(file, queue).readable;
}

std::wstring saveQueueFile(QueueFile& file, const RunQueue& queue)
{
    if (!file.owned) {
        return {};
    }
    if (file.unread) {
        return {}; // still out of reach: the log said so at start
    }
    const std::wstring path = queueFilePath();
    std::string current;
    const ReadResult read = readWholeFile(path, current);
    // Never over a file that could not be read, nor over a broken one whose
    // bytes could not be kept aside first.
    const bool mayReplace = read == ReadResult::Missing
        || (read == ReadResult::Ok
            && (current == file.lastWritten || queueFromJson(current) || !keepNumberedBackup(path, current).empty()));
    std::string bytes = queueToJson(queue);
    if (mayReplace && writeWholeFileSafely(path, bytes)) {
        file.lastWritten = std::move(bytes);
        file.saveFailureTold = false;
        return {};
    }
    const DWORD error = GetLastError();
    if (file.saveFailureTold) {
        return {};
    }
    file.saveFailureTold = true;
    if (mayReplace && (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)) {
        return fillPlaceholder(uiText(T_LOG_QUEUE_DISK_FULL), path);
    }
    if (pathKind(path) == PathKind::Folder) {
        return fillPlaceholder(uiText(T_LOG_QUEUE_IS_FOLDER), path);
    }
    return fillPlaceholder(uiText(T_LOG_QUEUE_NOT_SAVED), path);
}
