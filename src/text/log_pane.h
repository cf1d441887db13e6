// The main window's log: one timestamped line per event. The pane holds the
// only copy; there is no log file.
//
// The pane is an ordinary multi-line edit control (so screen readers,
// WM_GETTEXT and Ctrl+C read it), but it lives on a thread of its own with
// a queue in front of it. Inserting a long burst of engine output costs the
// edit control time per line and per line it already holds (under Wine 30
// microseconds a line, and a second per paint at a million lines), and that
// time is never the main window's: Cancel and everything else stay at hand.
//
// Everything shown goes through the queue, in order: the window's own lines
// (appendLog), the engine's lines (queueEngineLines, from the output pump)
// and the end of a run (queueRunEnd), which the log answers with
// WM_RUN_FINISHED to the window once every line before it is shown.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One line of the log as inserted: stamped, or the continuation of the
// stamped line before it (the rest of a very long engine line).
struct LogLine {
    std::wstring text;
    bool continuation = false;
};

// "[hh:mm:ss] " in 24-hour time, then the text unchanged, then CR LF.
std::wstring formatLogLine(std::wstring_view text, const SYSTEMTIME& time);

// Creates the pane as a child of parent, on the log's own thread, and
// returns it (null when it could not be made). Called once per main window.
HWND createLogPane(HWND parent, HINSTANCE instance, DWORD exStyle, DWORD style, const RECT& place, int id,
    HFONT font);

// Ends the log's thread; lines still queued are dropped, and pumps that
// wait for room give up. The pane itself goes with its parent.
void closeLogPane();

// Appends text as one line at the end of the log, after everything queued
// before it, stamped when it is shown. Dropped while there is no pane. UI
// thread only.
void appendLog(std::wstring_view text);

// What the output pump feeds. The log it belongs to stays valid for the
// pump even after the window has gone.
struct LogQueue;
std::shared_ptr<LogQueue> currentLogQueue();

// Queues engine lines (and empties lines); waits while very many are still
// unshown, so a fast engine is slowed by its full pipe instead of filling
// memory. False when the log has gone: the pump should stop.
bool queueEngineLines(LogQueue& queue, std::vector<LogLine>& lines);

// Once every line queued before is shown, WM_RUN_FINISHED with the exit
// code is posted to window.
void queueRunEnd(LogQueue& queue, HWND window, unsigned exitCode);

// Set when the log has gone, for the pump's waits.
HANDLE logGoneEvent(const LogQueue& queue);

// Insertion itself, on any thread: the lines (the stamped ones all with the
// given time) in one insertion at the end of the text, whatever the user
// clicked; followed while the user is at the end, otherwise the selection
// and the first visible line stay where they are.
void appendLogLinesTo(HWND pane, const LogLine* lines, size_t count, const SYSTEMTIME& time);
void appendLogLine(HWND pane, std::wstring_view text, const SYSTEMTIME& time);
