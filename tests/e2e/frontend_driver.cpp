#include "e2e/frontend_driver.h"

#include "run/run_request.h"
#include "support/log_text.h"
#include "util/paths.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

std::wstring builtProgram(const wchar_t* name)
{
    // The tests live in tests-bin, the programs in bin beside it.
    return parentDirectory(executableDirectory()) + L"\\bin\\" + name;
}

} // namespace

std::string englishConfig()
{
    return "{\"access_key_id\": \"id\", \"access_key_secret\": \"secret\", \"appkey\": \"key\", "
           "\"oss_bucket\": \"bucket\", \"region\": \"cn-shanghai\", \"ui_lang\": \"en\"}";
}

Installation::Installation(const std::string& config, bool withEngine)
{
    if (!CopyFileW(builtProgram(L"zozediv_uzuvurodaz_ered.exe").c_str(), program().c_str(), FALSE)) {
        throw std::runtime_error("cannot copy the front-end");
    }
    if (withEngine && !CopyFileW(builtProgram(L"vuruzuz_odurevazu.exe").c_str(), engine().c_str(), FALSE)) {
        throw std::runtime_error("cannot copy the engine");
    }
    if (!config.empty()) {
        writeBytes(configPath(), config);
    }
}

FrontEnd::FrontEnd(const Installation& installation, const std::wstring& arguments,
    const std::map<std::wstring, std::wstring>& environment)
    : installation_(installation), windowsBefore_(topLevelWindows())
{
    for (const auto& [name, value] : environment) {
        SetEnvironmentVariableW(name.c_str(), value.c_str());
    }
    std::wstring commandLine = quoteArgument(installation.program()) + L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    const BOOL ok = CreateProcessW(installation.program().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
        nullptr, installation.folder().c_str(), &startup, &started);
    for (const auto& [name, value] : environment) {
        SetEnvironmentVariableW(name.c_str(), nullptr);
    }
    if (!ok) {
        throw std::runtime_error("cannot start the front-end");
    }
    CloseHandle(started.hThread);
    process_.reset(started.hProcess);
    processId_ = started.dwProcessId;
    waitUntil(
        [this] {
            for (HWND candidate : topLevelWindows()) {
                if (processOf(candidate) == processId_ && classOf(candidate) == L"VeradurAzazorariDER"
                    && IsWindowVisible(candidate)) {
                    window_ = candidate;
                    return true;
                }
            }
            return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
        },
        20000);
}

FrontEnd::~FrontEnd()
{
    closeForeignWindows();
    if (WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
    endProcessesIn(installation_.folder());
}

std::wstring FrontEnd::text(int id) const
{
    return textOf(control(id));
}

std::vector<std::vector<std::wstring>> FrontEnd::queueRows() const
{
    return queueRowsOf(window_, process());
}

std::vector<std::vector<std::wstring>> queueRowsOf(HWND window, HANDLE process)
{
    HWND list = GetDlgItem(window, 1015);
    std::vector<std::vector<std::wstring>> rows;
    if (list == nullptr || !IsWindowVisible(list)) {
        return rows;
    }
    // The list reads and writes the record in its own process.
    constexpr size_t UNITS = 1024;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + UNITS * sizeof(wchar_t), MEM_COMMIT | MEM_RESERVE,
        PAGE_READWRITE);
    if (remote == nullptr) {
        return rows;
    }
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<BYTE*>(remote) + sizeof(LVITEMW));
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < 3; ++column) {
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = remoteText;
            item.cchTextMax = UNITS;
            WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            const LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote));
            std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)), L'\0');
            ReadProcessMemory(process, remoteText, text.data(), text.size() * sizeof(wchar_t), nullptr);
            cells.push_back(text);
        }
        rows.push_back(std::move(cells));
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return rows;
}

std::wstring FrontEnd::log() const
{
    return text(1011);
}

std::vector<std::wstring> FrontEnd::logLines() const
{
    return splitLog(log());
}

void FrontEnd::setText(int id, const std::wstring& text)
{
    SendMessageTimeoutW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
        nullptr);
}

void FrontEnd::click(int id)
{
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control(id)));
}

void FrontEnd::close()
{
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

namespace {

// The file name field of a save dialog: the item dialog's edit (1152), or
// the edit inside its file name combo box (1148) as Windows builds it.
HWND fileNameField(HWND dialog)
{
    if (HWND edit = GetDlgItem(dialog, 1152); edit != nullptr && IsWindowVisible(edit)) {
        return edit;
    }
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM result) {
            if (GetDlgCtrlID(GetParent(child)) == 1148 && _wcsicmp(classOf(child).c_str(), L"Edit") == 0) {
                *reinterpret_cast<HWND*>(result) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

bool FrontEnd::saveLog(const std::wstring& path)
{
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(1022, 0), 0); // IDM_SAVE_LOG
    HWND dialog = nullptr;
    HWND field = nullptr;
    const bool shown = waitUntil(
        [&] {
            for (HWND candidate : topLevelWindows()) {
                if (processOf(candidate) == processId_ && classOf(candidate) == L"#32770" && IsWindowVisible(candidate)
                    && (field = fileNameField(candidate)) != nullptr) {
                    dialog = candidate;
                    return true;
                }
            }
            return false;
        },
        20000);
    if (!shown) {
        return false;
    }
    SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 5000, nullptr);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return waitUntil([&] { return !IsWindow(dialog); }, 20000);
}

bool FrontEnd::waitUntilReadyForKeys() const
{
    const bool active = waitUntil(
        [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(uiThread(), &info) && info.hwndActive == window_ && info.hwndFocus != nullptr;
        },
        20000);
    return active && WaitForInputIdle(process_.get(), 20000) == 0;
}

bool FrontEnd::waitForLine(const std::wstring& text, DWORD timeoutMs) const
{
    return waitUntil(
        [&] {
            const std::vector<std::wstring> lines = logLines();
            return std::find(lines.begin(), lines.end(), text) != lines.end();
        },
        timeoutMs);
}

bool FrontEnd::waitForLines(size_t count, DWORD timeoutMs) const
{
    return waitUntil([&] { return logLines().size() >= count; }, timeoutMs);
}

MessageBoxSeen FrontEnd::waitForMessageBox(DWORD timeoutMs) const
{
    return ::waitForMessageBox(processId_, timeoutMs);
}

void FrontEnd::answer(const MessageBoxSeen& box, int button)
{
    answerMessageBox(box, button);
}

long FrontEnd::waitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return static_cast<long>(code);
}

DWORD FrontEnd::uiThread() const
{
    return GetWindowThreadProcessId(window_, nullptr);
}

std::vector<HWND> FrontEnd::newForeignWindows() const
{
    std::vector<HWND> found;
    for (HWND window : topLevelWindows()) {
        if (processOf(window) != processId_ && processOf(window) != GetCurrentProcessId() && IsWindowVisible(window)
            && std::find(windowsBefore_.begin(), windowsBefore_.end(), window) == windowsBefore_.end()) {
            found.push_back(window);
        }
    }
    return found;
}

std::vector<HWND> FrontEnd::waitForForeignWindows(size_t count, DWORD timeoutMs) const
{
    waitUntil([&] { return newForeignWindows().size() >= count; }, timeoutMs);
    return newForeignWindows();
}

void FrontEnd::closeForeignWindows()
{
    for (HWND window : newForeignWindows()) {
        const DWORD owner = processOf(window);
        PostMessageW(window, WM_CLOSE, 0, 0);
        waitUntil([&] { return !IsWindow(window); }, 3000);
        if (IsWindow(window) && owner != processOf(GetDesktopWindow())) {
            UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, owner));
            if (process != nullptr) {
                TerminateProcess(process.get(), 0);
            }
        }
    }
}

std::vector<DWORD> processesIn(const std::wstring& folder)
{
    std::vector<DWORD> found;
    UniqueHandle snapshot = adoptHandle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot == nullptr) {
        return found;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        if (process == nullptr) {
            continue;
        }
        wchar_t image[32768] = {};
        DWORD size = 32768;
        if (QueryFullProcessImageNameW(process.get(), 0, image, &size)
            && _wcsnicmp(image, (folder + L"\\").c_str(), folder.size() + 1) == 0) {
            found.push_back(entry.th32ProcessID);
        }
    }
    return found;
}

long runToExit(std::wstring commandLine, DWORD timeoutMs)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        return -1;
    }
    CloseHandle(started.hThread);
    const UniqueHandle process(started.hProcess);
    DWORD code = 0;
    if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.get(), &code)) {
        return -1;
    }
    return static_cast<long>(code);
}

void endProcessesIn(const std::wstring& folder)
{
    for (DWORD id : processesIn(folder)) {
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process != nullptr) {
            TerminateProcess(process.get(), 99);
            WaitForSingleObject(process.get(), 5000);
        }
    }
}

std::wstring todayFolder()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return dateFolderName(now.wYear, now.wMonth, now.wDay);
}

std::wstring inQuotes(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}
