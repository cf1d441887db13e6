// Drives the built front-end from outside, as a user would see it: a copy of
// the program and the stand-in engine in a fresh folder, a prepared
// configuration, and the window read and operated through window messages.
#pragma once

#include "support/message_boxes.h"
#include "support/temp_folder.h"
#include "util/handles.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// The account values every run needs, and the English UI.
std::string englishConfig();

class Installation {
public:
    // The program and the engine side by side, with the given configuration.
    explicit Installation(const std::string& config = englishConfig(), bool withEngine = true);
    const std::wstring& folder() const { return folder_.path(); }
    std::wstring file(std::wstring_view name) const { return folder_.file(name); }
    std::wstring program() const { return file(L"zozediv_uzuvurodaz_ered.exe"); }
    std::wstring engine() const { return file(L"vuruzuz_odurevazu.exe"); }
    std::wstring configPath() const { return file(L"aliyun_config.json"); }
    std::string config() const { return readBytes(configPath()); }

private:
    TempFolder folder_;
};

class FrontEnd {
public:
    // Starts the program in the installation's folder (its current folder),
    // with extra environment variables that the engine inherits.
    FrontEnd(const Installation& installation, const std::wstring& arguments,
        const std::map<std::wstring, std::wstring>& environment = {});
    ~FrontEnd(); // ends whatever of the installation still runs
    FrontEnd(const FrontEnd&) = delete;
    FrontEnd& operator=(const FrontEnd&) = delete;

    HWND window() const { return window_; }
    HANDLE process() const { return process_.get(); }
    DWORD processId() const { return processId_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }
    std::wstring text(int id) const;
    std::wstring log() const;
    std::vector<std::wstring> logLines() const; // without their time stamps
    bool enabled(int id) const { return IsWindowEnabled(control(id)) != FALSE; }
    // The queue's list as shown: each row's recording, state and result.
    // Empty while the list is hidden.
    std::vector<std::vector<std::wstring>> queueRows() const;

    // Waits until the window is the active one and its thread idle with no
    // input pending, so keys posted from now on are not undone by a late
    // activation; false on time-out.
    bool waitUntilReadyForKeys() const;

    void setText(int id, const std::wstring& text);
    void click(int id); // posted, as a click would arrive
    void close();       // WM_CLOSE, posted

    // Save log with the system's dialog, the file name typed into it; true
    // once the dialog has gone. The program then writes the file.
    bool saveLog(const std::wstring& path);

    // Waits until a log line (without stamp) equals text; false on time-out.
    bool waitForLine(const std::wstring& text, DWORD timeoutMs = 20000) const;
    bool waitForLines(size_t count, DWORD timeoutMs = 20000) const;
    // A message box of the program, or an empty record on time-out.
    MessageBoxSeen waitForMessageBox(DWORD timeoutMs = 10000) const;
    static void answer(const MessageBoxSeen& box, int button);

    // The exit code once the program has ended, or -1 on time-out.
    long waitForExit(DWORD timeoutMs = 20000);
    DWORD uiThread() const;

    // Top-level windows of other programs that appeared since start, such as
    // the file manager showing a result folder; closes them when asked.
    std::vector<HWND> newForeignWindows() const;
    // Waits up to the time given for count such windows to be there.
    std::vector<HWND> waitForForeignWindows(size_t count, DWORD timeoutMs = 10000) const;
    void closeForeignWindows();

private:
    const Installation& installation_;
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
    std::vector<HWND> windowsBefore_;
};

// The queue's list of a window of the program in another process, as shown.
std::vector<std::vector<std::wstring>> queueRowsOf(HWND window, HANDLE process);

// Runs a command line to its end without a window of its own (a start that
// hands its work over, msiexec); its exit code, or -1.
long runToExit(std::wstring commandLine, DWORD timeoutMs = 120000);

// Ends every process whose program lives in the folder.
void endProcessesIn(const std::wstring& folder);
std::vector<DWORD> processesIn(const std::wstring& folder);

// Today's date folder name, as the front-end computes it.
std::wstring todayFolder();

// A path in double quotes, as one argument of a command line.
std::wstring inQuotes(const std::wstring& path);
