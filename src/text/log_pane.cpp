#include "text/log_pane.h"

#include "app/window_state.h"

#include <cwchar>

std::wstring formatLogLine(std::wstring_view text, const SYSTEMTIME& time)
{
    wchar_t prefix[16];
    swprintf(prefix, 16, L"[%02d:%02d:%02d] ", time.wHour, time.wMinute, time.wSecond);
    std::wstring line;
    line.reserve(11 + text.size() + 2);
    line += prefix;
    line += text;
    line += L"\r\n";
    return line;
}

void appendLogLine(HWND pane, std::wstring_view text, const SYSTEMTIME& time)
{
    if (pane == nullptr) {
        return;
    }
    const std::wstring line = formatLogLine(text, time);
    // At the end of the text, not at the caret: a click into the pane must
    // not make later lines land in the middle of the log.
    const LRESULT end = GetWindowTextLengthW(pane);
    SendMessageW(pane, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(pane, EM_SCROLLCARET, 0, 0);
}

void appendLog(std::wstring_view text)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    appendLogLine(mainState.controls[CTL_LOG], text, now);
}
