// Cuts the engine's byte stream into lines on LF bytes, before any decoding,
// so a character split across two reads is joined again.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct AssembledLine {
    std::string bytes;
    bool continuation = false; // the rest of the line handed out before it
};

// A line that grows past this without a line feed (a tool writing megabytes
// at once, progress drawn with carriage returns) is handed out in pieces of
// about this size as it arrives, so it is shown and its bytes are not held.
constexpr size_t LONG_LINE_BYTES = 64 * 1024;

struct LineAssembler {
    std::string pending;      // bytes of the line being received
    bool pendingContinues = false; // a piece of it was handed out already

    // Appends a block and adds the lines it completes to lines, in order,
    // and a piece of a line that has grown too long. One CR before the LF is
    // removed; empty lines are dropped.
    void feed(std::string_view block, std::vector<AssembledLine>& lines);

    // After the end of the stream: the text after the last LF, without one
    // trailing CR, even if that leaves it empty; nothing when none is left.
    std::optional<AssembledLine> finish();
};
