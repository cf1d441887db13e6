#include "util/paths.h"

#include "util/files.h"

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
    // Windows makes the links here when the user may (developer mode or an
    // administrator); otherwise the build's test set-up has made them on the
    // file system the test runs on (under Wine: Unix links, which Wine follows).
    TempFolder folder;
    std::wstring links = folder.path();
    writeBytes(folder.file(L"target.wav"), "RIFF");
    CreateDirectoryW(folder.file(L"folder").c_str(), nullptr);
    const bool made = CreateSymbolicLinkW(folder.file(L"link.wav").c_str(), L"target.wav", 0)
        && CreateSymbolicLinkW(folder.file(L"dangling.wav").c_str(), L"missing.wav", 0)
        && CreateSymbolicLinkW(folder.file(L"folder-link").c_str(), L"folder", SYMBOLIC_LINK_FLAG_DIRECTORY)
        && GetFileAttributesW(folder.file(L"dangling.wav").c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!made) {
        links = parentDirectory(executableDirectory()) + L"\\links";
        if (pathKind(links) != PathKind::Folder) {
            GTEST_SKIP() << "this user may not make links, and no build host made them";
        }
    }
    ASSERT_EQ(pathKind(links + L"\\target.wav"), PathKind::File) << "no links to test with";
    EXPECT_TRUE(pathExists(links + L"\\link.wav"));
    EXPECT_EQ(pathKind(links + L"\\link.wav"), PathKind::File);
    EXPECT_EQ(pathKind(links + L"\\folder-link"), PathKind::Folder);
    EXPECT_FALSE(pathExists(links + L"\\dangling.wav")) << "its target is missing";
}

TEST(PathKind, TellsFilesFromFoldersAtAnyLength)
{
    TempFolder folder;
    std::wstring deep = folder.path();
    while (deep.size() < 400) {
        deep += L"\\" + std::wstring(50, L'k');
        ASSERT_TRUE(CreateDirectoryW(longPathForm(deep).c_str(), nullptr));
    }
    writeBytes(deep + L"\\talk.wav", "RIFF");
    EXPECT_EQ(pathKind(deep), PathKind::Folder);
    EXPECT_EQ(pathKind(deep + L"\\talk.wav"), PathKind::File);
    EXPECT_EQ(pathKind(deep + L"\\gone.wav"), PathKind::Missing);
    EXPECT_TRUE(createFolderPath(deep + L"\\a\\b\\c"));
    EXPECT_EQ(pathKind(deep + L"\\a\\b\\c"), PathKind::Folder);
    EXPECT_FALSE(createFolderPath(deep + L"\\talk.wav\\inside")) << "a file stands in the way";
    EXPECT_FALSE(createFolderPath(deep + L"\\talk.wav"));
    // Every form of root ends the walk, whether or not the folder can be made.
    EXPECT_TRUE(createFolderPath(L"\\\\?\\" + deep + L"\\d\\e"));
    EXPECT_EQ(pathKind(deep + L"\\d\\e"), PathKind::Folder);
    for (const wchar_t* never : {L"\\\\?\\Y:\\newroot\\x", L"\\\\.\\con", L"NUL", L"\\\\.\\", L"\\\\?\\"}) {
        EXPECT_FALSE(createFolderPath(never)) << never;
    }
    // A folder is one folder however its path is spelt.
    std::wstring shortForm(MAX_PATH, L'\0');
    shortForm.resize(GetShortPathNameW(folder.path().c_str(), shortForm.data(), MAX_PATH));
    ASSERT_NE(shortForm, folder.path());
    EXPECT_EQ(longNamePath(shortForm), folder.path());
    EXPECT_EQ(fileIdentity(shortForm + L"\\.\\"), fileIdentity(folder.path()));
    EXPECT_NE(fileIdentity(deep), fileIdentity(folder.path()));
    EXPECT_EQ(longPathForm(L"C:\\short"), L"C:\\short");
    EXPECT_EQ(longPathForm(L"\\\\server\\share\\" + std::wstring(300, L'x')).substr(0, 15), L"\\\\?\\UNC\\server\\");
}
