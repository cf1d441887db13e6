// Runs inside this program, with seams that make the platform fail the way
// Windows can: a full message queue, a thread that cannot be started.
#include "app/commands.h"
#include "app/ids.h"
#include "app/window_state.h"
#include "run/launch.h"
#include "run/pump.h"
#include "run/run_output.h"
#include "run/run_state.h"
#include "support/config_scope.h"
#include "support/log_text.h"
#include "support/message_boxes.h"
#include "support/temp_folder.h"
#include "support/window_harness.h"
#include "text/catalogue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

const std::string ACCOUNT = "{\"access_key_id\": \"id\", \"access_key_secret\": \"s\", \"appkey\": \"k\", "
                            "\"oss_bucket\": \"b\", \"region\": \"r\", \"ui_lang\": \"en\"}";

std::atomic<int> postCalls{0};

// Refuses two posts out of three, and every post for a stretch, as a full
// Windows queue would.
BOOL WINAPI unreliablePost(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int call = ++postCalls;
    if (call % 3 != 0 || (call > 20 && call < 60)) {
        return FALSE;
    }
    return PostMessageW(window, message, wParam, lParam);
}

bool failingStart(PumpContext*)
{
    return false;
}

std::vector<std::wstring> logLines()
{
    return splitLog(windowText(mainState.controls[CTL_LOG]));
}

class InProcessRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = startMainWindow();
        ASSERT_NE(window, nullptr);
        writeBytes(recording, "RIFF");
    }
    void TearDown() override
    {
        pumpPostMessage = PostMessageW;
        SetEnvironmentVariableW(L"STANDIN_SCRIPT", nullptr);
        closeMainWindow(window);
    }
    RunRequest request() const { return RunRequest{recording, folder.file(L"out"), L"", 2, false}; }
    bool waitForEnd()
    {
        return pumpUntil([] { return !runState.running; }, 60000);
    }

    ConfigScope config{ACCOUNT};
    TempFolder folder;
    std::wstring recording = folder.file(L"talk.wav");
    HWND window = nullptr;
};

} // namespace

TEST_F(InProcessRun, RefusedPostsAreRetriedInOrderAndNothingIsLost)
{
    postCalls = 0;
    pumpPostMessage = unreliablePost;
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", L"lines:3000:40;text:tail without end;hex:61 62;exit:4");
    ASSERT_TRUE(launchRun(request()));
    ASSERT_TRUE(waitForEnd());
    const std::vector<std::wstring> lines = logLines();
    ASSERT_EQ(lines.size(), 1u + 2u + 3000u + 2u + 1u);
    for (size_t index = 0; index < 3000; ++index) {
        ASSERT_EQ(lines[3 + index].substr(0, 14), numberedLine(index + 1));
    }
    EXPECT_EQ(lines[3003], L"tail without end");
    EXPECT_EQ(lines[3004], L"ab") << "the last fragment without a line feed";
    EXPECT_EQ(lines.back(), fillPlaceholder(uiText(T_MSG_FAILED), L"4"));
    EXPECT_GT(postCalls.load(), 60);
}

TEST_F(InProcessRun, APumpThatCannotStartLeavesNoEngineAndAnIdleWindow)
{
    const PumpStarter realStart = startPumpThread;
    startPumpThread = failingStart;
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", L"hang");
    MessageBoxSeen seen;
    std::thread watcher([&] {
        seen = waitForMessageBox(GetCurrentProcessId(), 20000);
        answerMessageBox(seen, IDOK);
    });
    const bool started = launchRun(request());
    watcher.join();
    startPumpThread = realStart;
    EXPECT_FALSE(started);
    EXPECT_EQ(seen.text, uiText(T_ERR_START));
    EXPECT_EQ(seen.icon, IDI_ERROR);
    EXPECT_EQ(seen.owner, window);
    EXPECT_FALSE(runState.running);
    EXPECT_EQ(runState.process, nullptr);
    EXPECT_TRUE(IsWindowEnabled(mainState.controls[CTL_OK]));
}
