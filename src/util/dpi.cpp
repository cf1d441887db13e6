#include "util/dpi.h"

namespace {

// Looked up at run time: the product also starts on Windows versions that
// lack these functions.
template <typename Function>
Function user32Function(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

} // namespace

int scaled(int value, unsigned dpi)
{
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(BASE_DPI));
}

unsigned dpiOf(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
            return dpi;
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : BASE_DPI;
}

int systemMetric(int index, unsigned dpi)
{
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto getSystemMetricsForDpi = user32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr) {
        return getSystemMetricsForDpi(index, dpi);
    }
    return GetSystemMetrics(index);
}
