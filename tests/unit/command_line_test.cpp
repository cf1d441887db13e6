#include "app/command_line.h"

#include <gtest/gtest.h>

using Paths = std::vector<std::wstring>;

TEST(CommandLine, AutostartPairsRunAndOtherPathsAreOnlyAdded)
{
    const struct {
        Paths arguments;
        Paths autostart;
        Paths added;
    } cases[] = {
        {{L"app.exe", L"--autostart", L"--weird"}, {L"--weird"}, {}},
        // Twice in a row: the second occurrence is the path.
        {{L"app.exe", L"--autostart", L"--autostart", L"x.wav"}, {L"--autostart"}, {L"x.wav"}},
        {{L"app.exe", L"--autostart", L"a.wav", L"--autostart", L"D:\\b"}, {L"a.wav", L"D:\\b"}, {}},
        {{L"app.exe", L"C:\\x.wav", L"--autostart", L"a.wav", L"D:\\talks"}, {L"a.wav"}, {L"C:\\x.wav", L"D:\\talks"}},
        {{L"app.exe"}, {}, {}},
        {{L"app.exe", L"--autostart"}, {}, {}},
        {{L"app.exe", L"--AUTOSTART", L"a.wav"}, {}, {L"a.wav"}},
        {{L"app.exe", L"--autostart=a.wav", L"-autostart", L""}, {}, {}},
        {{L"--autostart", L"a.wav"}, {}, {L"a.wav"}}, // argument 0 is the program
    };
    for (const auto& one : cases) {
        const StartPaths paths = startPathsFrom(one.arguments);
        EXPECT_EQ(paths.autostart, one.autostart) << one.arguments.back();
        EXPECT_EQ(paths.added, one.added) << one.arguments.back();
    }
    const StartPaths split = startPathsFromCommandLine(L"app.exe --autostart \"D:\\my recordings\\talk.mp4\"");
    EXPECT_EQ(split.autostart, Paths{L"D:\\my recordings\\talk.mp4"});
}

TEST(CommandLine, OptionsForAnUnattendedNight)
{
    const StartPaths paths = startPathsFrom(
        {L"app.exe", L"--when-done", L"Shutdown", L"--resume", L"--new-window", L"--autostart", L"a.wav", L"b.wav"});
    EXPECT_EQ(paths.whenDone, WhenDone::ShutDown) << "any case";
    EXPECT_TRUE(paths.resume);
    EXPECT_TRUE(paths.newWindow);
    EXPECT_EQ(paths.autostart, Paths{L"a.wav"});
    EXPECT_EQ(paths.added, Paths{L"b.wav"});
    EXPECT_EQ(startPathsFrom({L"app.exe", L"--when-done", L"sleep"}).whenDone, WhenDone::Sleep);
    // An unknown choice is none: nothing happens at the end.
    const StartPaths unknown = startPathsFrom({L"app.exe", L"--when-done", L"hibernate", L"c.wav"});
    EXPECT_FALSE(unknown.whenDone.has_value());
    EXPECT_EQ(unknown.added, Paths{L"c.wav"});
    EXPECT_FALSE(unknown.resume || unknown.newWindow);
}

TEST(CommandLine, WhatAStartHandsTheOpenWindowComesBackWholeAndJunkIsRefused)
{
    StartPaths paths;
    paths.autostart = {L"D:\\talks\\a\tb.wav"}; // a tab inside a path stays inside it
    paths.added = {L"D:\\会议\\c.mp3", L"E:\\folder"};
    paths.whenDone = WhenDone::Sleep;
    paths.resume = true;
    const std::optional<StartPaths> back = startPathsFromHandedOver(handedOverText(paths));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->autostart, paths.autostart);
    EXPECT_EQ(back->added, paths.added);
    EXPECT_EQ(back->whenDone, WhenDone::Sleep);
    EXPECT_TRUE(back->resume);
    EXPECT_TRUE(startPathsFromHandedOver(L"").has_value()) << "nothing to do is no junk";
    for (const wchar_t* junk : {L"A\tx.wav", L"X\tx.wav\n", L"A x.wav\n", L"\n", L"A\n"}) {
        EXPECT_FALSE(startPathsFromHandedOver(junk).has_value()) << junk;
    }
}
