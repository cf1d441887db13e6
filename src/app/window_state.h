// The main window's program-wide record, read and written on the UI thread only.
#pragma once

#include "util/handles.h"

#include <windows.h>

#include <string>

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
    UniqueFont previousFont; // until the log pane has taken the new one
    UniqueIcon bigIcon;      // the application icon at the window's DPI
    UniqueIcon smallIcon;
    HMENU menu = nullptr;    // owned by the window once attached
    HWND tooltip = nullptr;  // owned by the window
    HWND controls[CONTROL_COUNT] = {};
    HWND lastFocus = nullptr;      // the control to give the focus back to on activation
    HWND focusBeforeRun = nullptr; // a control a run disabled while it had the focus
};

extern MainWindowState mainState;

// The input path given with --autostart; consumed by the first WM_AUTOSTART.
extern std::wstring autostartPath;

// The end of a run, from the log once the run's last line is shown;
// wParam is the engine's exit code.
constexpr UINT WM_RUN_FINISHED = WM_APP + 2;
constexpr UINT WM_AUTOSTART = WM_APP + 3;

constexpr const wchar_t* MAIN_WINDOW_CLASS = L"VeradurAzazorariDER";
