// How many lines go into one insertion into the log pane, from what the
// insertions so far cost. Pure: the log pane measures, this decides.
#pragma once

#include <algorithm>
#include <cstddef>

// How many lines go into one insertion. Each costs a part that grows with
// the log already shown (under Wine a walk over every line it holds, about
// half a second at a million lines) and a part per line inserted (about 40
// microseconds). Both are measured as the log grows, and an insertion spends
// on its lines four times what the overhead costs, at least half a second's
// worth, so that long logs still fill quickly. The window never waits for
// it; only scrolling the log itself does, for one insertion at most.
struct InsertionPacer {
    double perLineMs = 0;  // the cheapest insertion per line seen
    double overheadMs = 0; // what the latest insertion cost beyond its lines

    static constexpr size_t FIRST = 200;
    static constexpr size_t MOST = 50000;
    static constexpr double MIN_LINE_WORK_MS = 500;
    static constexpr double LONGEST_MS = 2000;

    size_t next() const
    {
        if (perLineMs <= 0) {
            return FIRST;
        }
        const double ceiling = std::max(MIN_LINE_WORK_MS, LONGEST_MS - overheadMs);
        const double lineWork = std::clamp(4 * overheadMs, MIN_LINE_WORK_MS, ceiling);
        return std::clamp(static_cast<size_t>(lineWork / perLineMs), FIRST, MOST);
    }

    // The cost per line is never more than any insertion's cost per line,
    // so an insertion held up by something else (the window busy answering
    // the pane, say) cannot make the next ones small for good.
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
