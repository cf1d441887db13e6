#include "app/log_pane.h"

#include "app/window_state.h"
#include "text/catalogue.h"
#include "app/insertion_pacer.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <deque>
#include <utility>

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

// A slice: taking queued output, then showing it in the pane; at most
// about ten milliseconds of the window's time.
constexpr double TAKE_MS = 4;
constexpr double INSERT_MS = 6;
constexpr double SLICE_MS = 10;
constexpr size_t TAKE_BATCH = 250;

// A paint of the pane costs a few milliseconds, so during a burst it is
// painted at most every quarter second and at most a twentieth of the
// time, and once more when the burst ends.
constexpr double PAINT_INTERVAL_MS = 250;

// Under Wine the edit control lays out every inserted line (about 45
// microseconds each), so a burst of tens of thousands of lines a second
// outruns any pane. Then the pane previews the newest lines a few times a
// second while the whole log takes everything, and once the burst is over
// it shows the most recent lines in order.
constexpr double PREVIEW_INTERVAL_MS = 250;
constexpr size_t PREVIEW_LINES = 30;

// The pane also holds at most about this much text (lines can be long: the
// pieces of a very long engine line are a thousand characters each), since
// every insertion into a very large text costs more.
constexpr size_t PANE_CHARS = 1000000;
constexpr size_t TRIM_CHARS = 200000;

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
    size_t shownChars = 0;
    size_t waitingChars = 0;
    size_t hidden = 0;  // kept lines before the pane's first
    size_t dropped = 0; // kept lines that never reached the pane; it starts anew
    bool preview = false; // a burst outruns the pane: it shows only the newest lines
    double lastPreview = 0;
    std::shared_ptr<OutputQueue> output;
    std::optional<unsigned> exitCode; // the run has ended; told once its lines are shown
    InsertionPacer pacer;
    double lastPaint = 0;
    double paintMs = 0;
    bool owesPaint = false;
    bool scheduled = false;
    std::wstring aside; // the pane's text while the window changes font and size
    bool textAside = false;
    RunLogFile* runLog = nullptr; // the running run's file: every line kept goes there too
};

LogState logState;

// Kept, and waiting for the pane. When more wait than the pane shows, the
// oldest never reach it: the pane then starts anew with the newest.
void addLine(std::wstring&& line)
{
    const std::string_view bytes = keepLine(logState.kept, line);
    if (logState.runLog != nullptr) {
        writeToRunLog(*logState.runLog, bytes);
    }
    logState.waitingChars += line.size();
    logState.waiting.push_back(std::move(line));
    while (logState.waiting.size() > 1
        && (logState.waiting.size() > PANE_LINES || logState.waitingChars > PANE_CHARS)) {
        logState.waitingChars -= logState.waiting.front().size();
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

ReaderPlace asidePlace; // where the reader was when the pane's text was set aside
bool followedBeforeResize = false;

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

// Older lines leave in large chunks; returns how far the remaining text
// moved and where the removed text ended.
LONG_PTR makeRoom(HWND pane, size_t& removedEnd)
{
    removedEnd = 0;
    const auto lines = [] { return logState.shown.size() + logState.waiting.size(); };
    const auto chars = [] { return logState.shownChars + logState.waitingChars; };
    if (lines() <= PANE_LINES + TRIM_LINES && chars() <= PANE_CHARS + TRIM_CHARS) {
        return 0;
    }
    size_t removed = logState.headerLength;
    size_t leaving = 0;
    while (!logState.shown.empty() && (lines() > PANE_LINES || chars() > PANE_CHARS)) {
        removed += logState.shown.front();
        logState.shownChars -= logState.shown.front();
        logState.shown.pop_front();
        ++leaving;
    }
    logState.hidden += leaving;
    removedEnd = removed;
    return replaceStart(pane, removed, earlierLinesHeader());
}

// Windows draws nothing while redrawing is off. Wine's edit control ignores
// the message and would repaint at every insertion (three milliseconds or
// more), so the control is made invisible the way Windows does it.
LONG_PTR suspendRedraw(HWND pane)
{
    const LONG_PTR style = GetWindowLongPtrW(pane, GWL_STYLE);
    SendMessageW(pane, WM_SETREDRAW, FALSE, 0);
    if ((GetWindowLongPtrW(pane, GWL_STYLE) & WS_VISIBLE) != 0) {
        SetWindowLongPtrW(pane, GWL_STYLE, style & ~WS_VISIBLE);
    }
    return style;
}

void resumeRedraw(HWND pane, LONG_PTR style)
{
    SetWindowLongPtrW(pane, GWL_STYLE, style);
    SendMessageW(pane, WM_SETREDRAW, (style & WS_VISIBLE) != 0, 0);
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

// Paints now, or during a burst only now and then (Wine's edit control is
// validated after an insertion that is not to be painted).
void paintPane(HWND pane, bool burst, bool exposed)
{
    const double now = nowMs();
    if (!burst || exposed || now - logState.lastPaint >= std::max(PAINT_INTERVAL_MS, 20 * logState.paintMs)) {
        InvalidateRect(pane, nullptr, TRUE);
        logState.owesPaint = false;
    } else {
        ValidateRect(pane, nullptr);
        logState.owesPaint = true;
    }
}

// The pane starts anew: the earlier-lines line, then the lines given.
void replaceAll(HWND pane, const std::wstring& lines)
{
    const std::wstring text = earlierLinesHeader() + lines;
    logState.headerLength = text.size() - lines.size();
    SetWindowTextW(pane, text.c_str());
}

// While a burst outruns the pane, the newest lines are shown in place of
// everything else, if the user follows the log (one who reads keeps the
// text where it is until the burst is over).
void showPreview(HWND pane, const ReaderPlace& place)
{
    logState.lastPreview = nowMs();
    if (!place.following) {
        return;
    }
    const size_t count = std::min(PREVIEW_LINES, logState.waiting.size());
    std::wstring block;
    for (size_t index = logState.waiting.size() - count; index < logState.waiting.size(); ++index) {
        block += logState.waiting[index];
    }
    logState.hidden = logState.kept.lines - count;
    logState.shown.clear();
    logState.shownChars = 0;
    replaceAll(pane, block);
    restorePlace(pane, place, 0, 0);
    logState.hidden = 0; // recounted when the burst is over
}

// Shows waiting lines: in order, as many as fit in the time given, or
// during a burst that outruns the pane a preview of the newest.
void showWaiting(HWND pane, double budgetMs, bool burstGoesOn)
{
    if (logState.waiting.empty() && logState.dropped == 0) {
        return;
    }
    const double start = nowMs();
    if (logState.dropped > 0 && burstGoesOn && start - logState.lastPreview < PREVIEW_INTERVAL_MS) {
        logState.preview = true;
        return; // nothing to show yet; the pane is left alone
    }
    // Uncovered or resized meanwhile: that paint is owed now, burst or not.
    const bool exposed = GetUpdateRect(pane, nullptr, FALSE) != FALSE;
    const ReaderPlace place = readerPlace(pane);
    const LONG_PTR style = suspendRedraw(pane);
    LONG_PTR moved = 0;
    size_t removedEnd = 0;
    size_t count = 0;
    if (logState.dropped > 0 && burstGoesOn) {
        logState.preview = true;
        showPreview(pane, place);
    } else {
        if (logState.dropped > 0 || logState.preview) {
            // After a burst: the most recent lines, in order, from the start.
            logState.hidden = logState.kept.lines - logState.waiting.size();
            logState.dropped = 0;
            logState.preview = false;
            logState.shown.clear();
            logState.shownChars = 0;
            removedEnd = static_cast<size_t>(GetWindowTextLengthW(pane));
            replaceAll(pane, {});
        } else {
            moved = makeRoom(pane, removedEnd);
        }
        // At least one line, then lines while they fit.
        const size_t most = logState.pacer.next(budgetMs, logState.waitingChars);
        std::wstring block;
        while (!logState.waiting.empty() && (block.empty() || block.size() + logState.waiting.front().size() <= most)) {
            std::wstring& line = logState.waiting.front();
            logState.shown.push_back(line.size());
            logState.shownChars += line.size();
            logState.waitingChars -= line.size();
            block += line;
            logState.waiting.pop_front();
        }
        count = block.size();
        // At the end of the text, not at the caret: a click into the pane
        // must not make later lines land in the middle of the log.
        const LRESULT end = GetWindowTextLengthW(pane);
        SendMessageW(pane, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(block.c_str()));
        restorePlace(pane, place, moved, removedEnd);
    }
    resumeRedraw(pane, style);
    if (count > 0) {
        logState.pacer.record(count, nowMs() - start);
    }
    paintPane(pane, burstGoesOn || !logState.waiting.empty(), exposed);
}

// The next slice comes at once unless input, painting or another message
// waits; then it comes after them, by timer, which the message loop serves
// last. (Posted messages are served in order, so a slice posted at once
// would go before a key posted while this one ran.) While a burst outruns
// the pane, slices come by timer too: taking lines as fast as they come
// would keep the window's thread busy all the time, beside the engine and
// the pump on a machine with two cores, and every message from outside (a
// click, a screen reader) would wait its turn for the processor. The engine
// waits at the queue's bound meanwhile; nothing is lost.
void scheduleSlice()
{
    const HWND window = logState.pane != nullptr ? GetParent(logState.pane) : nullptr;
    if (window == nullptr || logState.scheduled) {
        return;
    }
    const bool othersWait =
        logState.preview || HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE)) != 0;
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
    case WM_WINDOWPOSCHANGING:
        // A smaller pane pushes the last line out of view, which would read
        // as the reader having scrolled up: whoever followed keeps following.
        if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOSIZE) == 0) {
            followedBeforeResize = readerPlace(pane).following;
        }
        break;
    case WM_SIZE: {
        const LRESULT result = DefSubclassProc(pane, message, wParam, lParam);
        if (followedBeforeResize) {
            SendMessageW(pane, WM_VSCROLL, SB_BOTTOM, 0);
        }
        return result;
    }
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
    showWaiting(logState.pane, INSERT_MS, false);
    if (!logState.waiting.empty()) {
        scheduleSlice();
    }
}

void keepRunLogIn(RunLogFile* file)
{
    logState.runLog = file;
}

void readRunOutput(std::shared_ptr<OutputQueue> output)
{
    logState.output = std::move(output);
    logState.exitCode.reset();
}

namespace {

// The engine's lines as taken: stamped (one stamp for the whole batch) and
// kept, waiting for the pane.
void keepTaken(const TakenOutput& taken)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring stamp = formatLogLine({}, now).substr(0, 11);
    for (const LogLine& line : taken.lines) {
        std::wstring shown;
        shown.reserve(11 + line.text.size() + 2);
        if (!line.continuation) {
            shown += stamp;
        }
        shown += line.text;
        shown += L"\r\n";
        addLine(std::move(shown));
    }
}

enum class Batch { RunEnded, NoneWaiting, MoreWaiting };

// One batch from the run's queue into the kept log and the pane's waiting
// lines; the exit code, once it comes, is held for the caller to report.
Batch takeBatch()
{
    const TakenOutput taken = takeOutput(*logState.output, TAKE_BATCH);
    keepTaken(taken);
    if (taken.exitCode) {
        logState.exitCode = taken.exitCode;
        logState.output.reset();
        return Batch::RunEnded;
    }
    return taken.more ? Batch::MoreWaiting : Batch::NoneWaiting;
}

} // namespace

std::optional<unsigned> keepOutputNow(DWORD timeoutMs)
{
    const ULONGLONG until = GetTickCount64() + timeoutMs;
    while (logState.output != nullptr) {
        const Batch batch = takeBatch();
        if (batch == Batch::RunEnded) {
            break;
        }
        if (batch == Batch::NoneWaiting) {
            if (GetTickCount64() >= until) {
                return std::nullopt;
            }
            Sleep(10); // the reader thread passes on the last bytes
        }
    }
    return std::exchange(logState.exitCode, std::nullopt);
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
        if (takeBatch() != Batch::MoreWaiting) {
            break;
        }
        // While the pane previews, the slice is nearly all taking.
        if (nowMs() - start >= (logState.preview ? SLICE_MS - 2 : TAKE_MS)) {
            moreOutput = true;
            break;
        }
    }
    showWaiting(logState.pane, std::max(INSERT_MS, SLICE_MS - (nowMs() - start)), moreOutput);
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

void setPaneTextAside()
{
    if (logState.pane == nullptr || logState.textAside) {
        return;
    }
    logState.textAside = true;
    HWND pane = logState.pane;
    asidePlace = readerPlace(pane);
    logState.aside.assign(static_cast<size_t>(GetWindowTextLengthW(pane)) + 1, L'\0');
    logState.aside.resize(static_cast<size_t>(
        std::max(0, GetWindowTextW(pane, logState.aside.data(), static_cast<int>(logState.aside.size())))));
    const LONG_PTR style = suspendRedraw(pane);
    SetWindowTextW(pane, L"");
    resumeRedraw(pane, style);
}

void restorePaneText()
{
    if (logState.pane == nullptr || !logState.textAside) {
        return;
    }
    HWND pane = logState.pane;
    const LONG_PTR style = suspendRedraw(pane);
    SetWindowTextW(pane, logState.aside.c_str());
    restorePlace(pane, asidePlace, 0, 0);
    resumeRedraw(pane, style);
    InvalidateRect(pane, nullptr, TRUE);
    logState.aside = std::wstring();
    logState.textAside = false;
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
    logState.shownChars = 0;
    logState.waitingChars = 0;
    logState.headerLength = 0;
    logState.hidden = 0;
    logState.dropped = 0;
    logState.preview = false;
    SetWindowTextW(logState.pane, L"");
}

std::wstring logFileName(const SYSTEMTIME& time)
{
    wchar_t name[40];
    swprintf(name, 40, L"log-%04d-%02d-%02d-%02d%02d%02d.txt", time.wYear, time.wMonth, time.wDay, time.wHour,
        time.wMinute, time.wSecond);
    return name;
}
