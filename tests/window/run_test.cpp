// Runs inside this program: a pump thread that cannot be started, and a pump
// reading an engine that no job holds.
#include "app/command_line.h"
#include "app/commands.h"
#include "app/ids.h"
#include "app/log_pane.h"
#include "app/queue_controller.h"
#include "app/run_controller.h"
#include "app/window_state.h"
#include "run/output_queue.h"
#include "run/pump.h"
#include "run/when_done.h"
#include "util/paths.h"
#include "support/config_scope.h"
#include "support/log_text.h"
#include "support/message_boxes.h"
#include "support/standin.h"
#include "support/temp_folder.h"
#include "support/window_harness.h"
#include "text/catalogue.h"
#include "util/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

const std::string ACCOUNT = "{\"access_key_id\": \"id\", \"access_key_secret\": \"s\", \"appkey\": \"k\", "
                            "\"oss_bucket\": \"b\", \"region\": \"r\", \"ui_lang\": \"en\"}";

bool failingStart(PumpContext*)
{
    return false;
}

std::vector<std::wstring> logLines()
{
    return splitLog(windowText(mainState.controls[CTL_LOG]));
}

class InProcessRun : public OpenWindowTest {
protected:
    void SetUp() override
    {
        OpenWindowTest::SetUp();
        writeBytes(recording, "RIFF");
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"STANDIN_SCRIPT", nullptr);
        OpenWindowTest::TearDown();
    }
    RunRequest request() const { return RunRequest{recording, folder.file(L"out"), L"", 2, false}; }
    bool waitForEnd()
    {
        return pumpUntil([] { return !runState.running; }, 60000);
    }

    ConfigScope config{ACCOUNT};
    TempFolder folder;
    std::wstring recording = folder.file(L"talk.wav");
};

} // namespace

namespace {

// A job that ends nothing when the run closes it: the test keeps a handle of
// its own to see the helper and to end it afterwards.
UniqueHandle testJob;

UniqueHandle looseJob()
{
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), job.get(), GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    testJob.reset(copy);
    return job;
}

} // namespace

TEST_F(InProcessRun, AHelperOutsideAnyJobCannotKeepTheRunBusy)
{
    // Ending the run cannot end the helper that holds the pipe.
    const JobMaker realJob = createJobForRun;
    createJobForRun = looseJob;
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", L"child:0;text:engine finished;exit:6");
    const bool started = launchRun(request());
    createJobForRun = realJob;
    ASSERT_TRUE(started);
    ASSERT_TRUE(pumpUntil([] { return !runState.running; }, 15000)) << "the run ends although the pipe stays open";
    const std::wstring failed = fillPlaceholder(uiText(T_MSG_FAILED), L"6");
    pumpUntil([&] { return logLines().back() == failed; }, 5000);
    const std::vector<std::wstring> lines = logLines();
    EXPECT_EQ(lines[lines.size() - 2], L"engine finished");
    EXPECT_EQ(lines.back(), failed) << "with the engine's own exit code";
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    ASSERT_TRUE(QueryInformationJobObject(testJob.get(), JobObjectBasicAccountingInformation, &accounting,
        sizeof accounting, nullptr));
    EXPECT_GE(accounting.ActiveProcesses, 1u) << "the helper itself is out of the window's reach";
    TerminateJobObject(testJob.get(), 1);
    testJob.reset();
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
    EXPECT_EQ(runState.engine.process, nullptr);
    EXPECT_TRUE(IsWindowEnabled(mainState.controls[CTL_OK]));
}

namespace {

// Windows refuses posts to a queue that holds 10,000 messages already; Wine
// never does, so the refusal is made here.
std::atomic<int> refusalsLeft{0};

BOOL refusingPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (refusalsLeft > 0) {
        --refusalsLeft;
        return FALSE;
    }
    return PostMessageW(window, message, wParam, lParam);
}

} // namespace

TEST_F(InProcessRun, RefusedNotificationsLoseNoLineAndTheRunStillEnds)
{
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", L"lines:20000:60;text:last;exit:4");
    const NotificationPoster realPost = postNotification;
    postNotification = refusingPost;
    refusalsLeft = 40;
    ASSERT_TRUE(launchRun(request()));
    const bool ended = waitForEnd();
    postNotification = realPost;
    ASSERT_TRUE(ended);
    EXPECT_EQ(refusalsLeft, 0) << "the pump kept trying";
    const std::vector<std::wstring> lines = splitLog(utf8ToWide(keptText(keptLog())));
    ASSERT_EQ(lines.size(), 4u + 20000u + 2u);
    for (size_t index = 0; index < 20000; ++index) {
        ASSERT_EQ(lines[4 + index].substr(0, 14), numberedLine(index + 1)) << index;
    }
    EXPECT_EQ(lines[lines.size() - 2], L"last");
    EXPECT_EQ(lines.back(), fillPlaceholder(uiText(T_MSG_FAILED), L"4"));
}

TEST_F(InProcessRun, CancelKeepsTheResultOfAnEngineThatHadEndedAndASecondClickChangesNothing)
{
    struct Case {
        const wchar_t* script;
        bool endsBefore; // the engine ends before Cancel is clicked
        ItemState state;
        unsigned exitCode;
    } cases[] = {
        {L"text:finished;exit:0", true, ItemState::Done, 0},
        {L"text:finished;exit:3", true, ItemState::Failed, 3},
        {L"text:working;hang", false, ItemState::Cancelled, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.script);
        const std::wstring second = folder.file(L"second.wav");
        writeBytes(second, "RIFF");
        closeQueue();
        addRecordingsNow({recording, second});
        SetEnvironmentVariableW(L"STANDIN_SCRIPT", test.script);
        const std::wstring root = folder.file(L"out" + std::to_wstring(&test - cases));
        ASSERT_TRUE(startQueue({RunRequest{L"", root, L"", 2, false}}));
        if (test.endsBefore) {
            // The engine has ended; the window has not taken its end yet.
            ASSERT_EQ(WaitForSingleObject(runState.engine.process.get(), 20000), WAIT_OBJECT_0);
        }
        handleCommand(IDC_BTN_CANCEL, BN_CLICKED);
        handleCommand(IDC_BTN_CANCEL, BN_CLICKED);
        // No file manager opens in this program's desktop.
        const FolderOpener realOpener = folderOpener;
        folderOpener = [](const std::wstring&, HWND, UINT) {};
        const bool ended = pumpUntil([] { return !queueRunning(); }, 60000);
        folderOpener = realOpener;
        ASSERT_TRUE(ended);
        EXPECT_EQ(runQueue.items[0].state, test.state);
        EXPECT_EQ(runQueue.items[0].exitCode, test.exitCode);
        EXPECT_EQ(runQueue.items[1].state, ItemState::Waiting) << "Cancel still stops the queue";
        EXPECT_TRUE(IsWindow(window));
    }
}

namespace {

std::vector<WhenDone> actions;
constexpr int HAND_OVER = -1;

bool recordAction(WhenDone what)
{
    actions.push_back(what);
    return true;
}

} // namespace

TEST_F(InProcessRun, TheCountdownAfterAQueueKeepsTheComputerOnWhenCancelledOrSomeoneBringsWorkAndNeverFollowsACancelledQueue)
{
    // Never the real thing in a test.
    const WhenDoneAction realAction = performWhenDone;
    performWhenDone = recordAction;
    const FolderOpener realOpener = folderOpener;
    folderOpener = [](const std::wstring&, HWND, UINT) {};
    actions.clear();
    SendMessageW(window, WM_COMMAND, IDM_WHEN_DONE_SLEEP, 0);
    struct Case {
        const wchar_t* script;
        WORD stop;         // pressed while the item runs: Cancel or "Stop after this recording"; 0: none
        int button;        // in the countdown box; 0: no box is expected; HAND_OVER: a start hands work over
        std::vector<WhenDone> done;
        TextId line;
    } cases[] = {
        {L"exit:0", 0, IDCANCEL, {}, T_LOG_STAYS_ON},
        {L"exit:0", 0, 100, {WhenDone::Sleep}, T_LOG_SLEEPING}, // "Sleep now"
        {L"exit:0", 0, HAND_OVER, {}, T_LOG_STAYS_ON},
        {L"text:working;hang", IDC_BTN_CANCEL, 0, {}, T_LOG_QUEUE_SUMMARY},
        {L"text:working;sleep:500;exit:0", IDM_STOP_AFTER, 0, {}, T_LOG_QUEUE_SUMMARY},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(&test - cases);
        actions.clear();
        closeQueue();
        addRecordingsNow({recording});
        SetEnvironmentVariableW(L"STANDIN_SCRIPT", test.script);
        MessageBoxSeen box;
        std::thread watcher([&] {
            box = waitForMessageBox(GetCurrentProcessId(), test.button != 0 ? 30000 : 3000);
            if (box.box != nullptr && test.button == HAND_OVER) {
                COPYDATASTRUCT nothing = {HANDED_OVER_DATA, 0, nullptr};
                SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&nothing), SMTO_NORMAL, 10000, nullptr);
            } else if (box.box != nullptr && test.button != 0) {
                answerMessageBox(box, test.button);
            }
        });
        ASSERT_TRUE(startQueue({RunRequest{L"", folder.file(L"out"), L"", 2, false}}));
        if (test.stop != 0) {
            handleCommand(test.stop, BN_CLICKED);
        }
        const std::wstring expected = uiText(test.line);
        const bool seen = pumpUntil([&] {
            const std::vector<std::wstring> lines = logLines();
            return std::find_if(lines.begin(), lines.end(), [&](const std::wstring& line) {
                return line.rfind(expected.substr(0, 8), 0) == 0;
            }) != lines.end() && !queueRunning();
        }, 60000);
        pumpUntil([] { return false; }, test.button != 0 ? 0 : 3500); // a box would have come by now
        watcher.join();
        EXPECT_TRUE(seen);
        EXPECT_EQ(actions, test.done);
        if (test.button != 0) {
            EXPECT_NE(box.text.find(L"60"), std::wstring::npos) << "it counts down from a minute";
        } else {
            EXPECT_EQ(box.box, nullptr) << "no countdown after a queue the user stopped";
        }
    }
    SendMessageW(window, WM_COMMAND, IDM_WHEN_DONE_NOTHING, 0);
    performWhenDone = realAction;
    folderOpener = realOpener;
}

TEST_F(InProcessRun, TheCountdownWaitsForABoxOfTheWindowsAndWorkHandedOverBeforeItOpensEndsIt)
{
    const WhenDoneAction realAction = performWhenDone;
    performWhenDone = recordAction;
    const FolderOpener realOpener = folderOpener;
    folderOpener = [](const std::wstring&, HWND, UINT) {};
    SendMessageW(window, WM_COMMAND, IDM_WHEN_DONE_SLEEP, 0);
    // Handed over while the last item runs (taken once the box has gone,
    // after the queue's end) or after the end, while the countdown waits.
    for (const bool duringTheRun : {true, false}) {
        actions.clear();
        closeQueue();
        addRecordingsNow({recording});
        SetEnvironmentVariableW(L"STANDIN_SCRIPT", L"exit:0");
        EnableWindow(window, FALSE); // as the question before closing does
        ASSERT_TRUE(startQueue({RunRequest{L"", folder.file(L"out"), L"", 2, false}}));
        COPYDATASTRUCT nothing = {HANDED_OVER_DATA, 0, nullptr};
        if (duringTheRun) {
            SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&nothing));
        }
        ASSERT_TRUE(pumpUntil([] { return !queueRunning(); }, 60000));
        pumpUntil([] { return false; }, 1000);
        if (!duringTheRun) {
            EXPECT_TRUE(runState.countdownDue) << "it waits for the box";
            SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&nothing));
        }
        EnableWindow(window, TRUE);
        // A countdown that opened first is cancelled by the work: had it
        // not been, it would have acted after its minute.
        EXPECT_TRUE(pumpUntil([] { return !runState.countdownDue && logLines().back() == uiText(T_LOG_STAYS_ON); }, 30000));
        pumpUntil([] { return false; }, 1000);
        EXPECT_TRUE(actions.empty()) << "no countdown after all";
    }
    SendMessageW(window, WM_COMMAND, IDM_WHEN_DONE_NOTHING, 0);
    performWhenDone = realAction;
    folderOpener = realOpener;
}

TEST_F(InProcessRun, TheSessionsEndOrClosingKeepsTheResultOfAnEngineThatHadEndedAndEveryLineItSaid)
{
    for (void (*windowGoes)() : {endSession, endRunForClose}) {
        closeQueue();
        addRecordingsNow({recording});
        SetEnvironmentVariableW(L"STANDIN_SCRIPT", L"lines:20000:60;exit:0");
        ASSERT_TRUE(startQueue({RunRequest{L"", folder.file(L"out"), L"", 2, false}}));
        // The engine ends while the window has shown nothing of it: no
        // message is taken until the window goes.
        ASSERT_EQ(WaitForSingleObject(runState.engine.process.get(), 60000), WAIT_OBJECT_0);
        windowGoes();
        ASSERT_EQ(runQueue.items.size(), 1u);
        EXPECT_EQ(runQueue.items[0].state, ItemState::Done) << "not interrupted: it needs no second run";
        EXPECT_EQ(pathKind(runQueue.items[0].resultFolder), PathKind::Folder) << "its result stays";
        EXPECT_FALSE(runState.running || queueRunning()) << "nothing more starts";
        const std::vector<std::wstring> kept = splitLog(utf8ToWide(readBytes(runQueue.items[0].logFile)));
        ASSERT_FALSE(kept.empty());
        EXPECT_EQ(kept.back(), uiText(T_MSG_DONE));
        EXPECT_EQ(std::count_if(kept.begin(), kept.end(), [](const std::wstring& line) { return line.rfind(L"line ", 0) == 0; }),
            20000);
        EXPECT_EQ(kept[kept.size() - 2].substr(0, 13), L"line 00020000");
    }
}
