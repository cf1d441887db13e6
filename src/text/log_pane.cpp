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

void insertAtEnd(HWND pane, const std::wstring& text)
{
    // At the end of the text, not at the caret: a click into the pane must
    // not make later lines land in the middle of the log.
    const LRESULT end = GetWindowTextLengthW(pane);
    SendMessageW(pane, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(pane, EM_SCROLLCARET, 0, 0);
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
