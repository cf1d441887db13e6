// DPI of windows and scaling of the 96-DPI figures the layout is drawn in.
// The program is per-monitor aware (v2 on Windows 10 1703 and later): it
// scales everything itself, so nothing is stretched or blurred at 125-150 %.
#pragma once

#include <windows.h>

constexpr unsigned BASE_DPI = 96;

// A 96-DPI figure at the given DPI, rounded as MulDiv rounds.
int scaled(int value, unsigned dpi);

// The DPI of the monitor the window is on (of the system where Windows is
// older than 10 1607).
unsigned dpiOf(HWND window);

// GetSystemMetrics for a DPI.
int systemMetric(int index, unsigned dpi);
