// The log pane's text as the user reads it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One entry per line, the "[hh:mm:ss] " stamp removed; continuation lines
// of a long engine line carry none and are kept whole.
std::vector<std::wstring> splitLog(const std::wstring& text);

// How the stand-in engine's "lines" step starts its line number n.
std::wstring numberedLine(size_t n);
