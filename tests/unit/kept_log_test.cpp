// The whole log of a session: kept as shown, in UTF-8, and written to a file.
#include "support/temp_folder.h"
#include "text/kept_log.h"
#include "app/log_pane.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(KeptLog, KeepsEveryLineAsShownInUtf8)
{
    struct Case {
        std::wstring shown;
        std::string kept;
    };
    const Case cases[] = {
        {L"[09:05:03] Done.\r\n", "[09:05:03] Done.\r\n"},
        {L"[00:00:07] 处理完成。\r\n", "[00:00:07] \xE5\xA4\x84\xE7\x90\x86\xE5\xAE\x8C\xE6\x88\x90\xE3\x80\x82\r\n"},
        {L"[23:59:59] \U0001F600 \u00E9\r\n", "[23:59:59] \xF0\x9F\x98\x80 \xC3\xA9\r\n"},
        {L"the rest of a long line, unstamped\r\n", "the rest of a long line, unstamped\r\n"},
        {L"[13:01:02] \r\n", "[13:01:02] \r\n"},
        {L"(12 earlier lines are not shown here.)\r\n", "(12 earlier lines are not shown here.)\r\n"},
    };
    KeptLog log;
    std::string expected;
    for (const Case& line : cases) {
        keepLine(log, line.shown);
        expected += line.kept;
        EXPECT_EQ(keptText(log), expected);
    }
    EXPECT_EQ(log.lines, std::size(cases));
    EXPECT_EQ(log.bytes, expected.size());
    clearKeptLog(log);
    EXPECT_EQ(log.lines, 0u);
    EXPECT_EQ(keptText(log), "");
}

TEST(KeptLog, ManyLinesFillLargeBlocksInOrder)
{
    KeptLog log;
    std::string expected;
    const std::wstring body(90, L'y');
    for (int line = 0; line < 30000; ++line) {
        const std::wstring shown = L"[01:02:03] " + std::to_wstring(line) + body + L"\r\n";
        keepLine(log, shown);
        expected += std::string(shown.begin(), shown.end());
    }
    const std::wstring huge(KeptLog::BLOCK + 10, L'z'); // longer than a block: one of its own
    keepLine(log, huge);
    expected += std::string(huge.begin(), huge.end());
    EXPECT_EQ(log.lines, 30001u);
    EXPECT_EQ(keptText(log), expected);
    ASSERT_GE(log.blocks.size(), 4u);
    size_t held = 0;
    for (size_t index = 0; index < log.blocks.size(); ++index) {
        if (index + 2 < log.blocks.size()) {
            EXPECT_EQ(log.blocks[index].capacity(), KeptLog::BLOCK);
            EXPECT_GT(log.blocks[index].size(), KeptLog::BLOCK - 1000) << "blocks are filled, not one per line";
        }
        held += log.blocks[index].capacity();
    }
    EXPECT_EQ(log.blocks.back().size(), huge.size()) << "the long line alone in a block of its size";
    EXPECT_LT(held, log.bytes + 2 * KeptLog::BLOCK) << "about the size of the text";
}

TEST(KeptLog, SaveReplacesTheFileInOneStepOrLeavesItAlone)
{
    TempFolder folder;
    KeptLog log;
    keepLine(log, L"[10:00:00] first\r\n");
    keepLine(log, L"[10:00:01] 第二\r\n");
    const std::string text = keptText(log);

    const std::wstring fresh = folder.file(L"log.txt");
    ASSERT_TRUE(saveKeptLog(log, fresh));
    EXPECT_EQ(readBytes(fresh), text);

    const std::wstring older = folder.file(L"older.txt");
    writeBytes(older, std::string(100000, 'o'));
    ASSERT_TRUE(saveKeptLog(log, older));
    EXPECT_EQ(readBytes(older), text) << "replaced whole, not overwritten in part";

    const std::wstring readOnly = folder.file(L"read-only.txt");
    writeBytes(readOnly, "keep me");
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(saveKeptLog(log, readOnly));
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readBytes(readOnly), "keep me");

    EXPECT_FALSE(saveKeptLog(log, folder.file(L"missing\\log.txt")));
    const std::wstring aFolder = folder.file(L"a folder");
    CreateDirectoryW(aFolder.c_str(), nullptr);
    EXPECT_FALSE(saveKeptLog(log, aFolder));

    clearKeptLog(log);
    ASSERT_TRUE(saveKeptLog(log, fresh));
    EXPECT_EQ(readBytes(fresh), "") << "a cleared log saves empty";
    EXPECT_EQ(folder.filesNamed(L"*.tmp"), std::vector<std::wstring>{}) << "no temporary file is left";
}

TEST(KeptLog, FileNameCarriesTheLocalTime)
{
    SYSTEMTIME time = {};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 9;
    time.wHour = 7;
    time.wMinute = 5;
    time.wSecond = 3;
    EXPECT_EQ(logFileName(time), L"log-2026-12-09-070503.txt");
}
