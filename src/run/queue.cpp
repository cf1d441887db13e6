#include "run/queue.h"

#include "run/run_request.h"
#include "util/paths.h"
#include "util/text.h"

#include <windows.h>
#include <shlwapi.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <unordered_set>

namespace {

bool sameName(std::wstring_view left, std::wstring_view right)
{
    if (left.size() > INT_MAX || right.size() > INT_MAX) {
        return false;
    }
    return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
               static_cast<int>(right.size()), TRUE)
        == CSTR_EQUAL;
}

constexpr const wchar_t* RECORDING_EXTENSIONS[] = {
    L"mp3", L"wav", L"mp4", L"mkv", L"mov", L"flv", L"m4a", L"aac", L"wma", L"avi"};

struct StateName {
    ItemState state;
    const char* name;
};

constexpr StateName STATE_NAMES[] = {
    {ItemState::Waiting, "waiting"},
    {ItemState::Running, "running"},
    {ItemState::Done, "done"},
    {ItemState::Failed, "failed"},
    {ItemState::Cancelled, "cancelled"},
    {ItemState::Interrupted, "interrupted"},
};

bool finished(ItemState state)
{
    return state == ItemState::Done || state == ItemState::Failed || state == ItemState::Cancelled;
}

} // namespace

bool samePath(std::wstring_view left, std::wstring_view right)
{
    return sameName(left, right);
}

bool isRecording(std::wstring_view path)
{
    const size_t nameStart = path.find_last_of(L"\\/:");
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos || (nameStart != std::wstring_view::npos && dot < nameStart)) {
        return false;
    }
    const std::wstring_view extension = path.substr(dot + 1);
    return std::any_of(std::begin(RECORDING_EXTENSIONS), std::end(RECORDING_EXTENSIONS),
        [&](const wchar_t* known) { return sameName(extension, known); });
}

void sortLikeExplorer(std::vector<std::wstring>& paths)
{
    std::stable_sort(paths.begin(), paths.end(),
        [](const std::wstring& left, const std::wstring& right) { return StrCmpLogicalW(left.c_str(), right.c_str()) < 0; });
}

bool entersFolder(unsigned long attributes, unsigned long reparseTag)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 || !IsReparseTagNameSurrogate(reparseTag);
}

namespace {

void scanFolder(const std::wstring& folder, FolderScan& scan, std::atomic<size_t>* counted)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileExW((longPathForm(folder) + L"\\*").c_str(), FindExInfoBasic, &found,
        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        scan.unreadable = scan.unreadable || GetLastError() != ERROR_FILE_NOT_FOUND;
        return;
    }
    std::vector<std::wstring> folders;
    std::vector<std::wstring> files;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L".." || (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) {
            continue;
        }
        const std::wstring path = joinPath(folder, name);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (entersFolder(found.dwFileAttributes, found.dwReserved0)) {
                folders.push_back(path);
            }
        } else if (isRecording(name)) {
            files.push_back(path);
        } else {
            ++scan.skipped;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    sortLikeExplorer(folders);
    sortLikeExplorer(files);
    for (const std::wstring& inner : folders) {
        scanFolder(inner, scan, counted);
    }
    scan.recordings.insert(scan.recordings.end(), files.begin(), files.end());
    if (counted != nullptr) {
        *counted += files.size();
    }
}

} // namespace

FolderScan recordingsIn(const std::wstring& folder, std::atomic<size_t>* found)
{
    FolderScan scan;
    scanFolder(folder, scan, found);
    return scan;
}

std::vector<std::wstring> namesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileExW((longPathForm(fullPath(folder)) + L"\\*").c_str(), FindExInfoBasic, &found,
        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (std::wstring_view name = found.cFileName; name != L"." && name != L"..") {
            names.emplace_back(name);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

namespace {

// A folder's entries, listed once, by name (the long one and the short
// one), for many paths in it: under Wine each look at the file system for
// one path costs a few milliseconds, and a drop of ten thousand files
// picked in one folder took most of a minute.
struct FolderListing {
    std::wstring longFolder;
    struct Entry {
        std::wstring longName;
        DWORD attributes = 0;
    };
    std::unordered_map<std::wstring, Entry> byName;
};

// So many paths in one folder are looked up in its listing.
constexpr size_t PATHS_FOR_A_LISTING = 16;

FolderListing listFolder(const std::wstring& folder)
{
    FolderListing listing;
    listing.longFolder = longNamePath(folder);
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileExW((longPathForm(fullPath(folder)) + L"\\*").c_str(), FindExInfoStandard, &found,
        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        return listing;
    }
    do {
        const FolderListing::Entry entry{found.cFileName, found.dwFileAttributes};
        listing.byName.emplace(pathKey(found.cFileName), entry);
        if (found.cAlternateFileName[0] != L'\0') {
            listing.byName.emplace(pathKey(found.cAlternateFileName), entry);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return listing;
}

struct Looked {
    std::wstring path; // in its long form
    PathKind kind = PathKind::Missing;
};

// The path in its long form and what is there: from the folder's listing
// when there is one that names it plainly, from the file system otherwise
// (links, whose targets count, and anything the listing does not name).
Looked lookUp(const std::wstring& given, const std::wstring& full, const FolderListing* listing)
{
    if (listing != nullptr) {
        const size_t separator = full.find_last_of(L"\\/");
        const std::wstring name = separator == std::wstring::npos ? full : full.substr(separator + 1);
        const auto found = name.empty() ? listing->byName.end() : listing->byName.find(pathKey(name));
        if (found != listing->byName.end() && (found->second.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            const bool folder = (found->second.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            return Looked{joinPath(listing->longFolder, found->second.longName), folder ? PathKind::Folder : PathKind::File};
        }
    }
    Looked looked{longNamePath(given)};
    looked.kind = pathKind(looked.path);
    return looked;
}

} // namespace

ExpandedPaths expandPaths(const std::vector<std::wstring>& paths, size_t longestPath, std::atomic<size_t>* found)
{
    ExpandedPaths expanded;
    std::vector<std::wstring> fulls;
    std::unordered_map<std::wstring, size_t> perFolder;
    fulls.reserve(paths.size());
    for (const std::wstring& given : paths) {
        fulls.push_back(fullPath(given));
        ++perFolder[pathKey(parentDirectory(fulls.back()))];
    }
    std::unordered_map<std::wstring, FolderListing> listings;
    for (size_t index = 0; index < paths.size(); ++index) {
        const std::wstring folder = parentDirectory(fulls[index]);
        const std::wstring folderKey = pathKey(folder);
        const FolderListing* listing = nullptr;
        if (perFolder[folderKey] >= PATHS_FOR_A_LISTING) {
            auto known = listings.find(folderKey);
            if (known == listings.end()) {
                known = listings.emplace(folderKey, listFolder(folder)).first;
            }
            listing = &known->second;
        }
        const Looked looked = lookUp(paths[index], fulls[index], listing);
        const std::wstring& path = looked.path;
        if (path.size() > longestPath) {
            expanded.tooLong.push_back(path);
            continue;
        }
        switch (looked.kind) {
        case PathKind::Folder: {
            FolderScan scan = recordingsIn(path, found);
            expanded.skipped += scan.skipped;
            if (scan.unreadable) {
                expanded.unreadable.push_back(path);
            } else if (scan.recordings.empty()) {
                expanded.empty.push_back(path);
            }
            expanded.recordings.insert(expanded.recordings.end(), std::make_move_iterator(scan.recordings.begin()),
                std::make_move_iterator(scan.recordings.end()));
            break;
        }
        case PathKind::File:
            if (isRecording(path)) {
                expanded.recordings.push_back(path);
                if (found != nullptr) {
                    ++*found;
                }
            } else {
                ++expanded.skipped;
            }
            break;
        case PathKind::Missing:
            expanded.missing.push_back(path);
            break;
        }
    }
    return expanded;
}

std::wstring pathKey(const std::wstring& path)
{
    std::wstring key = path;
    if (!key.empty() && key.size() <= INT_MAX) {
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.c_str(), static_cast<int>(path.size()), key.data(),
            static_cast<int>(key.size()), nullptr, nullptr, 0);
    }
    return key;
}

size_t addToQueue(RunQueue& queue, const std::vector<std::wstring>& files)
{
    // A drop of thousands of files must not compare each with every other.
    std::unordered_set<std::wstring> queued;
    queued.reserve(queue.items.size() + files.size());
    for (const QueueItem& item : queue.items) {
        queued.insert(pathKey(item.path));
    }
    size_t added = 0;
    for (const std::wstring& file : files) {
        if (queued.insert(pathKey(file)).second) {
            queue.items.push_back(QueueItem{file});
            ++added;
        }
    }
    return added;
}

void takeInSaved(RunQueue& queue, RunQueue saved)
{
    std::unordered_set<std::wstring> current;
    current.reserve(queue.items.size());
    for (const QueueItem& item : queue.items) {
        current.insert(pathKey(item.path));
    }
    std::vector<QueueItem> items;
    items.reserve(saved.items.size() + queue.items.size());
    for (QueueItem& item : saved.items) {
        if (current.count(pathKey(item.path)) == 0) {
            items.push_back(std::move(item));
        }
    }
    if (queue.items.empty()) {
        queue.outputRoot = std::move(saved.outputRoot);
        queue.typedLabel = std::move(saved.typedLabel);
        queue.speakerCount = saved.speakerCount;
        queue.makeClips = saved.makeClips;
    }
    items.insert(items.end(), std::make_move_iterator(queue.items.begin()), std::make_move_iterator(queue.items.end()));
    queue.items = std::move(items);
}

std::wstring itemLabel(std::wstring_view typed, std::wstring_view path)
{
    const std::wstring stem = fileStem(path);
    return typed.empty() ? stem : std::wstring(typed) + L"-" + stem;
}

std::wstring numberedLabel(std::wstring_view base, int number)
{
    return std::wstring(base) + L" (" + std::to_wstring(number) + L")";
}

void assignLabels(RunQueue& queue, std::wstring_view typed, const std::vector<std::wstring>& taken)
{
    // Folder names compare as paths do; a set keeps a queue of thousands
    // (and a date folder of thousands) from comparing each with every other.
    std::unordered_set<std::wstring> used;
    for (const std::wstring& name : taken) {
        used.insert(pathKey(name));
    }
    for (const QueueItem& item : queue.items) {
        if (item.state != ItemState::Waiting && !item.label.empty()) {
            used.insert(pathKey(item.label));
        }
    }
    // Where each name's numbering goes on: the thousandth "x.wav" must not
    // try the 999 numbers before it again.
    std::unordered_map<std::wstring, int> nextNumber;
    for (QueueItem& item : queue.items) {
        if (item.state != ItemState::Waiting) {
            continue;
        }
        const std::wstring base = itemLabel(typed, item.path);
        std::wstring label = base;
        if (!used.insert(pathKey(label)).second) {
            int& number = nextNumber.try_emplace(pathKey(base), 2).first->second;
            do {
                label = numberedLabel(base, number++);
            } while (!used.insert(pathKey(label)).second);
        }
        item.label = std::move(label);
    }
}

std::optional<size_t> nextWaiting(const RunQueue& queue)
{
    for (size_t index = 0; index < queue.items.size(); ++index) {
        if (queue.items[index].state == ItemState::Waiting) {
            return index;
        }
    }
    return std::nullopt;
}

void markInterrupted(RunQueue& queue)
{
    for (QueueItem& item : queue.items) {
        if (item.state == ItemState::Running) {
            item.state = ItemState::Interrupted;
        }
    }
}

void runAgain(RunQueue& queue, const std::vector<size_t>& indexes, bool alsoDone)
{
    for (const size_t index : indexes) {
        if (index < queue.items.size()) {
            QueueItem& item = queue.items[index];
            if (item.state == ItemState::Failed || item.state == ItemState::Cancelled
                || item.state == ItemState::Interrupted || (alsoDone && item.state == ItemState::Done)) {
                item.state = ItemState::Waiting;
                item.exitCode = 0;
                item.resultFolder.clear();
            }
        }
    }
}

void removeItems(RunQueue& queue, std::vector<size_t> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (auto index = indexes.rbegin(); index != indexes.rend(); ++index) {
        if (*index < queue.items.size() && queue.items[*index].state != ItemState::Running) {
            queue.items.erase(queue.items.begin() + static_cast<std::ptrdiff_t>(*index));
        }
    }
}

void clearFinished(RunQueue& queue)
{
    queue.items.erase(std::remove_if(queue.items.begin(), queue.items.end(),
                          [](const QueueItem& item) { return finished(item.state); }),
        queue.items.end());
}

QueueSummary summarize(const RunQueue& queue)
{
    QueueSummary summary;
    for (const QueueItem& item : queue.items) {
        switch (item.state) {
        case ItemState::Done:
            ++summary.done;
            break;
        case ItemState::Failed:
            ++summary.failed;
            break;
        case ItemState::Cancelled:
            ++summary.cancelled;
            break;
        case ItemState::Waiting:
        case ItemState::Interrupted:
        case ItemState::Running:
            ++summary.notRun;
            break;
        }
    }
    return summary;
}

std::string queueToJson(const RunQueue& queue)
{
    nlohmann::json document;
    document["output_root"] = wideToUtf8(queue.outputRoot);
    document["label"] = wideToUtf8(queue.typedLabel);
    document["speakers"] = queue.speakerCount;
    document["clips"] = queue.makeClips;
    document["items"] = nlohmann::json::array();
    for (const QueueItem& item : queue.items) {
        nlohmann::json entry;
        entry["path"] = wideToUtf8(item.path);
        entry["label"] = wideToUtf8(item.label);
        for (const StateName& state : STATE_NAMES) {
            if (state.state == item.state) {
                entry["state"] = state.name;
            }
        }
        entry["exit_code"] = item.exitCode;
        entry["result_folder"] = wideToUtf8(item.resultFolder);
        entry["log_file"] = wideToUtf8(item.logFile);
        document["items"].push_back(std::move(entry));
    }
    return document.dump(2);
}

namespace {

template <typename T>
T memberOr(const nlohmann::json& object, const char* key, T fallback)
{
    const auto found = object.find(key);
    if (found == object.end()) {
        return fallback;
    }
    try {
        return found->get<T>();
    } catch (const nlohmann::json::exception&) {
        return fallback;
    }
}

// One entry of the items, or nothing when it is no item of a queue.
std::optional<QueueItem> itemFrom(const nlohmann::json& entry)
{
    if (!entry.is_object() || !entry.contains("path") || !entry["path"].is_string() || !entry.contains("state")
        || !entry["state"].is_string()) {
        return std::nullopt;
    }
    QueueItem item;
    item.path = utf8ToWide(entry["path"].get<std::string>());
    const std::string state = entry["state"].get<std::string>();
    const auto known = std::find_if(std::begin(STATE_NAMES), std::end(STATE_NAMES),
        [&](const StateName& name) { return state == name.name; });
    if (item.path.empty() || known == std::end(STATE_NAMES)) {
        return std::nullopt;
    }
    item.state = known->state;
    item.label = utf8ToWide(memberOr<std::string>(entry, "label", {}));
    item.exitCode = memberOr<unsigned>(entry, "exit_code", 0);
    item.resultFolder = utf8ToWide(memberOr<std::string>(entry, "result_folder", {}));
    item.logFile = utf8ToWide(memberOr<std::string>(entry, "log_file", {}));
    return item;
}

} // namespace

std::optional<SavedQueue> queueFromJson(std::string_view text)
{
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
    if (!document.is_object() || !document.contains("items") || !document["items"].is_array()) {
        return std::nullopt;
    }
    SavedQueue saved;
    RunQueue& queue = saved.queue;
    queue.outputRoot = utf8ToWide(memberOr<std::string>(document, "output_root", {}));
    queue.typedLabel = utf8ToWide(memberOr<std::string>(document, "label", {}));
    const int speakers = memberOr<int>(document, "speakers", 2);
    queue.speakerCount = speakers >= 2 && speakers <= 10 ? speakers : 2;
    queue.makeClips = memberOr<bool>(document, "clips", false);
    std::unordered_set<std::wstring> paths;
    size_t position = 0;
    for (const nlohmann::json& entry : document["items"]) {
        ++position;
        std::optional<QueueItem> item = itemFrom(entry);
        if (!item) {
            if (saved.leftOut++ == 0) {
                saved.firstLeftOutPosition = position;
                if (entry.is_object() && entry.contains("path") && entry["path"].is_string()) {
                    saved.firstLeftOut = utf8ToWide(entry["path"].get<std::string>());
                }
            }
            continue;
        }
        if (paths.insert(pathKey(item->path)).second) {
            queue.items.push_back(std::move(*item));
        }
    }
    return saved;
}
