// The whole log of the session, every line as the pane showed it (time
// stamp, text, CR LF), kept apart from the pane, which holds only the most
// recent lines. UTF-8 in large blocks: about the size of the text itself,
// with no allocation per line. Pure: no window is involved.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct KeptLog {
    std::vector<std::string> blocks; // filled one after another, each at most BLOCK bytes unless one line is longer
    size_t lines = 0;
    size_t bytes = 0;

    static constexpr size_t BLOCK = 1 << 20;
};

// Appends one shown line (its line end included), converted to UTF-8;
// returns those bytes (valid until the next line is kept).
std::string_view keepLine(KeptLog& log, std::wstring_view shownLine);

void clearKeptLog(KeptLog& log);

// The whole log, as it will be written to a file.
std::string keptText(const KeptLog& log);

// Writes the whole log to path as UTF-8 through a temporary file that then
// replaces the file in one step; the file stays as it was when that fails.
bool saveKeptLog(const KeptLog& log, const std::wstring& path);
