// How much text (in UTF-16 units) goes into one insertion into the log pane
// so that it fits a slice of the window's time, from what the insertions so
// far cost. Pure: the log pane measures, this decides.
#pragma once

#include <algorithm>
#include <cstddef>

// Each insertion costs a part per unit of text (under Wine about half a
// microsecond: the control lays out every line) and a part that every
// insertion costs. Both are measured; an insertion gets the text that fits
// in what is left of the slice after the overhead.
struct InsertionPacer {
    double perUnitMs = 0;  // the cheapest insertion per unit seen
    double overheadMs = 0; // what the latest insertion cost beyond its text

    static constexpr size_t FIRST = 8000;
    static constexpr size_t FEWEST = 1000;

    size_t next(double budgetMs, size_t most) const
    {
        if (perUnitMs <= 0) {
            return std::min(FIRST, most);
        }
        // When an insertion costs more than the slice before any text (a pane
        // of long wrapped lines), it carries at least as much text as that.
        const double room = std::max(budgetMs - overheadMs, overheadMs);
        return std::min(std::max(static_cast<size_t>(room / perUnitMs), FEWEST), most);
    }

    // The cost per unit is never more than any insertion's cost per unit,
    // so an insertion held up by something else cannot make the next ones
    // small for good. Small insertions (the window's own lines) are
    // dominated by what every insertion costs and say little of the rest.
    void record(size_t units, double milliseconds)
    {
        if (units < FEWEST) {
            return;
        }
        const double perUnit = milliseconds / static_cast<double>(units);
        perUnitMs = perUnitMs <= 0 ? perUnit : std::min(perUnitMs, perUnit);
        overheadMs = std::max(0.0, milliseconds - perUnitMs * static_cast<double>(units));
    }
};
