#include "text/log_pane.h"

#include "app/window_state.h"
#include "text/insertion_pacer.h"
#include "util/handles.h"

#include <process.h>

#include <algorithm>
#include <condition_variable>
#include <cwchar>
#include <deque>
#include <mutex>

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

// --- the queue in front of the pane, and the pane's thread ------------------

namespace {

// The pump waits while this many engine lines are queued and not shown
// (about 20 MB); enough that a long burst never runs the queue dry between
// two insertions, which would paint the log each time.
constexpr size_t MAX_WAITING_LINES = 100000;

struct LogItem {
    LogLine line;
    bool fromEngine = false;
    bool runEnd = false; // not a line: tell window that everything before is shown
    HWND window = nullptr;
    unsigned exitCode = 0;
};

} // namespace

struct LogQueue {
    std::mutex lock;
    std::condition_variable room;
    std::deque<LogItem> items;
    size_t engineLines = 0; // of items, those from the engine
    bool closed = false;
    UniqueHandle wake = UniqueHandle(CreateEventW(nullptr, FALSE, FALSE, nullptr)); // items arrived
    UniqueHandle gone = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));  // closed
};

namespace {

std::shared_ptr<LogQueue> currentLog;
DWORD logThreadId = 0;

void push(LogQueue& queue, LogItem&& item)
{
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        if (queue.closed) {
            return;
        }
        queue.items.push_back(std::move(item));
    }
    SetEvent(queue.wake.get());
}

// Up to most lines, and never past the end of a run, so its message goes
// out right after its last line is shown.
std::vector<LogItem> take(LogQueue& queue, size_t most, bool& more)
{
    std::vector<LogItem> taken;
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        while (!queue.items.empty() && taken.size() < most) {
            LogItem& item = queue.items.front();
            const bool runEnd = item.runEnd;
            queue.engineLines -= item.fromEngine ? 1 : 0;
            taken.push_back(std::move(item));
            queue.items.pop_front();
            if (runEnd) {
                break;
            }
        }
        more = !queue.items.empty();
    }
    queue.room.notify_one();
    return taken;
}

double nowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A paint of the log's end costs about as much as an insertion's overhead
// (under Wine two seconds at a million lines), so during a burst the pane
// is painted at most every quarter second and at most a twentieth of the
// time, and once more when the burst ends.
constexpr ULONGLONG PAINT_INTERVAL_MS = 250;

struct LogDisplay {
    HWND pane;
    InsertionPacer pacer;
    ULONGLONG lastPaint = 0;
    double lastPaintMs = 0;
    std::vector<LogItem> unsentEnds; // run ends whose message the window's queue refused

    void paint(bool burstGoesOn)
    {
        const ULONGLONG now = GetTickCount64();
        const auto spacing = static_cast<ULONGLONG>(20 * lastPaintMs);
        if (burstGoesOn && now - lastPaint < std::max(PAINT_INTERVAL_MS, spacing)) {
            ValidateRect(pane, nullptr); // painted with the next lines
            return;
        }
        const double start = nowMs();
        UpdateWindow(pane);
        lastPaintMs = nowMs() - start;
        lastPaint = GetTickCount64();
    }

    // Windows refuses posts to a full queue (10,000 messages), so a refused
    // end is sent again on the next turn.
    void sendEnds()
    {
        while (!unsentEnds.empty()
            && PostMessageW(unsentEnds.front().window, WM_RUN_FINISHED, unsentEnds.front().exitCode, 0)) {
            unsentEnds.erase(unsentEnds.begin());
        }
    }

    void showSome(LogQueue& queue)
    {
        bool more = false;
        std::vector<LogItem> items = take(queue, pacer.next(), more);
        std::vector<LogLine> lines;
        lines.reserve(items.size());
        for (LogItem& item : items) {
            if (item.runEnd) {
                unsentEnds.push_back(std::move(item));
            } else {
                lines.push_back(std::move(item.line));
            }
        }
        if (!lines.empty()) {
            SYSTEMTIME now;
            GetLocalTime(&now);
            const double start = nowMs();
            appendLogLinesTo(pane, lines.data(), lines.size(), now);
            pacer.record(lines.size(), nowMs() - start);
            paint(more && unsentEnds.empty());
        }
        sendEnds();
    }
};

struct PaneStart {
    HWND parent;
    HINSTANCE instance;
    DWORD exStyle;
    DWORD style;
    RECT place;
    int id;
    HFONT font;
    std::shared_ptr<LogQueue> queue;
    UniqueHandle ready;
    HWND pane = nullptr;
};

unsigned __stdcall logThread(void* parameter)
{
    PaneStart& start = *static_cast<PaneStart*>(parameter); // valid until ready is set
    const std::shared_ptr<LogQueue> queue = start.queue;
    const HWND parent = start.parent;
    HWND pane = CreateWindowExW(start.exStyle, L"EDIT", L"", start.style, start.place.left, start.place.top,
        start.place.right - start.place.left, start.place.bottom - start.place.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(start.id)), start.instance, nullptr);
    if (pane != nullptr) {
        if (start.font != nullptr) {
            SendMessageW(pane, WM_SETFONT, reinterpret_cast<WPARAM>(start.font), TRUE);
        }
        // The default limit would silently stop a long engine log.
        SendMessageW(pane, EM_SETLIMITTEXT, 0, 0);
    }
    start.pane = pane;
    SetEvent(start.ready.get());
    if (pane == nullptr) {
        return 0;
    }
    LogDisplay display{pane};
    for (;;) {
        bool waiting = false;
        {
            std::lock_guard<std::mutex> guard(queue->lock);
            if (queue->closed) {
                return 0;
            }
            waiting = !queue->items.empty();
        }
        const HANDLE wake = queue->wake.get();
        const DWORD timeout = waiting ? 0 : display.unsentEnds.empty() ? INFINITE : 50;
        MsgWaitForMultipleObjectsEx(1, &wake, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return 0;
            }
            // Esc does nothing in the log, as in the rest of the window (a
            // multi-line edit control would close its parent).
            if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
                continue;
            }
            // Tab, Shift+Tab and Enter work here as in the rest of the window.
            if (!IsDialogMessageW(parent, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        display.showSome(*queue);
    }
}

} // namespace

HWND createLogPane(HWND parent, HINSTANCE instance, DWORD exStyle, DWORD style, const RECT& place, int id,
    HFONT font)
{
    closeLogPane();
    auto queue = std::make_shared<LogQueue>();
    PaneStart start{parent, instance, exStyle, style, place, id, font, queue,
        UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr))};
    if (queue->wake == nullptr || queue->gone == nullptr || start.ready == nullptr) {
        return nullptr;
    }
    unsigned threadId = 0;
    const uintptr_t thread = _beginthreadex(nullptr, 0, logThread, &start, 0, &threadId);
    if (thread == 0) {
        return nullptr;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread)); // never joined; it ends with closeLogPane
    // Creating a child window sends messages to its parent, this thread's
    // window: they are answered while waiting.
    const HANDLE ready = start.ready.get();
    while (MsgWaitForMultipleObjects(1, &ready, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (start.pane == nullptr) {
        return nullptr;
    }
    currentLog = std::move(queue);
    logThreadId = threadId;
    return start.pane;
}

void closeLogPane()
{
    if (currentLog != nullptr) {
        {
            std::lock_guard<std::mutex> guard(currentLog->lock);
            currentLog->closed = true;
            currentLog->items.clear();
        }
        currentLog->room.notify_all();
        SetEvent(currentLog->gone.get());
        SetEvent(currentLog->wake.get());
        currentLog.reset();
    }
    if (logThreadId != 0) {
        PostThreadMessageW(logThreadId, WM_QUIT, 0, 0);
        logThreadId = 0;
    }
}

void appendLog(std::wstring_view text)
{
    if (currentLog != nullptr) {
        push(*currentLog, LogItem{LogLine{std::wstring(text)}});
    }
}

std::shared_ptr<LogQueue> currentLogQueue()
{
    return currentLog;
}

bool queueEngineLines(LogQueue& queue, std::vector<LogLine>& lines)
{
    if (lines.empty()) {
        return true;
    }
    {
        std::unique_lock<std::mutex> guard(queue.lock);
        queue.room.wait(guard, [&] { return queue.closed || queue.engineLines < MAX_WAITING_LINES; });
        if (queue.closed) {
            return false;
        }
        for (LogLine& line : lines) {
            queue.items.push_back(LogItem{std::move(line), true});
        }
        queue.engineLines += lines.size();
    }
    lines.clear();
    SetEvent(queue.wake.get());
    return true;
}

void queueRunEnd(LogQueue& queue, HWND window, unsigned exitCode)
{
    LogItem end;
    end.runEnd = true;
    end.window = window;
    end.exitCode = exitCode;
    push(queue, std::move(end));
}

HANDLE logGoneEvent(const LogQueue& queue)
{
    return queue.gone.get();
}
