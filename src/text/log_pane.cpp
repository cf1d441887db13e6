#include "text/log_pane.h"

#include "app/window_state.h"
#include "text/catalogue.h"
#include "text/insertion_pacer.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <deque>

namespace {

void appendFormattedLine(std::wstring& out, std::wstring_view text, const SYSTEMTIME& time)
{
    wchar_t prefix[16];
    swprintf(prefix, 16, L"[%02d:%02d:%02d] ", time.wHour, time.wMinute, time.wSecond);
    out += prefix;
    out += text;
    out += L"\r\n";
}

double nowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A slice: taking queued output, then inserting into the pane.
constexpr double TAKE_MS = 4;
constexpr double INSERT_MS = 8;
constexpr size_t TAKE_BATCH = 2000;

// A paint of the pane costs time that grows with the lines it holds, so
// during a burst it is painted at most every quarter second and at most a
// twentieth of the time, and once more when the burst ends.
constexpr double PAINT_INTERVAL_MS = 250;

struct LogState {
    HWND pane = nullptr;
    KeptLog kept;
    // Kept lines that wait for the pane, as they will be inserted; never
    // more than the pane shows.
    std::deque<std::wstring> waiting;
    // The pane: an optional first line saying how many earlier lines it
    // leaves out, then one entry per shown line (its length with CR LF).
    size_t headerLength = 0;
    std::deque<size_t> shown;
    size_t hidden = 0;  // kept lines before the pane's first
    size_t dropped = 0; // kept lines that never reached the pane; it starts anew
    std::shared_ptr<OutputQueue> output;
    std::optional<unsigned> exitCode; // the run has ended; told once its lines are shown
    InsertionPacer pacer;
    double lastPaint = 0;
    double paintMs = 0;
    bool owesPaint = false;
    bool scheduled = false;
};

LogState logState;

// Kept, and waiting for the pane. When more wait than the pane shows, the
// oldest never reach it: the pane then starts anew with the newest.
void addLine(std::wstring&& line)
{
    keepLine(logState.kept, line);
    logState.waiting.push_back(std::move(line));
    if (logState.waiting.size() > PANE_LINES) {
        logState.waiting.pop_front();
        ++logState.dropped;
    }
}

// Where the user is: new lines are followed only while the selection is
// empty and the last line is in view, as in any log viewer; otherwise the
// selection and the text at the top stay where they are.
struct ReaderPlace {
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    LRESULT topCharacter = 0;
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

ReaderPlace readerPlace(HWND pane)
{
    ReaderPlace place;
    SendMessageW(pane, EM_GETSEL, reinterpret_cast<WPARAM>(&place.selectionStart),
        reinterpret_cast<LPARAM>(&place.selectionEnd));
    const LRESULT firstVisible = SendMessageW(pane, EM_GETFIRSTVISIBLELINE, 0, 0);
    place.topCharacter = SendMessageW(pane, EM_LINEINDEX, firstVisible, 0);
    RECT format = {};
    SendMessageW(pane, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const LRESULT visibleLines = (format.bottom - format.top) / lineHeight(pane);
    // The text ends with a line break, so the last line holding text is the
    // one before the last.
    const LRESULT lastTextLine = SendMessageW(pane, EM_GETLINECOUNT, 0, 0) - 2;
    place.following = place.selectionStart == place.selectionEnd && firstVisible + visibleLines > lastTextLine;
    return place;
}

// Replaces the pane's first characters (the earlier-lines line and the
// lines leaving) with a new first line; returns by how much later text moved.
LONG_PTR replaceStart(HWND pane, size_t removed, const std::wstring& header)
{
    SendMessageW(pane, EM_SETSEL, 0, static_cast<LPARAM>(removed));
    SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(header.c_str()));
    logState.headerLength = header.size();
    return static_cast<LONG_PTR>(header.size()) - static_cast<LONG_PTR>(removed);
}

std::wstring earlierLinesHeader()
{
    return fillPlaceholder(uiText(T_LOG_EARLIER), std::to_wstring(logState.hidden)) + L"\r\n";
}

// Older lines leave in large chunks, or all at once when the pane starts
// anew; returns how far the remaining text moved and where the removed
// text ended.
LONG_PTR makeRoom(HWND pane, size_t& removedEnd)
{
    removedEnd = 0;
    size_t leaving = 0;
    if (logState.dropped > 0) {
        leaving = logState.shown.size();
        logState.hidden += logState.dropped;
        logState.dropped = 0;
    } else if (logState.shown.size() + logState.waiting.size() > PANE_LINES + TRIM_LINES) {
        leaving = std::min(logState.shown.size(), logState.shown.size() + logState.waiting.size() - PANE_LINES);
    } else {
        return 0;
    }
    size_t removed = logState.headerLength;
    for (size_t index = 0; index < leaving; ++index) {
        removed += logState.shown.front();
        logState.shown.pop_front();
    }
    logState.hidden += leaving;
    removedEnd = removed;
    return replaceStart(pane, removed, earlierLinesHeader());
}

void restorePlace(HWND pane, const ReaderPlace& place, LONG_PTR moved, size_t removedEnd)
{
    if (place.following) {
        const LRESULT end = GetWindowTextLengthW(pane);
        SendMessageW(pane, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(pane, EM_SCROLLCARET, 0, 0);
        return;
    }
    // Text that left the pane takes the selection and the view to its start.
    const auto follow = [&](LONG_PTR position) {
        return position < static_cast<LONG_PTR>(removedEnd) ? 0 : position + moved;
    };
    SendMessageW(pane, EM_SETSEL, follow(place.selectionStart), follow(place.selectionEnd));
    const LRESULT topLine = SendMessageW(pane, EM_LINEFROMCHAR, follow(place.topCharacter), 0);
    const LRESULT firstNow = SendMessageW(pane, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(pane, EM_LINESCROLL, 0, topLine - firstNow);
}

// Inserts waiting lines in one go, as many as fit in the time given.
void insertWaiting(HWND pane, double budgetMs, bool moreToCome)
{
    if (logState.waiting.empty() && logState.dropped == 0) {
        return;
    }
    const double start = nowMs();
    // Uncovered or resized meanwhile: that paint is owed now, burst or not.
    const bool exposed = GetUpdateRect(pane, nullptr, FALSE) != FALSE;
    const ReaderPlace place = readerPlace(pane);
    // Windows draws nothing in between; Wine's edit control ignores this and
    // the paint decision below holds for both.
    SendMessageW(pane, WM_SETREDRAW, FALSE, 0);
    size_t removedEnd = 0;
    const LONG_PTR moved = makeRoom(pane, removedEnd);
    const size_t count = logState.pacer.next(budgetMs, logState.waiting.size());
    std::wstring block;
    for (size_t index = 0; index < count; ++index) {
        std::wstring& line = logState.waiting.front();
        logState.shown.push_back(line.size());
        block += line;
        logState.waiting.pop_front();
    }
    // At the end of the text, not at the caret: a click into the pane must
    // not make later lines land in the middle of the log.
    const LRESULT end = GetWindowTextLengthW(pane);
    SendMessageW(pane, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(block.c_str()));
    restorePlace(pane, place, moved, removedEnd);
    SendMessageW(pane, WM_SETREDRAW, TRUE, 0);
    logState.pacer.record(count, nowMs() - start);

    const double now = nowMs();
    const bool burst = moreToCome || !logState.waiting.empty();
    if (!burst || exposed || now - logState.lastPaint >= std::max(PAINT_INTERVAL_MS, 20 * logState.paintMs)) {
        InvalidateRect(pane, nullptr, TRUE);
        logState.owesPaint = false;
    } else {
        ValidateRect(pane, nullptr); // painted with the next lines
        logState.owesPaint = true;
    }
}

// The next slice comes at once unless input or painting waits; then it
// comes after them, by timer, which the message loop serves last.
void scheduleSlice()
{
    const HWND window = logState.pane != nullptr ? GetParent(logState.pane) : nullptr;
    if (window == nullptr || logState.scheduled) {
        return;
    }
    const bool othersWait = HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT)) != 0;
    logState.scheduled = (!othersWait && PostMessageW(window, WM_RUN_OUTPUT, 0, 0))
        || SetTimer(window, LOG_TIMER_ID, USER_TIMER_MINIMUM, nullptr) != 0;
}

// The pane's own handling: Tab into it must not select the whole log
// (which would stop it following a run), Esc is no key of the pane's (a
// multi-line edit control would close its parent), the context menu is the
// window's, and painting is timed for the spacing of paints during bursts.
LRESULT CALLBACK paneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (message) {
    case WM_GETDLGCODE: {
        LRESULT code = DefSubclassProc(pane, message, wParam, lParam) & ~DLGC_HASSETSEL;
        const MSG* pending = reinterpret_cast<const MSG*>(lParam);
        if (pending != nullptr && pending->message == WM_KEYDOWN && pending->wParam == VK_ESCAPE) {
            code &= ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
        }
        return code;
    }
    case WM_CONTEXTMENU:
        return SendMessageW(GetParent(pane), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pane), lParam);
    case WM_PAINT: {
        const double start = nowMs();
        const LRESULT result = DefSubclassProc(pane, message, wParam, lParam);
        logState.lastPaint = nowMs();
        logState.paintMs = logState.lastPaint - start;
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(pane, paneProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(pane, message, wParam, lParam);
}

} // namespace

std::wstring formatLogLine(std::wstring_view text, const SYSTEMTIME& time)
{
    std::wstring line;
    line.reserve(11 + text.size() + 2);
    appendFormattedLine(line, text, time);
    return line;
}

HWND createLogPane(HWND parent, HINSTANCE instance, DWORD exStyle, DWORD style, const RECT& place, int id)
{
    closeLogPane();
    HWND pane = CreateWindowExW(exStyle, L"EDIT", L"", style, place.left, place.top, place.right - place.left,
        place.bottom - place.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (pane == nullptr) {
        return nullptr;
    }
    // The default limit of 30,000 characters would silently stop the log.
    SendMessageW(pane, EM_SETLIMITTEXT, 0, 0);
    SetWindowSubclass(pane, paneProc, 0, 0);
    logState.pane = pane;
    return pane;
}

void closeLogPane()
{
    if (logState.output != nullptr) {
        closeOutputQueue(*logState.output);
    }
    logState = LogState{};
}

void appendLog(std::wstring_view text)
{
    if (logState.pane == nullptr) {
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    addLine(formatLogLine(text, now));
    insertWaiting(logState.pane, INSERT_MS, logState.output != nullptr);
    if (!logState.waiting.empty()) {
        scheduleSlice();
    }
}

void readRunOutput(std::shared_ptr<OutputQueue> output)
{
    logState.output = std::move(output);
    logState.exitCode.reset();
}

std::optional<unsigned> showSomeOutput()
{
    logState.scheduled = false;
    if (logState.pane == nullptr) {
        return std::nullopt;
    }
    const double start = nowMs();
    bool moreOutput = false;
    while (logState.output != nullptr) {
        TakenOutput taken = takeOutput(*logState.output, TAKE_BATCH);
        SYSTEMTIME now;
        GetLocalTime(&now);
        for (LogLine& line : taken.lines) {
            if (line.continuation) {
                line.text += L"\r\n";
                addLine(std::move(line.text));
            } else {
                addLine(formatLogLine(line.text, now));
            }
        }
        if (taken.exitCode) {
            logState.exitCode = taken.exitCode;
            logState.output.reset();
            break;
        }
        if (!taken.more) {
            break;
        }
        if (nowMs() - start >= TAKE_MS) {
            moreOutput = true;
            break;
        }
    }
    insertWaiting(logState.pane, INSERT_MS, moreOutput);
    if (!logState.waiting.empty() || moreOutput) {
        scheduleSlice();
        return std::nullopt;
    }
    if (logState.owesPaint) {
        InvalidateRect(logState.pane, nullptr, TRUE);
        logState.owesPaint = false;
    }
    std::optional<unsigned> ended = logState.exitCode;
    logState.exitCode.reset();
    return ended;
}

const KeptLog& keptLog()
{
    return logState.kept;
}

void clearLog()
{
    if (logState.pane == nullptr) {
        return;
    }
    clearKeptLog(logState.kept);
    logState.waiting.clear();
    logState.shown.clear();
    logState.headerLength = 0;
    logState.hidden = 0;
    logState.dropped = 0;
    SetWindowTextW(logState.pane, L"");
}

std::wstring logFileName(const SYSTEMTIME& time)
{
    wchar_t name[40];
    swprintf(name, 40, L"log-%04d-%02d-%02d-%02d%02d%02d.txt", time.wYear, time.wMonth, time.wDay, time.wHour,
        time.wMinute, time.wSecond);
    return name;
}
