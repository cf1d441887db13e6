#include "app/command_line.h"

#include <gtest/gtest.h>

TEST(Autostart, TakesThePathAfterTheExactOption)
{
    EXPECT_EQ(autostartPathFromCommandLine(L"app.exe --autostart \"D:\\my recordings\\talk.mp4\""),
        L"D:\\my recordings\\talk.mp4");
    EXPECT_EQ(findAutostartPath({L"app.exe", L"--autostart", L"--weird"}), L"--weird");
    EXPECT_EQ(findAutostartPath({L"app.exe", L"--autostart", L"--autostart", L"x.wav"}), L"--autostart")
        << "twice in a row: the second occurrence is the path";
    EXPECT_EQ(findAutostartPath({L"app.exe", L"--autostart", L"a.wav", L"--autostart", L"b.wav"}), L"a.wav");
    EXPECT_EQ(findAutostartPath({L"app.exe", L"other", L"--autostart", L"a.wav"}), L"a.wav");
}

TEST(Autostart, IgnoresEverythingElse)
{
    EXPECT_FALSE(findAutostartPath({L"app.exe"}));
    EXPECT_FALSE(findAutostartPath({L"app.exe", L"--autostart"})) << "last argument";
    EXPECT_FALSE(findAutostartPath({L"app.exe", L"--AUTOSTART", L"a.wav"}));
    EXPECT_FALSE(findAutostartPath({L"app.exe", L"--autostart=a.wav"}));
    EXPECT_FALSE(findAutostartPath({L"app.exe", L"-autostart", L"a.wav"}));
    EXPECT_FALSE(findAutostartPath({L"--autostart", L"a.wav"})) << "argument 0 is the program";
    EXPECT_EQ(autostartPathFromCommandLine(L"app.exe"), L"");
}
