// The main window's program-wide record, read and written on the UI thread only.
#pragma once

#include "util/handles.h"

#include <windows.h>

#include <string>

// The application icon in the two sizes a window shows, at one DPI.
struct AppIcons {
    UniqueIcon big;
    UniqueIcon small;
};

// One entry per row of the control table, in creation order.
enum ControlIndex : int {
    CTL_INPUT_LABEL,
    CTL_INPUT,
    CTL_BROWSE_INPUT,
    CTL_OUTPUT_LABEL,
    CTL_OUTPUT,
    CTL_BROWSE_OUTPUT,
    CTL_LABEL_LABEL,
    CTL_LABEL,
    CTL_CLIPS,
    CTL_SPEAKERS_LABEL,
    CTL_SPEAKERS,
    CTL_SETTINGS,
    CTL_LOG_LABEL,
    CTL_LOG,
    CTL_CANCEL,
    CTL_OK,
    CTL_LINK,
    CONTROL_COUNT
};

struct MainWindowState {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    unsigned dpi = 96; // of the monitor the window is on
    UniqueFont font;
    AppIcons icons;          // the application icon at the window's DPI
    HMENU menu = nullptr;    // owned by the window once attached
    HWND tooltip = nullptr;  // owned by the window
    HWND controls[CONTROL_COUNT] = {};
    HWND queueList = nullptr;      // made when the queue first holds something
    std::wstring startNotice;      // what loading the settings at start has to tell, for the log
    // The input field still holds the path restored from the last session:
    // the user did not put it there for a queue, so it does not join one.
    bool inputRestored = false;
    ULONGLONG lastCancelAt = 0;    // when Cancel last stopped a run (GetTickCount64)

    HWND lastFocus = nullptr;      // the control to give the focus back to on activation
    HWND focusBeforeRun = nullptr; // a control a run disabled while it had the focus
};

extern MainWindowState mainState;

// The command line's recordings; consumed by the first WM_AUTOSTART.
struct StartPaths;
extern StartPaths startPaths;

// A run's output waits in its queue, or the log has more to show.
constexpr UINT WM_RUN_OUTPUT = WM_APP + 1;
constexpr UINT WM_AUTOSTART = WM_APP + 3;
// Dropped or picked paths, sorted out on another thread: lParam holds a
// PathsArrived the window takes over.
constexpr UINT WM_PATHS_EXPANDED = WM_APP + 4;
// A result folder could not be opened: lParam holds the folder as a
// std::wstring the window takes over.
constexpr UINT WM_OPEN_FAILED = WM_APP + 5;

constexpr const wchar_t* MAIN_WINDOW_CLASS = L"VeradurAzazorariDER";
