#include "run/line_assembler.h"
#include "run/pump.h"
#include "app/insertion_pacer.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<std::string> cut(const std::vector<std::string>& blocks, std::optional<std::string>* last = nullptr)
{
    LineAssembler assembler;
    std::vector<AssembledLine> assembled;
    for (const std::string& block : blocks) {
        assembler.feed(block, assembled);
    }
    std::optional<AssembledLine> final = assembler.finish();
    if (last != nullptr) {
        *last = final ? std::optional<std::string>(final->bytes) : std::nullopt;
    }
    if (final) {
        assembled.push_back(*final);
    }
    std::vector<std::string> lines;
    for (const AssembledLine& line : assembled) {
        lines.push_back(line.bytes);
    }
    return lines;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(LineAssembler, CutsOnLineFeedsAndDropsEmptyLines)
{
    EXPECT_EQ(cut({"a\r\nb\n"}), (Lines{"a", "b"}));
    EXPECT_EQ(cut({"\n\n"}), Lines{});
    EXPECT_EQ(cut({"\r\n"}), Lines{});
    EXPECT_EQ(cut({"x\r\r\n"}), Lines{"x\r"}) << "only one CR is removed";
    EXPECT_EQ(cut({"a\rb\n"}), Lines{"a\rb"}) << "a CR inside a line stays";
    EXPECT_EQ(cut({std::string("a\0b\n", 4)}), Lines{std::string("a\0b", 3)});
}

TEST(LineAssembler, TheLastFragmentComesAtTheEnd)
{
    std::optional<std::string> last;
    EXPECT_EQ(cut({"first\ntail"}, &last), (Lines{"first", "tail"}));
    EXPECT_EQ(last, "tail");
    EXPECT_EQ(cut({"first\n\r"}, &last), (Lines{"first", ""})) << "a lone CR is an empty last line";
    EXPECT_EQ(cut({"first\n"}, &last), Lines{"first"});
    EXPECT_FALSE(last);
    EXPECT_EQ(cut({}, &last), Lines{});
    EXPECT_FALSE(last);
}

TEST(LineAssembler, CharactersSplitAcrossReadsAreJoined)
{
    EXPECT_EQ(cut({"\xE4\xB8", "\xAD\xE6\x96\x87\n"}), Lines{"\xE4\xB8\xAD\xE6\x96\x87"});
    EXPECT_EQ(cut({"ab", "c", "\r", "\n", "d"}), (Lines{"abc", "d"}));
}

TEST(LineAssembler, ALineWithoutALineFeedIsHandedOutInPiecesAsItArrives)
{
    LineAssembler assembler;
    std::vector<AssembledLine> lines;
    // 200 KiB of "中文 " in small reads, never a line feed: pieces arrive
    // while it grows, each cut after a blank, and the pending bytes stay bounded.
    const std::string word = "\xE4\xB8\xAD\xE6\x96\x87 ";
    std::string all;
    while (all.size() < 200 * 1024) {
        assembler.feed(word, lines);
        all += word;
        ASSERT_LE(assembler.pending.size(), LONG_LINE_BYTES);
    }
    ASSERT_GE(lines.size(), 3u);
    assembler.feed("end\r\n", lines);
    std::string joined;
    for (size_t index = 0; index < lines.size(); ++index) {
        EXPECT_EQ(lines[index].continuation, index > 0);
        EXPECT_TRUE(index + 1 == lines.size() || lines[index].bytes.back() == ' ') << index;
        joined += lines[index].bytes;
    }
    EXPECT_EQ(joined, all + "end");
    assembler.feed("next\n", lines);
    EXPECT_FALSE(lines.back().continuation) << "a new line is stamped again";
    // Without any blank, the cut falls before a character's first byte.
    lines.clear();
    assembler.feed(std::string(LONG_LINE_BYTES, 'A') + "\xE4\xB8\xAD", lines);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].bytes.size(), LONG_LINE_BYTES);
}

TEST(LineAssembler, AnySplitOfTheSameStreamGivesTheSameLines)
{
    std::mt19937 random(7);
    const char alphabet[] = "ab\r\n\n\xE4\xB8\xAD";
    for (int round = 0; round < 200; ++round) {
        std::string stream;
        const int length = static_cast<int>(random() % 200);
        for (int byte = 0; byte < length; ++byte) {
            stream += alphabet[random() % (sizeof alphabet - 1)];
        }
        const Lines whole = cut({stream});
        std::vector<std::string> blocks;
        for (size_t at = 0; at < stream.size();) {
            const size_t size = 1 + random() % 9;
            blocks.push_back(stream.substr(at, size));
            at += size;
        }
        EXPECT_EQ(cut(blocks), whole) << round;
    }
}

TEST(EngineExit, AnExitCodeThatCannotBeReadIsAFailure)
{
    HANDLE waitOnly = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &waitOnly, SYNCHRONIZE,
        FALSE, 0));
    const UniqueHandle owner(waitOnly);
    EXPECT_EQ(exitCodeOf(waitOnly), UNKNOWN_EXIT_CODE) << "no right to read it";
    EXPECT_EQ(exitCodeOf(nullptr), UNKNOWN_EXIT_CODE);
    EXPECT_NE(UNKNOWN_EXIT_CODE, 0u) << "never reported as success";
}

TEST(InsertionPacer, InsertionsFitTheSliceAndOneHeldUpDoesNotKeepThemSmall)
{
    InsertionPacer pacer;
    pacer.record(100, 4); // the window's own line: mostly overhead
    EXPECT_EQ(pacer.next(8, 100000), InsertionPacer::FIRST);
    EXPECT_EQ(pacer.next(8, 300), 300u) << "never more than waits";
    pacer.record(8000, 3000); // the window was not answering meanwhile
    EXPECT_GE(pacer.next(8, 100000), InsertionPacer::FEWEST);
    pacer.record(8000, 4); // then the cost it really has: 1/2000 ms a unit
    EXPECT_EQ(pacer.next(8, 100000), 16000u) << "8 ms of text";
    pacer.record(8000, 6); // a pane that has grown costs 2 ms more per insertion
    EXPECT_EQ(pacer.next(8, 100000), 12000u);
    for (int round = 0; round < 20; ++round) {
        pacer.record(100, 4);
    }
    EXPECT_EQ(pacer.next(8, 100000), 12000u) << "small insertions say nothing of the cost per unit";
    pacer.record(8000, 24); // a pane of long wrapped lines: 20 ms before any text
    EXPECT_EQ(pacer.next(8, 100000), 40000u) << "as much text as overhead";
}
