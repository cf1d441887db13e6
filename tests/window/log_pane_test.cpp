#include "app/commands.h"
#include "app/ids.h"
#include "app/window_state.h"
#include "app/run_controller.h"
#include "support/config_scope.h"
#include "support/temp_folder.h"
#include "support/window_harness.h"
#include "text/catalogue.h"
#include "app/log_pane.h"
#include "support/log_text.h"
#include "util/text.h"

#include <gtest/gtest.h>

namespace {

SYSTEMTIME at(WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME time = {};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 7;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

class LogPane : public OpenWindowTest {
protected:
    void SetUp() override
    {
        OpenWindowTest::SetUp();
        pane = mainState.controls[CTL_LOG];
        SetWindowTextW(pane, L"");
    }

    ConfigScope config{"{\"access_key_id\": \"id\", \"access_key_secret\": \"s\", \"appkey\": \"k\", "
                       "\"oss_bucket\": \"b\", \"region\": \"r\", \"ui_lang\": \"en\"}"};
    TempFolder folder;
    HWND pane = nullptr;
};

} // namespace

TEST(LogLine, PrefixIsTwentyFourHourTimeWithLeadingZeros)
{
    EXPECT_EQ(formatLogLine(uiTextIn(1, T_MSG_DONE), at(9, 5, 3)), L"[09:05:03] Done.\r\n");
    EXPECT_EQ(formatLogLine(L"x", at(0, 0, 7)), L"[00:00:07] x\r\n");
    EXPECT_EQ(formatLogLine(L"x", at(23, 59, 59)), L"[23:59:59] x\r\n");
    EXPECT_EQ(formatLogLine(L"", at(13, 1, 2)), L"[13:01:02] \r\n");
    EXPECT_EQ(formatLogLine(L"a\r\nb", at(13, 1, 2)), L"[13:01:02] a\r\nb\r\n") << "text is taken as it is";
}

TEST_F(LogPane, LinesGoToTheEndWhereverTheUserClickedAndTheWholeLogKeepsThem)
{
    clearLog();
    appendLog(L"first");
    appendLog(L"second");
    SendMessageW(pane, EM_SETSEL, 0, 3); // the user selects part of the first line
    appendLog(L"third");
    SendMessageW(pane, EM_SETSEL, 2, 2); // and then clicks into it
    appendLog(L"fourth");
    pumpUntil([&] { return windowText(pane).find(L"fourth") != std::wstring::npos; }, 5000);
    const std::wstring text = windowText(pane);
    EXPECT_EQ(splitLog(text), (std::vector<std::wstring>{L"first", L"second", L"third", L"fourth"}));
    EXPECT_EQ(keptText(keptLog()), wideToUtf8(text)) << "the whole log holds what the pane shows";
    EXPECT_EQ(keptLog().lines, 4u);

    // Clear log empties both, but never during a run.
    writeBytes(folder.file(L"talk.wav"), "RIFF");
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", L"hang");
    ASSERT_TRUE(launchRun(RunRequest{folder.file(L"talk.wav"), folder.file(L"out"), L"", 2, false}));
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", nullptr);
    const std::wstring during = windowText(pane);
    SendMessageW(window, WM_COMMAND, IDM_CLEAR_LOG, 0);
    EXPECT_EQ(windowText(pane), during);
    EXPECT_EQ(keptLog().lines, 7u) << "four lines and the run's three";
    handleCommand(IDC_BTN_CANCEL, BN_CLICKED);
    ASSERT_TRUE(pumpUntil([] { return !runState.running; }, 20000));
    SendMessageW(window, WM_COMMAND, IDM_CLEAR_LOG, 0);
    EXPECT_EQ(windowText(pane), L"");
    EXPECT_EQ(keptLog().lines, 0u);
}

TEST_F(LogPane, LongLogsKeepEveryLine)
{
    // Beyond both the edit control's default limit of 30,000 characters and
    // the 32,767 of a signed 16-bit count.
    clearLog();
    const std::wstring body(100, L'y');
    for (int line = 0; line < 400; ++line) {
        appendLog(std::to_wstring(line) + body);
    }
    pumpUntil([&] { return windowText(pane).find(L"] 399" + body) != std::wstring::npos; }, 10000);
    const std::vector<std::wstring> lines = splitLog(windowText(pane));
    ASSERT_EQ(lines.size(), 400u);
    for (int line = 0; line < 400; ++line) {
        EXPECT_EQ(lines[line], std::to_wstring(line) + body);
    }

    // Whoever follows the end keeps following when the pane gets smaller.
    ShowWindow(window, SW_MAXIMIZE);
    pumpPending();
    SendMessageW(pane, WM_VSCROLL, SB_BOTTOM, 0);
    ShowWindow(window, SW_RESTORE);
    pumpPending();
    appendLog(L"after the resize");
    pumpUntil([&] { return windowText(pane).find(L"after the resize") != std::wstring::npos; }, 5000);
    const LRESULT last = SendMessageW(pane, EM_POSFROMCHAR, GetWindowTextLengthW(pane) - 3, 0);
    RECT client = {};
    GetClientRect(pane, &client);
    const short lastTop = static_cast<short>(HIWORD(last));
    EXPECT_GE(lastTop, 0);
    EXPECT_LT(lastTop, client.bottom) << "the last line is in view";
}

TEST_F(LogPane, TextBeforeThePaneExistsIsDropped)
{
    closeMainWindow(window);
    appendLog(L"lost");
    window = startMainWindow();
    ASSERT_NE(window, nullptr);
    Sleep(200);
    pumpPending();
    const std::wstring text = windowText(mainState.controls[CTL_LOG]);
    EXPECT_EQ(text.find(L"lost"), std::wstring::npos);
    EXPECT_EQ(text.substr(11), std::wstring(uiText(T_MSG_HINT)) + L"\r\n") << "the hint alone";
}
