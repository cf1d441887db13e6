// The main window's life: class, creation, closing, destruction, message loop.
#pragma once

#include <windows.h>

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool registerMainWindowClass(HINSTANCE instance);

// The 730 x 610 main window, built and filled in the current language; not yet shown.
HWND createMainWindow(HINSTANCE instance);

// One message of the loop: the dialog keys first, then the usual way.
void processMessage(MSG& message);

// Runs until WM_QUIT and returns its exit code.
int runMessageLoop();

// The whole program after the module instance is known: returns the exit code.
int runApplication(HINSTANCE instance, const wchar_t* commandLine);

// Loads the settings before the window is made, so the language is known
// before any text is chosen; what went wrong with the file (a reset, a lock)
// is told in the log once the window is there.
void loadStartingConfig();
