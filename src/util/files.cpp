#include "util/files.h"

#include "util/handles.h"
#include "util/paths.h"

#include <windows.h>

#include <cwchar>
#include <string_view>

namespace {

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool writeAll(HANDLE file, std::string_view bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

UniqueHandle createForWriting(const std::wstring& path)
{
    return adoptHandle(CreateFileW(path.c_str(), GENERIC_WRITE, SHARE_ALL, nullptr, CREATE_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Flushed like the temporary of a safe save: a power cut right after must
// not leave the file empty.
bool rewriteInPlace(const std::wstring& path, const std::string& bytes)
{
    UniqueHandle file = createForWriting(path);
    if (file != nullptr && writeAll(file.get(), bytes) && FlushFileBuffers(file.get())) {
        return true;
    }
    const DWORD error = GetLastError();
    file.reset();
    SetLastError(error);
    return false;
}

} // namespace

ReadResult readWholeFile(const std::wstring& path, std::string& bytes)
{
    bytes.clear();
    UniqueHandle file = adoptHandle(CreateFileW(path.c_str(), GENERIC_READ, SHARE_ALL, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file == nullptr) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return ReadResult::Missing;
        }
        return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ? ReadResult::Locked
                                                                                  : ReadResult::Unreadable;
    }
    char buffer[8192];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            const DWORD error = GetLastError();
            bytes.clear();
            return error == ERROR_LOCK_VIOLATION ? ReadResult::Locked : ReadResult::Unreadable;
        }
        if (got == 0) {
            return ReadResult::Ok;
        }
        bytes.append(buffer, got);
    }
}

namespace {

bool isReadOnlyFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// A name no other writer uses, opened for nobody else: two copies of the
// program saving at once must not write into one temporary and rename a
// mixture into place.
UniqueHandle createTemporaryBeside(const std::wstring& path, std::wstring& temporary)
{
    static LONG counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // A short name of its own in the same folder: the target's name
        // with more after it could pass the 255 units one name may have.
        const size_t separator = path.find_last_of(L"\\/");
        temporary = path.substr(0, separator == std::wstring::npos ? 0 : separator + 1) + L"~"
            + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(InterlockedIncrement(&counter)) + L".tmp";
        UniqueHandle file = adoptHandle(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr));
        if (file != nullptr || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return nullptr;
}

enum class Replaced { Yes, NoTemporary, Failed, Refused };

constexpr int REPLACE_ATTEMPTS = 10;
constexpr DWORD REPLACE_PAUSE_MS = 100;

Replaced replaceThroughTemporary(const std::wstring& path, const void* source, ContentSource produce)
{
    std::wstring temporary;
    {
        UniqueHandle file = createTemporaryBeside(path, temporary);
        if (file == nullptr) {
            return Replaced::NoTemporary;
        }
        const PieceWriter write = [](void* target, const char* data, size_t size) {
            return writeAll(static_cast<HANDLE>(target), std::string_view(data, size));
        };
        // A full disk shows here: the real file stays as it was.
        if (!produce(source, file.get(), write) || !FlushFileBuffers(file.get())) {
            const DWORD error = GetLastError(); // ERROR_DISK_FULL, say: the caller tells it
            file.reset();
            DeleteFileW(temporary.c_str());
            SetLastError(error);
            return Replaced::Failed;
        }
    }
    // A sync tool or a virus scanner holds the target for a moment without
    // delete sharing: the replacement is tried again for about a second.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return Replaced::Yes;
        }
        const DWORD error = GetLastError();
        if (attempt >= REPLACE_ATTEMPTS || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED
                                                && error != ERROR_LOCK_VIOLATION)) {
            break;
        }
        Sleep(REPLACE_PAUSE_MS);
    }
    DeleteFileW(temporary.c_str());
    return Replaced::Refused;
}

bool produceString(const void* source, void* file, PieceWriter write)
{
    const std::string& bytes = *static_cast<const std::string*>(source);
    return write(file, bytes.data(), bytes.size());
}

} // namespace

bool writeWholeFileSafely(const std::wstring& path, const std::string& bytes)
{
    // Windows refuses to replace a read-only file; Wine would replace it.
    if (isReadOnlyFile(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    switch (replaceThroughTemporary(path, &bytes, produceString)) {
    case Replaced::Yes:
        return true;
    case Replaced::Failed:
        return false;
    case Replaced::NoTemporary:
        // No temporary is possible beside the file (a read-only folder,
        // say): the safety measure cannot help, so write as before.
    case Replaced::Refused:
        break;
    }
    return rewriteInPlace(path, bytes);
}

bool replaceFileWith(const std::wstring& path, const void* source, ContentSource produce)
{
    return !isReadOnlyFile(path) && replaceThroughTemporary(path, source, produce) == Replaced::Yes;
}

NewFileResult writeNewFile(const std::wstring& path, const std::string& bytes)
{
    UniqueHandle file = adoptHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file == nullptr) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        const bool fileThere = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        return fileThere ? NewFileResult::Exists : NewFileResult::Failed;
    }
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
        file.reset();
        DeleteFileW(path.c_str());
        return NewFileResult::Failed;
    }
    return NewFileResult::Written;
}

namespace {

// More backups than this and the file is left alone instead.
constexpr int MAX_BACKUPS = 1000;

std::wstring backupPath(const std::wstring& path, int number)
{
    return number == 1 ? path + L".bak" : path + L"." + std::to_wstring(number) + L".bak";
}

} // namespace

std::wstring keepNumberedBackup(const std::wstring& path, const std::string& bytes)
{
    for (int number = 1; number <= MAX_BACKUPS; ++number) {
        const std::wstring name = backupPath(path, number);
        const NewFileResult result = writeNewFile(name, bytes);
        if (result != NewFileResult::Exists) {
            return result == NewFileResult::Written ? name : std::wstring();
        }
        std::string kept;
        if (readWholeFile(name, kept) == ReadResult::Ok && kept == bytes) {
            return name;
        }
    }
    return {};
}

std::wstring fileIdentity(const std::wstring& path)
{
    const UniqueHandle handle = adoptHandle(CreateFileW(longPathForm(fullPath(path)).c_str(), 0, SHARE_ALL, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information = {};
    if (handle == nullptr || !GetFileInformationByHandle(handle.get(), &information)) {
        return longNamePath(path);
    }
    wchar_t identity[40];
    swprintf(identity, 40, L"%08lx-%08lx%08lx", information.dwVolumeSerialNumber, information.nFileIndexHigh,
        information.nFileIndexLow);
    return identity;
}
