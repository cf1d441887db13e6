#include "util/paths.h"

#include "util/handles.h"

#include <windows.h>
#include <pathcch.h>

#include <algorithm>
#include <filesystem>
#include <vector>

std::wstring parentDirectory(std::wstring_view path)
{
    return std::filesystem::path(path).parent_path().wstring();
}

std::wstring executableDirectory()
{
    // Grow the buffer until the whole name fits: a cut name would put the
    // configuration file and the engine somewhere else.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            return parentDirectory(std::wstring_view(buffer.data(), length));
        }
        if (buffer.size() >= 32768) { // the longest path the platform has
            return parentDirectory(std::wstring_view(buffer.data(), length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring longPathForm(const std::wstring& path)
{
    const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    const bool network = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
    if (path.size() < MAX_PATH - 12 || (!drive && !network)) { // 12: room CreateDirectoryW needs
        return path;
    }
    std::wstring absolute = fullPath(path); // the prefix turns off "." and ".." handling
    std::replace(absolute.begin(), absolute.end(), L'/', L'\\');
    return network ? L"\\\\?\\UNC" + absolute.substr(1) : L"\\\\?\\" + absolute;
}

std::wstring withoutLongPathPrefix(const std::wstring& path)
{
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        return L"\\" + path.substr(7);
    }
    return path.rfind(L"\\\\?\\", 0) == 0 ? path.substr(4) : path;
}

std::wstring longNamePath(const std::wstring& path)
{
    const std::wstring full = fullPath(path);
    const std::wstring usable = longPathForm(full);
    const DWORD needed = GetLongPathNameW(usable.c_str(), nullptr, 0);
    if (needed == 0) {
        return full;
    }
    std::wstring longName(needed, L'\0');
    const DWORD length = GetLongPathNameW(usable.c_str(), longName.data(), needed);
    if (length == 0 || length >= needed) {
        return full;
    }
    longName.resize(length);
    return usable.size() == full.size() ? longName : withoutLongPathPrefix(longName);
}

std::wstring fullPath(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return path;
    }
    full.resize(length);
    return full;
}

PathKind pathKind(const std::wstring& path)
{
    if (path.empty()) {
        return PathKind::Missing;
    }
    const std::wstring usable = longPathForm(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(usable.c_str(), GetFileExInfoStandard, &data)) {
        return PathKind::Missing;
    }
    DWORD attributes = data.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        // A symbolic link or junction counts only when its target is there;
        // opening without access rights follows it to the end.
        UniqueHandle target = adoptHandle(CreateFileW(usable.c_str(), 0,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION information{};
        if (target == nullptr || !GetFileInformationByHandle(target.get(), &information)) {
            return PathKind::Missing;
        }
        attributes = information.dwFileAttributes;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
}

bool pathExists(const std::wstring& path)
{
    return pathKind(path) != PathKind::Missing;
}

bool createFolderPath(const std::wstring& folder)
{
    const PathKind kind = pathKind(folder);
    if (kind != PathKind::Missing) {
        return kind == PathKind::Folder;
    }
    // From the root down, one folder at a time: a walk upwards by parent
    // folders never ends for roots such as \\.\ that are their own parent.
    const std::wstring full = fullPath(folder);
    PCWSTR afterRoot = nullptr;
    if (FAILED(PathCchSkipRoot(full.c_str(), &afterRoot)) || afterRoot == nullptr) {
        return false;
    }
    for (size_t at = static_cast<size_t>(afterRoot - full.c_str()); at < full.size();) {
        size_t end = full.find_first_of(L"\\/", at);
        if (end == std::wstring::npos) {
            end = full.size();
        }
        if (end > at) {
            const std::wstring step = full.substr(0, end);
            if (pathKind(step) == PathKind::Missing) {
                CreateDirectoryW(longPathForm(step).c_str(), nullptr);
            }
            if (pathKind(step) != PathKind::Folder) {
                return false;
            }
        }
        at = end + 1;
    }
    return pathKind(full) == PathKind::Folder;
}
