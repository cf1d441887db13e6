#include "util/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

using namespace std::string_literals;

TEST(TextConversion, EmptyStaysEmptyBothWays)
{
    EXPECT_EQ(utf8ToWide(""), L"");
    EXPECT_EQ(wideToUtf8(L""), "");
}

TEST(TextConversion, MultiByteAndSurrogatePairsRoundTrip)
{
    EXPECT_EQ(utf8ToWide("\xC3\x84"), std::wstring(1, wchar_t(0x00C4)));

    const std::string emoji = "\xF0\x9F\x98\x80";
    const std::wstring pair = {wchar_t(0xD83D), wchar_t(0xDE00)};
    EXPECT_EQ(utf8ToWide(emoji), pair);
    EXPECT_EQ(wideToUtf8(pair), emoji);

    const std::wstring mixed = L"多人语音 한국어 日本語 Français C:\\rec\\talk.mp4";
    EXPECT_EQ(utf8ToWide(wideToUtf8(mixed)), mixed);
}

TEST(TextConversion, MalformedInputBecomesReplacementCharacter)
{
    EXPECT_EQ(utf8ToWide("\xFF"), std::wstring(1, wchar_t(0xFFFD)));
    EXPECT_EQ(wideToUtf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
    // A truncated sequence in the middle keeps the text around it.
    const std::wstring wide = utf8ToWide("a\xE4\xB8" "b");
    ASSERT_GE(wide.size(), 3u);
    EXPECT_EQ(wide.front(), L'a');
    EXPECT_EQ(wide.back(), L'b');
    EXPECT_NE(wide.find(wchar_t(0xFFFD)), std::wstring::npos);
}

TEST(TextConversion, EmbeddedZeroIsAnOrdinaryCharacter)
{
    const std::string utf8 = "a\0b"s;
    const std::wstring wide = utf8ToWide(utf8);
    EXPECT_EQ(wide, L"a\0b"s);
    EXPECT_EQ(wideToUtf8(wide), utf8);
}

TEST(TextConversion, EveryValidStringRoundTripsAndNoInputFails)
{
    std::mt19937 random(99);
    for (int round = 0; round < 2000; ++round) {
        std::wstring wide;
        const int length = static_cast<int>(random() % 20);
        for (int unit = 0; unit < length; ++unit) {
            uint32_t code = random() % 0x110000;
            if (code >= 0xD800 && code <= 0xDFFF) {
                code = 0xFFFD;
            }
            if (code >= 0x10000) {
                code -= 0x10000;
                wide += static_cast<wchar_t>(0xD800 + (code >> 10));
                wide += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
            } else {
                wide += static_cast<wchar_t>(code);
            }
        }
        ASSERT_EQ(utf8ToWide(wideToUtf8(wide)), wide);

        std::string bytes;
        for (int byte = 0; byte < length; ++byte) {
            bytes += static_cast<char>(random() % 256);
        }
        const std::wstring decoded = utf8ToWide(bytes);
        EXPECT_EQ(bytes.empty(), decoded.empty());
        EXPECT_EQ(utf8ToWide(wideToUtf8(decoded)), decoded) << "what was decoded is valid text";
    }
}

TEST(OutputLines, UTF8WhenValidOtherwiseTheGivenCodePage)
{
    const std::string gbk = "\xB4\xA6\xC0\xED\xD6\xD0 \xBD\xF8\xB6\xC8 50%"; // 处理中 进度 50% in code page 936
    const struct {
        std::string bytes;
        unsigned codePage;
        std::wstring shown;
    } cases[] = {
        {"\xE5\xA4\x84\xE7\x90\x86\xE4\xB8\xAD 50%", 936, L"处理中 50%"}, // valid UTF-8 wins everywhere
        {gbk, 936, L"处理中 进度 50%"},
        {gbk, 1252, L"\u00B4\u00A6\u00C0\u00ED\u00D6\u00D0 \u00BD\u00F8\u00B6\u00C8 50%"},
        {"caf\xE9", 1252, L"café"},
        {"\xFF" "a\xFE", 65001, L"\xFFFD" L"a\xFFFD"}, // a UTF-8 system: replacement characters
        {"plain ASCII", 936, L"plain ASCII"},
        {"a\0b"s, 936, L"a\0b"s},
        {"", 936, L""},
    };
    for (const auto& line : cases) {
        EXPECT_EQ(decodeOutputLine(line.bytes, line.codePage), line.shown) << line.codePage;
    }
}
