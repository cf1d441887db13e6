#include "util/paths.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

TEST(ParentDirectory, KeepsRootsAndDropsTheLastComponent)
{
    EXPECT_EQ(parentDirectory(L"C:\\Tools\\Separator\\app.exe"), L"C:\\Tools\\Separator");
    EXPECT_EQ(parentDirectory(L"C:\\app.exe"), L"C:\\");
    EXPECT_EQ(parentDirectory(L"\\\\server\\share\\app.exe"), L"\\\\server\\share");
    EXPECT_EQ(parentDirectory(L"C:/Tools/app.exe"), L"C:/Tools");
}

TEST(ExecutableDirectory, IsTheFolderHoldingThisProgram)
{
    const std::wstring directory = executableDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_NE(directory.back(), L'\\');
    // Also run from a folder deeper than MAX_PATH: nothing may be cut there.
    std::wstring module(32768, L'\0');
    module.resize(GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size())));
    EXPECT_EQ(directory, parentDirectory(module));
    EXPECT_EQ(module.substr(directory.size(), 1), L"\\");
    EXPECT_EQ(module.find(L'\\', directory.size() + 1), std::wstring::npos);
}

TEST(PathExists, AnyEntryCountsAndEverythingElseIsMissing)
{
    TempFolder folder;
    writeBytes(folder.file(L"recording.wav"), "RIFF");
    EXPECT_TRUE(pathExists(folder.file(L"recording.wav")));
    EXPECT_TRUE(pathExists(folder.path()));
    EXPECT_FALSE(pathExists(folder.file(L"missing.wav")));
    EXPECT_FALSE(pathExists(folder.file(L"no\\such\\folder\\x.wav")));
    EXPECT_FALSE(pathExists(L""));
    EXPECT_FALSE(pathExists(L"\\\\?\\invalid<>name"));
}

TEST(PathExists, LinkCountsOnlyWhenItsTargetIsThere)
{
    TempFolder folder;
    writeBytes(folder.file(L"target.wav"), "x");
    const std::wstring link = folder.file(L"link.wav");
    // Wine reports success but makes no link; only a link that is there can be tested.
    if (!CreateSymbolicLinkW(link.c_str(), folder.file(L"target.wav").c_str(), 0)
        || GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "symbolic links are not available here";
    }
    EXPECT_TRUE(pathExists(link));
    DeleteFileW(folder.file(L"target.wav").c_str());
    EXPECT_FALSE(pathExists(link));
}
