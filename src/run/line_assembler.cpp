#include "run/line_assembler.h"

void LineAssembler::feed(std::string_view block, std::vector<std::string>& lines)
{
    // Only the new bytes can hold a line feed: the pending ones had none.
    size_t searchFrom = pending.size();
    pending.append(block);
    size_t lineStart = 0;
    for (size_t feedAt = pending.find('\n', searchFrom); feedAt != std::string::npos;
         feedAt = pending.find('\n', lineStart)) {
        size_t lineEnd = feedAt;
        if (lineEnd > lineStart && pending[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        if (lineEnd > lineStart) {
            lines.emplace_back(pending, lineStart, lineEnd - lineStart);
        }
        lineStart = feedAt + 1;
    }
    pending.erase(0, lineStart);
}

std::optional<std::string> LineAssembler::finish()
{
    if (pending.empty()) {
        return std::nullopt;
    }
    std::string last = std::move(pending);
    pending.clear();
    if (last.back() == '\r') {
        last.pop_back();
    }
    return last;
}
