// Tooltip windows for the controls of the main window and the settings dialog.
#pragma once

#include <windows.h>

constexpr int TOOLTIP_MAX_WIDTH = 420; // at 96 DPI; long tips wrap

// A new tooltip window owned by owner, wrapping at TOOLTIP_MAX_WIDTH scaled
// to the owner's DPI, or null. It goes with its owner.
HWND createTooltipWindow(HWND owner, HINSTANCE instance);

// The control shows text (borrowed: it must outlive the tool) as its tip.
void addTooltip(HWND tooltip, HWND owner, HWND control, const wchar_t* text);
