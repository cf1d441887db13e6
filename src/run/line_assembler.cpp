#include "run/line_assembler.h"

namespace {

// Where a long line may be cut: after a byte below 0x40 (a control, a blank,
// a digit or punctuation), which is never part of a longer character in
// UTF-8 nor in a double-byte code page such as GBK; failing that, before a
// UTF-8 lead byte.
size_t safeCut(const std::string& bytes, size_t limit)
{
    constexpr size_t LOOK_BACK = 4096;
    for (size_t at = limit; at > limit - LOOK_BACK && at > 0; --at) {
        if (static_cast<unsigned char>(bytes[at - 1]) < 0x40) {
            return at;
        }
    }
    size_t at = limit;
    while (at > limit - 4 && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80) {
        --at;
    }
    return at;
}

} // namespace

void LineAssembler::feed(std::string_view block, std::vector<AssembledLine>& lines)
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
            lines.push_back(AssembledLine{pending.substr(lineStart, lineEnd - lineStart), pendingContinues});
        }
        pendingContinues = false;
        lineStart = feedAt + 1;
    }
    pending.erase(0, lineStart);
    while (pending.size() > LONG_LINE_BYTES) {
        const size_t cut = safeCut(pending, LONG_LINE_BYTES);
        lines.push_back(AssembledLine{pending.substr(0, cut), pendingContinues});
        pending.erase(0, cut);
        pendingContinues = true;
    }
}

std::optional<AssembledLine> LineAssembler::finish()
{
    if (pending.empty()) {
        return std::nullopt;
    }
    AssembledLine last{std::move(pending), pendingContinues};
    pending.clear();
    pendingContinues = false;
    if (last.bytes.back() == '\r') {
        last.bytes.pop_back();
    }
    return last;
}
