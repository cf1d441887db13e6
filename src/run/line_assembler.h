// Cuts the engine's byte stream into lines on LF bytes, before any decoding,
// so a character split across two reads is joined again.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct LineAssembler {
    std::string pending; // bytes of the line being received

    // Appends a block and adds the lines it completes to lines, in order.
    // One CR before the LF is removed; empty lines are dropped.
    void feed(std::string_view block, std::vector<std::string>& lines);

    // After the end of the stream: the text after the last LF, without one
    // trailing CR, even if that leaves it empty; nothing when none is left.
    std::optional<std::string> finish();
};
