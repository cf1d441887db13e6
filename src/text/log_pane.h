// The main window's log: one timestamped line per event. The pane holds the
// only copy; there is no log file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// "[hh:mm:ss] " in 24-hour time, then the text unchanged, then CR LF.
std::wstring formatLogLine(std::wstring_view text, const SYSTEMTIME& time);

// Appends text as one line at the end of the log pane, whatever the user has
// selected or clicked into, and scrolls it into view. Dropped while there is
// no pane. UI thread only.
void appendLog(std::wstring_view text);

// One line of the log as inserted: stamped, or the continuation of the
// stamped line before it.
struct LogLine {
    std::wstring text;
    bool continuation = false;
};

// Several lines, the stamped ones all with the same time, in one insertion:
// the edit control's cost per insertion is what limits a fast engine's log.
void appendLogLines(const LogLine* lines, size_t count);

// The same on a given edit control at a given time.
void appendLogLine(HWND pane, std::wstring_view text, const SYSTEMTIME& time);
void appendLogLinesTo(HWND pane, const LogLine* lines, size_t count, const SYSTEMTIME& time);
