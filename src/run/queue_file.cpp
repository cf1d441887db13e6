#include "run/queue_file.h"

#include "text/catalogue.h"
#include "util/files.h"
#include "util/paths.h"

#include <windows.h>

#include <cwchar>

namespace {

bool claimQueueFile(QueueFile& file)
{
    if (file.owned) {
        return true;
    }
    // One name per installation, however its folder is spelt (a short name,
    // a drive letter of its own): the folder's identity, hashed (FNV-1a).
    unsigned long long hash = 14695981039346656037ull;
    for (const wchar_t unit : pathKey(fileIdentity(executableDirectory()))) {
        hash = (hash ^ unit) * 1099511628211ull;
    }
    wchar_t name[96];
    swprintf(name, 96, L"Local\\VeradurAzazorariDER-queue-%016llx", hash);
    file.claim.reset(CreateMutexW(nullptr, FALSE, name));
    if (file.claim != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        // Not held on to, so that a window started after the owner has gone
        // can claim the file.
        file.claim.reset();
        return false;
    }
    // Without a claim to be had at all, the file is kept as it always was.
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
    file.unread = read == ReadResult::Unreadable || read == ReadResult::Locked;
    if (read != ReadResult::Ok) {
        return TakenIn{!file.unread};
    }
    if (std::optional<RunQueue> saved = queueFromJson(bytes)) {
        markInterrupted(*saved); // the program ended while it ran
        takeInSaved(queue, std::move(*saved));
        file.lastWritten = std::move(bytes);
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

std::wstring loadQueueFile(QueueFile& file, RunQueue& queue)
{
    if (!claimQueueFile(file)) {
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
    if (file.saveFailureTold) {
        return {};
    }
    file.saveFailureTold = true;
    return fillPlaceholder(uiText(T_LOG_QUEUE_NOT_SAVED), path);
}
