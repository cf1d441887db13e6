#include "run/result_folder.h"

#include "run/launch.h"
#include "run/queue.h"
#include "util/paths.h"

#include <shellapi.h>

#include <memory>
#include <thread>

ClaimedFolder claimResultFolder(const RunRequest& request, const std::wstring& typedLabel)
{
    const std::wstring date = todayFolderName();
    const std::wstring dateFolder = fullPath(joinPath(request.outputRoot, date));
    createFolderPath(dateFolder);
    const std::wstring base = itemLabel(typedLabel, request.inputPath);
    ClaimedFolder claimed;
    claimed.label = request.label;
    for (int number = 2; isValidFolderName(claimed.label); ++number) {
        claimed.folder = deriveOutputFolder(request.outputRoot, date, claimed.label);
        claimed.made = CreateDirectoryW(longPathForm(joinPath(dateFolder, claimed.label)).c_str(), nullptr) != FALSE;
        if (claimed.made || GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
        claimed.label = numberedLabel(base, number);
    }
    return claimed;
}

namespace {

// False when the folder is not there afterwards or the shell would not open it.
bool openFolderNow(const std::wstring& folder)
{
    // A relative folder is relative to the current folder, which the engine
    // shares; the shell is given the full path, and only ever a folder.
    const std::wstring full = fullPath(folder);
    if (!createFolderPath(full)) {
        return false;
    }
    std::wstring target = full;
    if (target.size() >= MAX_PATH) {
        // The shell takes no longer paths; the short form often fits.
        std::wstring shortForm(32768, L'\0');
        const DWORD length = GetShortPathNameW(longPathForm(full).c_str(), shortForm.data(), 32768);
        if (length > 0 && length < 32768) {
            shortForm.resize(length);
            target = withoutLongPathPrefix(shortForm);
        }
    }
    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof execute;
    // The thread ends right after: the shell finishes before it returns.
    execute.fMask = SEE_MASK_NOASYNC;
    execute.lpVerb = L"open";
    execute.lpFile = target.c_str();
    execute.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&execute) != FALSE;
}

} // namespace

void openResultFolder(const std::wstring& folder, HWND window, UINT message)
{
    // A file manager that starts slowly, a network folder, a handler that
    // waits for it to be idle: the window answers meanwhile, and hears back
    // only when it failed.
    std::thread([window, message, folder] {
        // As the shell's documentation asks of a thread that calls it.
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        if (!openFolderNow(folder)) {
            auto told = std::make_unique<std::wstring>(folder);
            if (PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(told.get()))) {
                told.release(); // the window's now
            }
        }
        if (SUCCEEDED(com)) {
            CoUninitialize();
        }
    }).detach();
}

void openRunLogFile(const std::wstring& path, HWND owner)
{
    // The shell may take its time here too; it tells itself when no
    // program opens .log files.
    std::thread([path, owner] {
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        SHELLEXECUTEINFOW execute = {};
        execute.cbSize = sizeof execute;
        execute.fMask = SEE_MASK_NOASYNC;
        execute.hwnd = owner;
        execute.lpVerb = L"open";
        execute.lpFile = path.c_str();
        execute.nShow = SW_SHOWNORMAL;
        ShellExecuteExW(&execute);
        if (SUCCEEDED(com)) {
            CoUninitialize();
        }
    }).detach();
}
