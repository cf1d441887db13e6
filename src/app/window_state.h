// The main window's program-wide record and the window's own messages.
// Written by main_window.cpp (creation, destruction) and controls.cpp (the
// controls it builds); read anywhere in app/, on the window's thread only.
// Every handle is null while its window does not exist.
#pragma once

#include "util/app_icon.h"
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
    AppIcons icons;          // the application icon at the window's DPI
    HMENU menu = nullptr;    // owned by the window once attached
    HWND tooltip = nullptr;  // owned by the window
    HWND controls[CONTROL_COUNT] = {};
    HWND lastFocus = nullptr; // the control to give the focus back to on activation
};

extern MainWindowState mainState;

// The command line's recordings; consumed by the first WM_AUTOSTART.
struct StartPaths;
extern StartPaths startPaths;

// A run's output waits in its queue, or the log has more to show: the
// message the run's output queue is given to tell the log.
constexpr UINT WM_RUN_OUTPUT = WM_APP + 1;
constexpr UINT WM_AUTOSTART = WM_APP + 3;
// Dropped or picked paths, sorted out on another thread: lParam holds a
// PathsArrived the window takes over (queue_controller.h).
constexpr UINT WM_PATHS_EXPANDED = WM_APP + 4;
// A result folder could not be opened: lParam holds the folder as a
// std::wstring the window takes over.
constexpr UINT WM_OPEN_FAILED = WM_APP + 5;
// The queue's pass goes on with its next item (run_controller.h).
constexpr UINT WM_NEXT_ITEM = WM_APP + 6;
// A pass has ended as asked: the countdown before sleeping or shutting down.
constexpr UINT WM_WHEN_DONE = WM_APP + 7;
// The notification area icon of a queue's end (taskbar.h): lParam's low word
// says what happened to it.
constexpr UINT WM_NOTICE_ICON = WM_APP + 8;
// Another start of the program handed its work over (handover.h).
constexpr UINT WM_HANDED_OVER = WM_APP + 9;
// The window is free, and a handed-over start that waited for it begins
// (run_controller.h).
constexpr UINT WM_START_LATER = WM_APP + 10;
// Timers of the window's own, beside the log's LOG_TIMER_ID (1).
constexpr UINT_PTR NEXT_ITEM_TIMER_ID = 2;  // WM_NEXT_ITEM could not be posted
constexpr UINT_PTR QUEUE_SAVE_TIMER_ID = 3; // a save of queue.json held back
constexpr UINT_PTR QUEUE_CLAIM_TIMER_ID = 4; // another window keeps queue.json: try again
constexpr UINT_PTR QUEUE_PROGRESS_TIMER_ID = 5; // folders are being read: the list shows the count
constexpr UINT_PTR HANDED_OVER_TIMER_ID = 6; // handed-over work waits for a box to go
constexpr UINT_PTR WHEN_DONE_TIMER_ID = 7;   // the countdown waits for a box to go

constexpr const wchar_t* MAIN_WINDOW_CLASS = L"VeradurAzazorariDER";
