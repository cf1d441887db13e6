// How many lines go into one insertion into the log pane so that it fits a
// slice of the window's time, from what the insertions so far cost. Pure:
// the log pane measures, this decides.
#pragma once

#include <algorithm>
#include <cstddef>

// Each insertion costs a part per line (under Wine about 40 microseconds)
// and a part that grows with the text the pane already holds (a walk over
// its lines). Both are measured; an insertion gets the lines that fit in
// what is left of the slice after the overhead.
struct InsertionPacer {
    double perLineMs = 0;  // the cheapest insertion per line seen
    double overheadMs = 0; // what the latest insertion cost beyond its lines

    static constexpr size_t FIRST = 100;
    static constexpr size_t FEWEST = 20;

    size_t next(double budgetMs, size_t most) const
    {
        if (perLineMs <= 0) {
            return std::min(FIRST, most);
        }
        const double room = std::max(0.0, budgetMs - overheadMs);
        return std::min(std::max(static_cast<size_t>(room / perLineMs), FEWEST), most);
    }

    // The cost per line is never more than any insertion's cost per line,
    // so an insertion held up by something else cannot make the next ones
    // small for good.
    void record(size_t lines, double milliseconds)
    {
        if (lines == 0) {
            return;
        }
        const double perLine = milliseconds / static_cast<double>(lines);
        perLineMs = perLineMs <= 0 ? perLine : std::min(perLineMs, perLine);
        overheadMs = std::max(0.0, milliseconds - perLineMs * static_cast<double>(lines));
    }
};
