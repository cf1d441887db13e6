// Queues seen from outside: the built program runs a folder of recordings
// one after another with the stand-in engine; each recording may carry its
// own steps for the stand-in ("standin:<steps>").
#include "app/ids.h"
#include "e2e/frontend_driver.h"
#include "support/log_text.h"
#include "util/paths.h"
#include "util/text.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <cwchar>

namespace {

using Rows = std::vector<std::vector<std::wstring>>;

std::wstring summaryEn(int done, int failed, int cancelled, int notRun)
{
    return L"Queue finished: " + std::to_wstring(done) + L" done, " + std::to_wstring(failed) + L" failed, "
        + std::to_wstring(cancelled) + L" cancelled, " + std::to_wstring(notRun) + L" not run.";
}

// Files under the installation's "talks" folder, with their contents.
void makeRecordings(const Installation& installation, const std::vector<std::pair<std::wstring, std::string>>& files)
{
    for (const auto& [name, bytes] : files) {
        const std::wstring path = installation.file(L"talks\\" + name);
        for (size_t separator = path.find(L'\\', installation.folder().size() + 1); separator != std::wstring::npos;
             separator = path.find(L'\\', separator + 1)) {
            CreateDirectoryW(path.substr(0, separator).c_str(), nullptr);
        }
        writeBytes(path, bytes);
    }
}

size_t countLines(const FrontEnd& frontEnd, const std::wstring& text)
{
    const std::vector<std::wstring> lines = frontEnd.logLines();
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), text));
}

bool waitForRows(const FrontEnd& frontEnd, const Rows& rows)
{
    return waitUntil([&] { return frontEnd.queueRows() == rows; }, 20000);
}

} // namespace

TEST(Queues, ANestedFolderRunsInOrderAFailureDoesNotStopItAndNoTwoShareAFolder)
{
    Installation installation;
    makeRecordings(installation, {{L"a.wav", "RIFF"}, {L"bad.wav", "standin:text:broken;exit:3"},
                                     {L"other\\x.wav", "RIFF"}, {L"sub\\x.wav", "RIFF"}, {L"notes.txt", "x"}});
    // Given without --autostart, as Explorer passes files: added, not started.
    FrontEnd frontEnd(installation, L"\"" + installation.file(L"talks") + L"\"", {{L"STANDIN_DELAY_MS", L"0"}});
    ASSERT_TRUE(frontEnd.waitForLine(L"1 files were skipped: they are not audio/video files."));
    ASSERT_TRUE(waitForRows(frontEnd, {{L"x.wav", L"Waiting", L""}, {L"x.wav", L"Waiting", L""},
                                          {L"a.wav", L"Waiting", L""}, {L"bad.wav", L"Waiting", L""}}));
    frontEnd.setText(IDC_EDIT_LABEL, L"day1");
    frontEnd.setText(IDC_EDIT_OUTPUT, installation.file(L"out"));
    frontEnd.click(IDC_BTN_OK);

    ASSERT_TRUE(frontEnd.waitForLine(summaryEn(3, 1, 0, 0), 60000));
    EXPECT_TRUE(waitForRows(frontEnd, {{L"x.wav", L"Done", L"day1-x"}, {L"x.wav", L"Done", L"day1-x (2)"},
                                          {L"a.wav", L"Done", L"day1-a"}, {L"bad.wav", L"Failed", L"exit code 3"}}));
    // Each item's lines read as a single run's; the summary comes last.
    const std::wstring date = installation.file(L"out\\" + todayFolder());
    const std::vector<std::wstring> lines = frontEnd.logLines();
    EXPECT_EQ(lines.back(), summaryEn(3, 1, 0, 0));
    EXPECT_EQ(countLines(frontEnd, L"Done."), 3u);
    EXPECT_EQ(countLines(frontEnd, L"Failed, exit code 3. See the log above."), 1u);
    const auto start = std::find(lines.begin(), lines.end(), L"Start processing: " + installation.file(L"talks\\other\\x.wav"));
    ASSERT_NE(start, lines.end());
    EXPECT_EQ(*(start + 2), L"Output folder: " + date + L"\\day1-x");
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"Output folder: " + date + L"\\day1-x (2)"), lines.end());
    for (const auto& [folder, input] : {std::pair{L"day1-x", L"talks\\other\\x.wav"}, std::pair{L"day1-x (2)", L"talks\\sub\\x.wav"}}) {
        const nlohmann::json note = nlohmann::json::parse(readBytes(date + L"\\" + folder + L"\\stand-in-result.json"));
        EXPECT_EQ(note["input"], wideToUtf8(installation.file(input)));
        EXPECT_EQ(note["label"], wideToUtf8(folder));
    }
    EXPECT_TRUE(frontEnd.enabled(IDC_BTN_OK));
    EXPECT_EQ(frontEnd.waitForForeignWindows(1).size(), 1u) << "the date folder, opened once";
    frontEnd.closeForeignWindows();
    const nlohmann::json config = nlohmann::json::parse(installation.config());
    EXPECT_EQ(config["last_speakers"], 2);
    EXPECT_EQ(config["last_clips"], false);
}

TEST(Queues, CancelStopsTheQueueAndOkGoesOnWithTheRest)
{
    Installation installation;
    makeRecordings(installation, {{L"1.wav", "standin:text:working;hang"}, {L"2.wav", "RIFF"}, {L"3.wav", "RIFF"}});
    FrontEnd frontEnd(installation,
        L"--autostart \"" + installation.file(L"talks\\1.wav") + L"\" --autostart \"" + installation.file(L"talks\\2.wav")
            + L"\" --autostart \"" + installation.file(L"talks\\3.wav") + L"\"",
        {{L"STANDIN_DELAY_MS", L"0"}});
    ASSERT_TRUE(frontEnd.waitForLine(L"working"));
    EXPECT_TRUE(waitUntil([&] { return textOf(frontEnd.window()).rfind(L"(1/3) ", 0) == 0; }, 5000)) << textOf(frontEnd.window());
    frontEnd.click(IDC_BTN_CANCEL);
    ASSERT_TRUE(frontEnd.waitForLine(summaryEn(0, 0, 1, 2)));
    EXPECT_TRUE(waitForRows(frontEnd, {{L"1.wav", L"Cancelled", L""}, {L"2.wav", L"Waiting", L""}, {L"3.wav", L"Waiting", L""}}));
    EXPECT_EQ(countLines(frontEnd, L"Start processing: " + installation.file(L"talks\\2.wav")), 0u);
    EXPECT_EQ(textOf(frontEnd.window()).find(L'('), std::wstring::npos);

    frontEnd.click(IDC_BTN_OK);
    ASSERT_TRUE(frontEnd.waitForLine(summaryEn(2, 0, 0, 0)));
    EXPECT_TRUE(waitForRows(frontEnd, {{L"1.wav", L"Cancelled", L""}, {L"2.wav", L"Done", L"2"}, {L"3.wav", L"Done", L"3"}}));
    frontEnd.closeForeignWindows();
}

TEST(Queues, ClosingMidQueueAndStartingAgainShowsTheItemInterrupted)
{
    Installation installation;
    makeRecordings(installation, {{L"1.wav", "standin:text:working;hang"}, {L"2.wav", "RIFF"}});
    {
        FrontEnd frontEnd(installation, L"--autostart \"" + installation.file(L"talks") + L"\"");
        ASSERT_TRUE(frontEnd.waitForLine(L"working"));
        frontEnd.close();
        const MessageBoxSeen question = frontEnd.waitForMessageBox();
        ASSERT_NE(question.box, nullptr);
        FrontEnd::answer(question, IDOK);
        EXPECT_EQ(frontEnd.waitForExit(), 0);
    }
    // A single --autostart FILE is the single run it always was: the
    // queue's waiting item stays waiting. (It fails, so that no file manager
    // opens: closing one can end Wine's virtual desktop, and the windows of
    // the programs after it.)
    writeBytes(installation.file(L"single.wav"), "standin:exit:5");
    {
        FrontEnd again(installation, L"--autostart \"" + installation.file(L"single.wav") + L"\"", {{L"STANDIN_DELAY_MS", L"0"}});
        ASSERT_TRUE(again.waitForLine(L"Failed, exit code 5. See the log above."));
        ASSERT_TRUE(waitForRows(again, {{L"1.wav", L"Interrupted", L""}, {L"2.wav", L"Waiting", L""}}))
            << "nothing else starts by itself";
        const std::string savedBefore = readBytes(installation.file(L"queue.json"));

        // A second window of the same installation leaves queue.json to the first.
        FrontEnd other(installation,
            L"--new-window \"" + installation.file(L"single.wav") + L"\" \"" + installation.file(L"talks\\2.wav") + L"\"");
        EXPECT_TRUE(other.waitForLine(L"Another window of this program keeps the queue in " + installation.file(L"queue.json")
            + L". The queue of this window is not kept when it closes."));
        EXPECT_TRUE(waitForRows(other, {{L"single.wav", L"Waiting", L""}, {L"2.wav", L"Waiting", L""}}))
            << "the input restored from the last run does not lead";
        EXPECT_EQ(readBytes(installation.file(L"queue.json")), savedBefore);
    }

    // A queue.json held by another program at start is taken in once it can
    // be read, its items labelled with the rest: 2.wav as never run.
    nlohmann::json held = nlohmann::json::parse(readBytes(installation.file(L"queue.json")));
    held["items"][1]["label"] = "";
    writeBytes(installation.file(L"queue.json"), held.dump());
    writeBytes(installation.file(L"talks\\2.wav"), "standin:text:second;await:" + wideToUtf8(installation.file(L"go")));
    writeBytes(installation.file(L"3.wav"), "RIFF");
    writeBytes(installation.file(L"4.wav"), "RIFF");
    UniqueHandle lock(adoptHandle(CreateFileW(installation.file(L"queue.json").c_str(), GENERIC_READ, 0, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    ASSERT_NE(lock, nullptr);
    FrontEnd last(installation, inQuotes(installation.file(L"3.wav")) + L" " + inQuotes(installation.file(L"4.wav")),
        {{L"STANDIN_DELAY_MS", L"0"}});
    ASSERT_TRUE(last.waitForLine(L"The saved queue " + installation.file(L"queue.json")
        + L" cannot be read now; another program may be using it. The file is left as it is, and its recordings join "
          L"the list as soon as it can be read."));
    ASSERT_TRUE(waitForRows(last, {{L"3.wav", L"Waiting", L""}, {L"4.wav", L"Waiting", L""}}));
    lock.reset();

    // Result folders of the day are never shared: one there at OK, and one
    // made while the queue runs. The restored input does not join.
    const std::wstring date = installation.file(L"outputs\\" + todayFolder());
    CreateDirectoryW(installation.file(L"outputs\\" + todayFolder() + L"\\2").c_str(), nullptr);
    last.click(IDC_BTN_OK);
    ASSERT_TRUE(last.waitForLine(L"second"));
    CreateDirectoryW((date + L"\\3").c_str(), nullptr);
    writeBytes(installation.file(L"go"), "");
    ASSERT_TRUE(last.waitForLine(summaryEn(3, 0, 0, 0))) << "the earlier interrupted item is no part of this queue";
    EXPECT_TRUE(waitForRows(last, {{L"1.wav", L"Interrupted", L""}, {L"2.wav", L"Done", L"2 (2)"},
                                      {L"3.wav", L"Done", L"3 (2)"}, {L"4.wav", L"Done", L"4"}}));
    EXPECT_TRUE(pathExists(date + L"\\3 (2)\\stand-in-result.json"));
    const nlohmann::json saved = nlohmann::json::parse(readBytes(installation.file(L"queue.json")));
    EXPECT_EQ(saved["items"][0]["state"], "interrupted");
    EXPECT_EQ(saved["items"][1]["state"], "done");
    EXPECT_EQ(saved.dump().find("secret"), std::string::npos) << "no account value";
    last.closeForeignWindows();
}

TEST(Queues, AnOutputFolderThatCannotBeUsedIsToldOnceAndAnEngineThatCannotStartStopsTheQueue)
{
    struct Case {
        const char* name;
        bool brokenEngine;
        std::wstring root; // empty: as remembered
    } cases[] = {
        // No folder can be made below either: told at OK, before any item is touched.
        {"output root on a drive that is not there", false, L"Q:\\out"},
        {"output root that is a file", false, L"a file"},
        {"engine that is no program", true, L""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Installation installation;
        if (test.brokenEngine) {
            writeBytes(installation.engine(), "this is not a program");
        }
        writeBytes(installation.file(L"a file"), "x");
        makeRecordings(installation, {{L"1.wav", "RIFF"}, {L"2.wav", "RIFF"}});
        FrontEnd frontEnd(installation, inQuotes(installation.file(L"talks")));
        ASSERT_TRUE(waitForRows(frontEnd, {{L"1.wav", L"Waiting", L""}, {L"2.wav", L"Waiting", L""}}));
        if (!test.root.empty()) {
            frontEnd.setText(IDC_EDIT_OUTPUT, test.root);
        }
        frontEnd.click(IDC_BTN_OK);
        if (test.brokenEngine) {
            ASSERT_TRUE(frontEnd.waitForLine(summaryEn(0, 0, 0, 2)));
            EXPECT_EQ(countLines(frontEnd, L"Failed to start the processing program."), 1u);
        } else {
            const MessageBoxSeen box = frontEnd.waitForMessageBox();
            ASSERT_NE(box.box, nullptr);
            EXPECT_EQ(box.text, L"The output folder " + test.root + L" cannot be used: no folder can be made in it (it may "
                                L"be a file, on a drive that is not there, or read-only). Choose another output folder.");
            EXPECT_EQ(box.icon, IDI_WARNING);
            FrontEnd::answer(box, IDOK);
            EXPECT_EQ(frontEnd.logLines().size(), 1u) << "nothing started";
        }
        EXPECT_TRUE(waitForRows(frontEnd, {{L"1.wav", L"Waiting", L""}, {L"2.wav", L"Waiting", L""}}));
        EXPECT_FALSE(pathExists(installation.file(L"outputs\\") + todayFolder() + L"\\1")) << "no empty folder is left";
        EXPECT_TRUE(frontEnd.enabled(IDC_BTN_OK));
    }
}

TEST(Queues, NoMessageBoxHoldsUpAQueueStartedFromTheCommandLine)
{
    Installation installation;
    makeRecordings(installation, {{L"1.wav", "RIFF"}, {L"b..wav", "RIFF"}});
    CreateDirectoryW(installation.file(L"empty").c_str(), nullptr);
    FrontEnd frontEnd(installation,
        L"--autostart " + inQuotes(installation.file(L"talks")) + L" --autostart " + inQuotes(installation.file(L"empty")),
        {{L"STANDIN_DELAY_MS", L"0"}});
    ASSERT_TRUE(frontEnd.waitForLine(summaryEn(1, 1, 0, 0)));
    EXPECT_TRUE(waitForRows(frontEnd, {{L"1.wav", L"Done", L"1"}, {L"b..wav", L"Failed", L""}}));
    EXPECT_EQ(countLines(frontEnd, installation.file(L"empty") + L" holds no audio/video files."), 1u);
    EXPECT_EQ(countLines(frontEnd, L"The result folder name for " + installation.file(L"talks\\b..wav")
                                       + L" cannot be used: the recording's name is longer than 255 characters, ends "
                                         L"with a dot or a blank, or is a reserved name such as CON. Rename the "
                                         L"recording, type a name label, or remove the recording from the queue."),
        1u) << "no label was typed: the name is to blame";
}

TEST(Queues, AThousandItemsThatAreGoneLeaveTheWindowAnsweringAndCancelStopsThemKeepingItOpen)
{
    Installation installation;
    std::vector<std::pair<std::wstring, std::string>> files;
    for (int index = 1; index <= 1000; ++index) {
        files.emplace_back(std::to_wstring(index) + L".wav", "RIFF");
    }
    makeRecordings(installation, files);
    FrontEnd frontEnd(installation, inQuotes(installation.file(L"talks")));
    ASSERT_TRUE(waitUntil([&] { return SendMessageW(frontEnd.control(IDC_LIST_QUEUE), LVM_GETITEMCOUNT, 0, 0) == 1000; }, 60000));
    for (const auto& [name, bytes] : files) {
        DeleteFileW(installation.file(L"talks\\" + name).c_str());
    }
    frontEnd.click(IDC_BTN_OK);
    // Each item fails from a message of its own: a Cancel gets in between.
    ASSERT_TRUE(frontEnd.waitForLine(L"File does not exist. Please choose again.", 60000));
    frontEnd.click(IDC_BTN_CANCEL);
    ASSERT_TRUE(waitUntil([&] { return frontEnd.enabled(IDC_BTN_OK); }, 120000));
    const std::vector<std::wstring> lines = frontEnd.logLines();
    int failed = 0;
    int notRun = 0;
    ASSERT_EQ(swscanf(lines.back().c_str(), L"Queue finished: 0 done, %d failed, 0 cancelled, %d not run.", &failed, &notRun), 2)
        << lines.back();
    EXPECT_EQ(failed + notRun, 1000);
    EXPECT_GT(notRun, 0) << "the queue stopped before its end";
    EXPECT_EQ(countLines(frontEnd, L"Cancelling, please wait..."), 1u);
    // A second Cancel right after the end (as a click meant for the queue
    // would come) leaves the window open: two messages posted after it, one
    // after the other, are taken (a close it posted would have come first).
    frontEnd.setText(IDC_EDIT_LABEL, L"still here");
    frontEnd.click(IDC_BTN_CANCEL);
    const HWND label = frontEnd.control(IDC_EDIT_LABEL);
    for (const WPARAM caret : {3, 5}) {
        PostMessageW(label, EM_SETSEL, caret, caret);
        EXPECT_TRUE(waitUntil([&] { return LOWORD(SendMessageW(label, EM_GETSEL, 0, 0)) == caret; }, 20000));
    }
    EXPECT_TRUE(IsWindow(frontEnd.window()));
    const nlohmann::json saved = nlohmann::json::parse(readBytes(installation.file(L"queue.json")));
    EXPECT_EQ(std::count_if(saved["items"].begin(), saved["items"].end(),
                  [](const nlohmann::json& item) { return item["state"] == "waiting"; }),
        notRun) << "saved at the end";
}

TEST(Queues, ACommandLineRunsExactlyWhatItNamesAlsoWhatRanBefore)
{
    Installation installation;
    // a and b ran before, c and d wait from before.
    makeRecordings(installation, {{L"a.wav", "standin:text:a again;exit:4"}, {L"b.wav", "standin:text:b again;exit:4"},
                                     {L"c.wav", "RIFF"}, {L"d.wav", "RIFF"}});
    nlohmann::json saved = {{"output_root", "outputs"}, {"speakers", 2}, {"clips", false}, {"items", nlohmann::json::array()}};
    for (const auto& [name, state] : {std::pair{"a", "done"}, std::pair{"c", "waiting"}, std::pair{"b", "failed"},
             std::pair{"d", "waiting"}}) {
        saved["items"].push_back({{"path", wideToUtf8(installation.file(L"talks\\")) + name + ".wav"}, {"label", name},
            {"state", state}, {"exit_code", 0}, {"result_folder", ""}});
    }
    writeBytes(installation.file(L"queue.json"), saved.dump());
    // e.wav beside them is only added: no part of what waited from before.
    writeBytes(installation.file(L"talks\\e.wav"), "RIFF");
    FrontEnd frontEnd(installation,
        L"--autostart " + inQuotes(installation.file(L"talks\\b.wav")) + L" --autostart "
            + inQuotes(installation.file(L"talks\\a.wav")) + L" " + inQuotes(installation.file(L"talks\\e.wav")),
        {{L"STANDIN_DELAY_MS", L"0"}});
    ASSERT_TRUE(frontEnd.waitForLine(summaryEn(0, 2, 0, 0)));
    EXPECT_EQ(countLines(frontEnd, L"Recordings given on the command line that were in the list already run again: 2."), 1u);
    EXPECT_EQ(countLines(frontEnd, L"Recordings that were waiting from before stay waiting: 2. Click OK to run them."), 1u);
    // In the command line's order, and nothing else.
    std::vector<std::wstring> started;
    for (const std::wstring& line : frontEnd.logLines()) {
        if (line.rfind(L"Start processing: ", 0) == 0) {
            started.push_back(line.substr(18));
        }
    }
    EXPECT_EQ(started, (std::vector<std::wstring>{installation.file(L"talks\\b.wav"), installation.file(L"talks\\a.wav")}));
    EXPECT_TRUE(waitForRows(frontEnd, {{L"a.wav", L"Failed", L"exit code 4"}, {L"c.wav", L"Waiting", L""},
                                          {L"b.wav", L"Failed", L"exit code 4"}, {L"d.wav", L"Waiting", L""},
                                          {L"e.wav", L"Waiting", L""}}));
}

namespace {

// The settings dialog of a window, opened with its button.
HWND openSettings(FrontEnd& frontEnd)
{
    frontEnd.click(IDC_BTN_SETTINGS);
    const MessageBoxSeen dialog = frontEnd.waitForMessageBox();
    return dialog.box;
}

void setField(HWND dialog, int id, const std::wstring& text)
{
    SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
        5000, nullptr);
}

} // namespace

TEST(Queues, TwoWindowsOfOneInstallationLoseNothingAndSettingsInBothKeepBothChanges)
{
    Installation installation;
    makeRecordings(installation, {{L"a.wav", "RIFF"}, {L"b.wav", "RIFF"}, {L"c.wav", "RIFF"}, {L"d.wav", "RIFF"}});
    const auto talk = [&](const wchar_t* name) { return inQuotes(installation.file(L"talks\\") + name); };
    FrontEnd first(installation, talk(L"a.wav") + L" " + talk(L"b.wav"));
    ASSERT_TRUE(waitForRows(first, {{L"a.wav", L"Waiting", L""}, {L"b.wav", L"Waiting", L""}}));
    FrontEnd second(installation, L"--new-window " + talk(L"c.wav") + L" " + talk(L"d.wav"));
    ASSERT_TRUE(second.waitForLine(L"Another window of this program keeps the queue in " + installation.file(L"queue.json")
        + L". The queue of this window is not kept when it closes."));
    ASSERT_TRUE(waitForRows(second, {{L"c.wav", L"Waiting", L""}, {L"d.wav", L"Waiting", L""}}));

    // Settings in both: each writes only what was changed in it.
    const HWND dialogOfFirst = openSettings(first);
    const HWND dialogOfSecond = openSettings(second);
    ASSERT_NE(dialogOfFirst, nullptr);
    ASSERT_NE(dialogOfSecond, nullptr);
    setField(dialogOfFirst, 202, L"a new secret"); // IDC_EDIT_KEY_SECRET
    FrontEnd::answer(MessageBoxSeen{dialogOfFirst}, IDOK);
    setField(dialogOfSecond, 204, L"cn-beijing"); // IDC_EDIT_REGION
    FrontEnd::answer(MessageBoxSeen{dialogOfSecond}, IDOK);
    const nlohmann::json config = nlohmann::json::parse(installation.config());
    EXPECT_EQ(config["access_key_secret"], "a new secret");
    EXPECT_EQ(config["region"], "cn-beijing");

    // The second window asks before its list would be lost; Cancel keeps it.
    second.close();
    const MessageBoxSeen question = second.waitForMessageBox();
    ASSERT_NE(question.box, nullptr);
    EXPECT_EQ(question.text, L"Another window of this program keeps the queue in " + installation.file(L"queue.json")
        + L". The 2 recordings in this window's list will not be kept. Close anyway?");
    FrontEnd::answer(question, IDCANCEL);
    // Once the first has gone, the second keeps the file, its items after the saved ones.
    first.close();
    EXPECT_EQ(first.waitForExit(), 0);
    second.close();
    EXPECT_EQ(second.waitForExit(), 0) << "no question now";
    FrontEnd again(installation, L"");
    EXPECT_TRUE(waitForRows(again, {{L"a.wav", L"Waiting", L""}, {L"b.wav", L"Waiting", L""}, {L"c.wav", L"Waiting", L""},
                                       {L"d.wav", L"Waiting", L""}}));
}

TEST(Queues, WhenWindowsEndsTheSessionTheItemIsInterruptedAndResumeRunsItAgainThenTheWaitingOnes)
{
    Installation installation;
    const std::wstring go = installation.file(L"go");
    makeRecordings(installation, {{L"1.wav", "standin:text:working;await:" + wideToUtf8(go) + ";exit:0"},
                                     {L"2.wav", "RIFF"}, {L"3.wav", "RIFF"}});
    {
        // 2.wav runs first and is done, 1.wav then waits for the test; 3.wav is only added.
        FrontEnd frontEnd(installation, L"--autostart " + inQuotes(installation.file(L"talks\\2.wav")) + L" --autostart "
                + inQuotes(installation.file(L"talks\\1.wav")) + L" " + inQuotes(installation.file(L"talks\\3.wav")),
            {{L"STANDIN_DELAY_MS", L"0"}});
        ASSERT_TRUE(frontEnd.waitForLine(L"working"));
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutW(frontEnd.window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer));
        EXPECT_EQ(answer, TRUE) << "the session may end; Windows shows what runs";
        SendMessageTimeoutW(frontEnd.window(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &answer);
        // Within the few seconds Windows gives: the engine has gone, the
        // item is interrupted in queue.json, its log file is whole, and the
        // window has closed without starting anything more.
        EXPECT_EQ(frontEnd.waitForExit(5000), 0);
        EXPECT_TRUE(processesIn(installation.folder()).empty()) << "the engine has gone";
        const nlohmann::json saved = nlohmann::json::parse(readBytes(installation.file(L"queue.json")));
        std::map<std::string, nlohmann::json> items;
        for (const nlohmann::json& item : saved["items"]) {
            items[item["path"].get<std::string>().substr(item["path"].get<std::string>().size() - 5)] = item;
        }
        EXPECT_EQ(items["1.wav"]["state"], "interrupted");
        EXPECT_EQ(items["2.wav"]["state"], "done");
        EXPECT_EQ(items["3.wav"]["state"], "waiting");
        const std::wstring logFile = utf8ToWide(items["1.wav"]["log_file"].get<std::string>());
        const std::vector<std::wstring> kept = splitLog(utf8ToWide(readBytes(logFile)));
        ASSERT_GE(kept.size(), 4u) << wideToUtf8(logFile);
        EXPECT_EQ(kept[0], L"Start processing: " + installation.file(L"talks\\1.wav"));
        EXPECT_NE(std::find(kept.begin(), kept.end(), L"working"), kept.end());
        EXPECT_EQ(kept.back(), L"Windows is ending the session: processing is interrupted. A queue goes on when Windows "
                               L"starts the program again.");
    }
    writeBytes(go, "");
    FrontEnd resumed(installation, L"--resume", {{L"STANDIN_DELAY_MS", L"0"}});
    ASSERT_TRUE(resumed.waitForLine(summaryEn(2, 0, 0, 0)));
    EXPECT_EQ(countLines(resumed, L"Windows restarted the program: the interrupted recording runs again, then the waiting ones."), 1u);
    std::vector<std::wstring> started;
    for (const std::wstring& line : resumed.logLines()) {
        if (line.rfind(L"Start processing: ", 0) == 0) {
            started.push_back(line.substr(18));
        }
    }
    EXPECT_EQ(started, (std::vector<std::wstring>{installation.file(L"talks\\1.wav"), installation.file(L"talks\\3.wav")}))
        << "the interrupted one first, then the waiting one; the done one stays done";
    const std::wstring date = installation.file(L"outputs\\" + todayFolder());
    EXPECT_TRUE(pathExists(date + L"\\1"));
    EXPECT_FALSE(pathExists(date + L"\\1 (2)")) << "the interrupted item's empty folder did not stay behind";
    resumed.closeForeignWindows();
}

TEST(Queues, AStartWithPathsHandsThemToTheOpenWindowWhichTakesThemAfterARunAfterAMessageBoxAndBeforeClosing)
{
    Installation installation;
    const std::wstring go = installation.file(L"go");
    makeRecordings(installation, {{L"1.wav", "standin:text:working;await:" + wideToUtf8(go) + ";exit:0"},
                                     {L"2.wav", "RIFF"}, {L"3.wav", "RIFF"}, {L"4.wav", "RIFF"},
                                     {L"5.wav", "standin:text:fifth;await:" + wideToUtf8(go) + "5;exit:0"},
                                     {L"6.wav", "standin:text:sixth;hang"}, {L"7.wav", "RIFF"}});
    const auto talk = [&](const wchar_t* name) { return inQuotes(installation.file(L"talks\\") + name); };
    const auto handOver = [&](const std::wstring& arguments) {
        return runToExit(inQuotes(installation.program()) + L" " + arguments, 30000);
    };
    const auto statesAre = [&](const FrontEnd& frontEnd, const Rows& expected) {
        return waitUntil([&] {
            Rows shown = frontEnd.queueRows();
            for (std::vector<std::wstring>& row : shown) {
                row.resize(std::min<size_t>(row.size(), 2));
            }
            return shown == expected;
        }, 20000);
    };
    FrontEnd frontEnd(installation, L"", {{L"STANDIN_DELAY_MS", L"0"}});
    // The Start menu entry again: the open window is the one.
    EXPECT_EQ(handOver(L""), 0);
    EXPECT_EQ(processesIn(installation.folder()).size(), 1u);

    // During a single run, handed-over --autostart paths wait for it; each
    // start ends at once and no second window stays.
    frontEnd.setText(IDC_EDIT_INPUT, installation.file(L"talks\\5.wav"));
    frontEnd.click(IDC_BTN_OK);
    ASSERT_TRUE(frontEnd.waitForLine(L"fifth"));
    EXPECT_EQ(handOver(L"--autostart " + talk(L"1.wav") + L" " + talk(L"3.wav")), 0);
    EXPECT_EQ(processesIn(installation.folder()).size(), 2u) << "the window and the single run's engine";
    ASSERT_TRUE(statesAre(frontEnd, {{L"1.wav", L"Waiting"}, {L"3.wav", L"Waiting"}}));
    writeBytes(go + L"5", "");
    ASSERT_TRUE(statesAre(frontEnd, {{L"1.wav", L"Running"}, {L"3.wav", L"Waiting"}}))
        << "the named one runs once the single run has ended; the other is only added";
    ASSERT_TRUE(frontEnd.waitForLine(L"working"));

    // One handed over while the queue runs joins it.
    EXPECT_EQ(handOver(L"--autostart " + talk(L"2.wav")), 0);
    ASSERT_TRUE(statesAre(frontEnd, {{L"1.wav", L"Running"}, {L"3.wav", L"Waiting"}, {L"2.wav", L"Waiting"}}));
    writeBytes(go, "");
    ASSERT_TRUE(frontEnd.waitForLine(summaryEn(2, 0, 0, 0)));
    EXPECT_TRUE(statesAre(frontEnd, {{L"1.wav", L"Done"}, {L"3.wav", L"Waiting"}, {L"2.wav", L"Done"}}));
    frontEnd.closeForeignWindows();

    // While the window asks whether to close: taken once the box has gone,
    // and kept in queue.json when the window closes instead.
    EXPECT_EQ(handOver(L"--autostart " + talk(L"6.wav")), 0);
    ASSERT_TRUE(frontEnd.waitForLine(L"sixth"));
    frontEnd.close();
    MessageBoxSeen question = frontEnd.waitForMessageBox();
    ASSERT_NE(question.box, nullptr);
    EXPECT_EQ(handOver(talk(L"4.wav")), 0);
    FrontEnd::answer(question, IDCANCEL);
    ASSERT_TRUE(statesAre(frontEnd, {{L"1.wav", L"Done"}, {L"3.wav", L"Waiting"}, {L"2.wav", L"Done"},
                                        {L"6.wav", L"Running"}, {L"4.wav", L"Waiting"}}));
    frontEnd.close();
    question = frontEnd.waitForMessageBox();
    ASSERT_NE(question.box, nullptr);
    EXPECT_EQ(handOver(talk(L"7.wav")), 0);
    FrontEnd::answer(question, IDOK);
    ASSERT_EQ(frontEnd.waitForExit(), 0);
    const nlohmann::json saved = nlohmann::json::parse(readBytes(installation.file(L"queue.json")));
    ASSERT_EQ(saved["items"].size(), 6u);
    EXPECT_EQ(saved["items"][3]["state"], "interrupted") << "6.wav";
    EXPECT_EQ(saved["items"][5]["path"], wideToUtf8(installation.file(L"talks\\7.wav")));
    EXPECT_EQ(saved["items"][5]["state"], "waiting");
    frontEnd.closeForeignWindows();
}
