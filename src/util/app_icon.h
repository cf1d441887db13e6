// The application icon, loaded at a DPI for the main window and the
// settings dialog alike.
#pragma once

#include "util/handles.h"

#include <windows.h>

// The icon in the two sizes a window shows, at one DPI.
struct AppIcons {
    UniqueIcon big;
    UniqueIcon small;
};

AppIcons loadAppIcons(HINSTANCE instance, unsigned dpi);

// The window shows the icons but does not take them over: they must outlive it.
void setWindowIcons(HWND window, const AppIcons& icons);
