// Whole-file reads and safe whole-file writes by UTF-16 path.
#pragma once

#include <string>

enum class ReadResult {
    Ok,
    Missing,    // no such file or folder on the way to it
    Unreadable, // something is there but cannot be read (denied, a folder)
    Locked,     // another program holds it open without sharing it
};

// Reads the whole file, sharing it for reading, writing and deletion with others.
ReadResult readWholeFile(const std::wstring& path, std::string& bytes);

// Replaces the file's contents with bytes so that no reader ever finds a
// truncated or half-written file: the text goes to a temporary file beside it,
// which then replaces the real one in one step. When that replacement is
// refused (another program holds the file open without delete sharing), it
// is tried again for about a second, and then the file is rewritten in
// place and flushed, so the save is not lost. The temporary is never left
// behind. A read-only file is left alone. Returns whether the bytes reached
// the file; when they did not, GetLastError tells why (ERROR_DISK_FULL, say).
bool writeWholeFileSafely(const std::wstring& path, const std::string& bytes);

// Hands the writer one piece of the file at a time; false stops the write.
using PieceWriter = bool (*)(void* file, const char* data, size_t size);
// Produces the file's contents through write(file, ...); false when it failed.
using ContentSource = bool (*)(const void* source, void* file, PieceWriter write);

// The same replacement in one step for contents too large to copy into one
// string, without the rewrite in place: when no temporary can be made beside
// the file or it cannot replace the file, the file stays as it was and the
// result is false.
bool replaceFileWith(const std::wstring& path, const void* source, ContentSource produce);

enum class NewFileResult {
    Written,
    Exists, // a file of that name is already there; it was not touched
    Failed, // anything else: a folder of that name, no access, a full disk
};

// Creates the file with the bytes, never replacing anything that is there.
// A file that could not be written whole is removed again.
NewFileResult writeNewFile(const std::wstring& path, const std::string& bytes);

// Keeps the exact bytes of a file that could not be used under the first
// backup name not yet taken (path.bak, then path.2.bak, ...), so that every
// breakage can still be recovered by hand. Bytes kept already are not kept
// again (a file that could not be replaced, say, read-only). Returns the
// backup's name, or nothing when none could be written.
std::wstring keepNumberedBackup(const std::wstring& path, const std::string& bytes);

// A file or folder as the file system knows it (volume and file index), the
// same for every spelling of its path (8.3 names, another drive letter for
// the same folder); the path in its long form when that cannot be had.
std::wstring fileIdentity(const std::wstring& path);
