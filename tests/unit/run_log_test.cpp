// Each run's log file: its name, what it holds once closed, and the bound on
// the logs folder.
#include "run/run_log_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

TEST(RunLogFiles, NamesFitAFolderEntryNeverReplaceAFileAndHoldEveryByteOnceClosed)
{
    const SYSTEMTIME started = {2026, 12, 4, 10, 10, 15, 0, 0};
    const std::wstring stamp = L"2026-12-10 101500 ";
    const std::wstring smiley = L"\U0001F600";
    struct Case {
        std::wstring label;
        std::wstring name;
    } cases[] = {
        {L"talk", stamp + L"talk.log"},
        {L"会议 2", stamp + L"会议 2.log"},
        // A label as long as a folder name may be leaves room for " (999)".
        {std::wstring(255, L'n'), stamp + std::wstring(227, L'n') + L".log"},
        // Cut short before a character, never inside it.
        {std::wstring(226, L'n') + smiley, stamp + std::wstring(226, L'n') + L".log"},
        {std::wstring(225, L'n') + smiley, stamp + std::wstring(225, L'n') + smiley + L".log"},
    };
    TempFolder folder;
    for (const Case& row : cases) {
        SCOPED_TRACE(row.label.size());
        EXPECT_EQ(runLogName(started, row.label), row.name);
        RunLog first = openRunLog(folder.path(), started, row.label);
        RunLog second = openRunLog(folder.path(), started, row.label);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(first->path, folder.file(row.name));
        EXPECT_EQ(second->path, folder.file(row.name.substr(0, row.name.size() - 4) + L" (2).log"));
        writeToRunLog(*first, "[10:15:00] Start\r\n");
        writeToRunLog(*first, std::string(3 * 1024 * 1024, 'x') + "\r\n");
        const std::wstring path = first->path;
        first.reset();
        second.reset();
        waitForRunLogs(30000);
        EXPECT_EQ(readBytes(path), "[10:15:00] Start\r\n" + std::string(3 * 1024 * 1024, 'x') + "\r\n");
    }
}

TEST(RunLogFiles, TheOldestGoWhileEitherBoundIsPassedButNeverTheRunningOneOrOtherFiles)
{
    struct Case {
        const char* name;
        size_t keepFiles;
        uint64_t keepBytes;
        const wchar_t* except;
        std::vector<std::wstring> left;
    } cases[] = {
        {"by count", 3, 1000, L"", {L"3.log", L"4.log", L"5.log"}},
        {"by size", 10, 250, L"", {L"4.log", L"5.log"}},
        {"within both", 5, 500, L"", {L"1.log", L"2.log", L"3.log", L"4.log", L"5.log"}},
        {"the running one stays", 2, 1000, L"1.log", {L"1.log", L"5.log"}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        TempFolder folder;
        for (const wchar_t* name : {L"1.log", L"2.log", L"3.log", L"4.log", L"5.log"}) {
            writeBytes(folder.file(name), std::string(100, 'x'));
        }
        writeBytes(folder.file(L"0 notes.txt"), std::string(5000, 'x'));
        pruneLogs(folder.path(), row.keepFiles, row.keepBytes, *row.except ? folder.file(row.except) : L"");
        std::vector<std::wstring> left = folder.filesNamed(L"*.log");
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, row.left);
        EXPECT_TRUE(fileExists(folder.file(L"0 notes.txt")));
    }
}
