#include "util/paths.h"

#include "util/handles.h"

#include <windows.h>

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

bool pathExists(const std::wstring& path)
{
    if (path.empty()) {
        return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return true;
    }
    // A symbolic link or junction counts only when its target is there;
    // opening without access rights follows it to the end.
    UniqueHandle target = adoptHandle(CreateFileW(path.c_str(), 0,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return target != nullptr;
}
