// The main window's log: one timestamped line per event.
//
// Two views of one log, both on the window's thread: the pane, an ordinary
// read-only multi-line edit control (screen readers, WM_GETTEXT and Ctrl+C
// read it) that shows the most recent lines, and the whole log of the
// session kept apart (kept_log.h), which Save log writes to a file. Lines
// that leave the pane, or never reach it in a long burst, stay in the whole
// log; the pane's first line then says how many earlier lines it leaves out.
//
// A run's output arrives through its queue (output_queue.h); the log takes
// and shows it in slices of a few milliseconds, handing the window back to
// its message loop in between, so input, painting and Close never wait
// long behind a burst.
#pragma once

#include "run/output_queue.h"
#include "run/run_log_file.h"
#include "text/kept_log.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// "[hh:mm:ss] " in 24-hour time, then the text unchanged, then CR LF.
std::wstring formatLogLine(std::wstring_view text, const SYSTEMTIME& time);

// The pane shows at least this many of the most recent lines; older ones
// leave it TRIM_LINES at a time.
constexpr size_t PANE_LINES = 10000;
constexpr size_t TRIM_LINES = 2000;

// Creates the pane as a child of parent (its font and place are set with
// the other controls') and empties the log. Null when it could not be made.
HWND createLogPane(HWND parent, HINSTANCE instance, DWORD exStyle, DWORD style, const RECT& place, int id);

// The window is going: the run's pump stops, the pane is forgotten (it goes
// with its parent) and so is the log.
void closeLogPane();

// Appends text as one line, stamped now, after everything shown or taken
// before. Dropped while there is no pane.
void appendLog(std::wstring_view text);

// The run whose output the log takes from now on.
void readRunOutput(std::shared_ptr<OutputQueue> output);

// Every line the log keeps from now on goes to the file too (a run's log on
// disk); null: to no file.
void keepRunLogIn(RunLogFile* file);

// One slice of work: takes queued output, shows waiting lines, and asks for
// the next slice when work is left (WM_RUN_OUTPUT, or WM_TIMER with
// LOG_TIMER_ID when input or painting is waiting, which then goes first).
// Returns the run's exit code once every line of it is shown.
std::optional<unsigned> showSomeOutput();
// The session ends: the run's output is kept (in the log and its file) at
// once, not shown, waiting at most timeoutMs for its end. The exit code
// once the run's output has ended; none when it goes on.
std::optional<unsigned> keepOutputNow(DWORD timeoutMs);
constexpr UINT_PTR LOG_TIMER_ID = 1;

// A change of font or width makes the edit control lay out every line
// again: the window's text is set aside around such changes, so that it is
// laid out once, and comes back with the reader's selection and place.
void setPaneTextAside();
void restorePaneText();

// The whole log of the session.
const KeptLog& keptLog();

// Empties the pane and the whole log.
void clearLog();

// log-YYYY-MM-DD-HHMMSS.txt for the given local time.
std::wstring logFileName(const SYSTEMTIME& time);
