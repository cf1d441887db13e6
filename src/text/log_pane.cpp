#include "text/log_pane.h"

#include "app/window_state.h"

#include <cwchar>

namespace {

void appendFormattedLine(std::wstring& out, std::wstring_view text, const SYSTEMTIME& time)
{
    wchar_t prefix[16];
    swprintf(prefix, 16, L"[%02d:%02d:%02d] ", time.wHour, time.wMinute, time.wSecond);
    out += prefix;
    out += text;
    out += L"\r\n";
}

} // namespace

std::wstring formatLogLine(std::wstring_view text, const SYSTEMTIME& time)
{
    std::wstring line;
    line.reserve(11 + text.size() + 2);
    appendFormattedLine(line, text, time);
    return line;
}

namespace {

// Where the user is in the log: new lines are followed only while the
// selection is empty and the last line is in view, as in any log viewer;
// otherwise the selection and the first visible line stay where they are.
struct LogView {
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    LRESULT firstVisible = 0;
    bool following = true;
};

int lineHeight(HWND pane)
{
    HDC dc = GetDC(pane);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(pane, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(pane, dc);
    return metrics.tmHeight > 0 ? metrics.tmHeight : 1;
}

LogView viewOf(HWND pane)
{
    LogView view;
    SendMessageW(pane, EM_GETSEL, reinterpret_cast<WPARAM>(&view.selectionStart),
        reinterpret_cast<LPARAM>(&view.selectionEnd));
    view.firstVisible = SendMessageW(pane, EM_GETFIRSTVISIBLELINE, 0, 0);
    RECT format = {};
    SendMessageW(pane, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const LRESULT visibleLines = (format.bottom - format.top) / lineHeight(pane);
    // The text ends with a line break, so the last line holding text is the
    // one before the last.
    const LRESULT lastTextLine = SendMessageW(pane, EM_GETLINECOUNT, 0, 0) - 2;
    view.following = view.selectionStart == view.selectionEnd && view.firstVisible + visibleLines > lastTextLine;
    return view;
}

void insertAtEnd(HWND pane, const std::wstring& text)
{
    const LogView view = viewOf(pane);
    // Windows draws nothing in between; Wine's edit control ignores this and
    // the caller decides when the pane is painted.
    SendMessageW(pane, WM_SETREDRAW, FALSE, 0);
    // At the end of the text, not at the caret: a click into the pane must
    // not make later lines land in the middle of the log.
    const LRESULT end = GetWindowTextLengthW(pane);
    SendMessageW(pane, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    if (view.following) {
        SendMessageW(pane, EM_SCROLLCARET, 0, 0);
    } else {
        SendMessageW(pane, EM_SETSEL, view.selectionStart, view.selectionEnd);
        const LRESULT firstNow = SendMessageW(pane, EM_GETFIRSTVISIBLELINE, 0, 0);
        SendMessageW(pane, EM_LINESCROLL, 0, view.firstVisible - firstNow);
    }
    SendMessageW(pane, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(pane, nullptr, TRUE);
}

} // namespace

void appendLogLinesTo(HWND pane, const LogLine* lines, size_t count, const SYSTEMTIME& time)
{
    if (pane == nullptr || count == 0) {
        return;
    }
    size_t size = 0;
    for (size_t index = 0; index < count; ++index) {
        size += 13 + lines[index].text.size();
    }
    std::wstring block;
    block.reserve(size);
    for (size_t index = 0; index < count; ++index) {
        if (lines[index].continuation) {
            block += lines[index].text;
            block += L"\r\n";
        } else {
            appendFormattedLine(block, lines[index].text, time);
        }
    }
    insertAtEnd(pane, block);
}

void appendLogLine(HWND pane, std::wstring_view text, const SYSTEMTIME& time)
{
    const LogLine line{std::wstring(text)};
    appendLogLinesTo(pane, &line, 1, time);
}

void appendLogLines(const LogLine* lines, size_t count)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    appendLogLinesTo(mainState.controls[CTL_LOG], lines, count, now);
}

void appendLog(std::wstring_view text)
{
    const LogLine line{std::wstring(text)};
    appendLogLines(&line, 1);
}
