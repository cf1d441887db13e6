#include "util/tooltips.h"

#include "util/dpi.h"

#include <commctrl.h>

#ifdef _WIN64
static_assert(sizeof(TOOLINFOW) == 72, "tools are registered with the full record");
#endif

HWND createTooltipWindow(HWND owner, HINSTANCE instance)
{
    HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr);
    if (tooltip != nullptr) {
        SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, scaled(TOOLTIP_MAX_WIDTH, dpiOf(owner)));
    }
    return tooltip;
}

void addTooltip(HWND tooltip, HWND owner, HWND control, const wchar_t* text)
{
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}
