// Whole runs seen from outside: the built program, the stand-in engine, a
// configuration, and what a user would see.
#include "app/ids.h"
#include "e2e/frontend_driver.h"
#include "support/log_text.h"
#include "util/text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>

namespace {

const std::wstring HINT_EN = L"Choose an audio/video file and click OK to start. Account info can be set in Settings.";
const std::wstring DONE_EN = L"Done.";
const std::wstring CANCELLING_EN = L"Cancelling, please wait...";

std::wstring failedEn(const std::wstring& code)
{
    return L"Failed, exit code " + code + L". See the log above.";
}

// The controls a run disables, and those it leaves alone.
constexpr int RUN_INPUTS[] = {IDC_BTN_OK, IDC_BTN_BROWSE_INPUT, IDC_BTN_BROWSE_OUTPUT, IDC_BTN_SETTINGS, IDC_EDIT_INPUT,
    IDC_EDIT_OUTPUT, IDC_EDIT_LABEL, IDC_CMB_SPEAKERS, IDC_CHK_CLIPS};
constexpr int ALWAYS_ENABLED[] = {IDC_BTN_CANCEL, IDC_LINK_OFFICIAL, IDC_EDIT_LOG};

void expectIdleControls(const FrontEnd& frontEnd)
{
    for (int id : RUN_INPUTS) {
        EXPECT_TRUE(frontEnd.enabled(id)) << id;
    }
    for (int id : ALWAYS_ENABLED) {
        EXPECT_TRUE(frontEnd.enabled(id)) << id;
    }
}

void expectBusyControls(const FrontEnd& frontEnd)
{
    for (int id : RUN_INPUTS) {
        EXPECT_FALSE(frontEnd.enabled(id)) << id;
    }
    for (int id : ALWAYS_ENABLED) {
        EXPECT_TRUE(frontEnd.enabled(id)) << id;
    }
}

nlohmann::json recorded(const std::wstring& file)
{
    return nlohmann::json::parse(readBytes(file));
}

struct Recording {
    explicit Recording(const Installation& installation) : path(installation.file(L"recordings\\talk.final.wav"))
    {
        CreateDirectoryW(installation.file(L"recordings").c_str(), nullptr);
        writeBytes(path, "RIFF");
    }
    std::wstring path;
};

} // namespace

TEST(Runs, AutostartRunEndsWithDoneAndTheOpenedFolder)
{
    Installation installation;
    Recording recording(installation);
    FrontEnd frontEnd(installation, L"--autostart " + inQuotes(recording.path),
        {{L"STANDIN_DELAY_MS", L"0"}, {L"STANDIN_RECORD", installation.file(L"record.json")}});
    ASSERT_NE(frontEnd.window(), nullptr);
    ASSERT_TRUE(frontEnd.waitForLine(DONE_EN));

    const std::wstring folder = L"outputs\\" + todayFolder() + L"\\talk.final";
    const std::vector<std::wstring> lines = frontEnd.logLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], HINT_EN) << "the hint comes before the run";
    EXPECT_EQ(lines[1], L"Start processing: " + recording.path);
    const std::wstring logFile = lines[2].substr(std::wstring(L"Log file: ").size());
    EXPECT_EQ(lines[2].substr(0, 10), L"Log file: ");
    EXPECT_EQ(logFile.substr(0, installation.file(L"logs\\").size()), installation.file(L"logs\\"));
    EXPECT_EQ(logFile.substr(logFile.size() - 15), L" talk.final.log") << "named as the result folder";
    EXPECT_EQ(lines[3], L"Output folder: " + folder);
    EXPECT_EQ(lines[4], L"Stand-in engine: this demo performs no speaker separation.");
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"[3/4] Recognising (skipped by the stand-in) / 認識 / 인식"),
        lines.end());
    EXPECT_EQ(lines.back(), DONE_EN);
    EXPECT_EQ(frontEnd.text(IDC_EDIT_INPUT), recording.path);
    expectIdleControls(frontEnd);

    // The engine's own note sits in the folder the front-end opened.
    EXPECT_TRUE(fileExists(installation.file(folder + L"\\stand-in-result.json")));
    EXPECT_EQ(frontEnd.waitForForeignWindows(1).size(), 1u) << "the result folder is opened";
    Sleep(1000);
    EXPECT_EQ(frontEnd.newForeignWindows().size(), 1u) << "and only once";
    frontEnd.closeForeignWindows();

    const nlohmann::json config = nlohmann::json::parse(installation.config());
    EXPECT_EQ(config.value("last_input", ""), wideToUtf8(recording.path));
    EXPECT_EQ(config.value("last_output", ""), "outputs");
    EXPECT_EQ(config.value("access_key_secret", ""), "secret");

    const nlohmann::json record = recorded(installation.file(L"record.json"));
    EXPECT_EQ(record["argv"], nlohmann::json::array({wideToUtf8(installation.engine()), wideToUtf8(recording.path),
                                   "--out-root", "outputs", "--label", "", "--spk-num", "2"}));
    EXPECT_EQ(record["command_line"], wideToUtf8(inQuotes(installation.engine()) + L" " + inQuotes(recording.path)
                                          + L" --out-root \"outputs\" --label \"\" --spk-num 2"));
    EXPECT_EQ(record["command_line"].get<std::string>().find("secret"), std::string::npos);

    // Every line of the run, as shown, is in its log file, which ends with
    // "Done.": UTF-8, CR LF. Its thread writes it a moment after the run.
    std::string kept;
    ASSERT_TRUE(waitUntil([&] {
        kept = readBytes(logFile);
        return kept.size() >= 9 && kept.substr(kept.size() - 9) == "] Done.\r\n";
    }, 20000)) << wideToUtf8(logFile);
    EXPECT_EQ(splitLog(utf8ToWide(kept)), std::vector<std::wstring>(lines.begin() + 1, lines.end()));
    EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), std::count(kept.begin(), kept.end(), '\r'));

    frontEnd.close();
    EXPECT_EQ(frontEnd.waitForExit(), 0);
}

TEST(Runs, FailureCodesAreLoggedUnsignedAndNothingIsOpened)
{
    // Large codes are looked up in hexadecimal.
    for (const auto& [code, shown] : {std::pair{L"3", L"3"}, std::pair{L"3221225477", L"3221225477 (0xC0000005)"}}) {
        SCOPED_TRACE(wideToUtf8(code));
        Installation installation;
        Recording recording(installation);
        FrontEnd frontEnd(installation, L"--autostart " + inQuotes(recording.path),
            {{L"STANDIN_SCRIPT", std::wstring(L"text:something went wrong;exit:") + code}});
        ASSERT_TRUE(frontEnd.waitForLine(failedEn(shown)));
        const std::vector<std::wstring> lines = frontEnd.logLines();
        EXPECT_EQ(lines[lines.size() - 2], L"something went wrong");
        EXPECT_EQ(lines.back(), failedEn(shown));
        expectIdleControls(frontEnd);
        EXPECT_FALSE(fileExists(installation.file(L"outputs")));
        EXPECT_TRUE(frontEnd.newForeignWindows().empty());
    }
}

TEST(Runs, CancelStopsTheEngineAndEveryHelperItStarted)
{
    for (const std::wstring script : {L"text:working;hang", L"child:0;text:working;hang"}) {
        SCOPED_TRACE(wideToUtf8(script));
        Installation installation;
        Recording recording(installation);
        FrontEnd frontEnd(installation, L"--autostart " + inQuotes(recording.path), {{L"STANDIN_SCRIPT", script}});
        ASSERT_TRUE(frontEnd.waitForLine(L"working"));
        expectBusyControls(frontEnd);
        frontEnd.click(IDC_BTN_CANCEL);
        ASSERT_TRUE(frontEnd.waitForLine(failedEn(L"1"), 10000)) << "the run ends promptly";
        const std::vector<std::wstring> lines = frontEnd.logLines();
        EXPECT_EQ(lines[lines.size() - 2], CANCELLING_EN);
        EXPECT_EQ(lines.back(), failedEn(L"1"));
        expectIdleControls(frontEnd);
        // Only the front-end itself is left.
        EXPECT_EQ(processesIn(installation.folder()).size(), 1u);
        EXPECT_FALSE(fileExists(installation.file(L"outputs")));
    }
}

TEST(Runs, RefusalsAreToldInMessageBoxesAndSaveNothing)
{
    const std::wstring noFile = L"File does not exist. Please choose again.";
    const std::wstring badLabel = L"The name label must be a single folder name: it may not contain \\ / : * ? \" < > |, "
                                  L"be . or .., end with a dot or a blank, or be a reserved name such as CON or NUL.";
    struct Case {
        const char* name;
        std::string config;
        bool withEngine;
        const wchar_t* input; // beside the recording; null for the recording itself
        std::wstring label;
        std::wstring text;
        LPCWSTR icon;
        const wchar_t* output = L"outputs";
        bool makeInput = false;
        bool queued = false; // the recording and the input in the queue
    } cases[] = {
        {"missing input", englishConfig(), true, L"gone.wav", L"", noFile, IDI_WARNING},
        {"input is a folder", englishConfig(), true, L"", L"", L"This is a folder, not a file. Choose an audio/video file.",
            IDI_WARNING},
        // Without a label the name would be "..": the results would land in the output root.
        {"a name that is no folder name", englishConfig(), true, L"...wav", L"",
            L"The recording's name cannot be used as a folder name. Please type a name label.", IDI_WARNING,
            L"outputs", true},
        {"label too long", englishConfig(), true, nullptr, std::wstring(256, L'n'),
            L"The name label is too long: a folder name can have at most 255 characters.", IDI_WARNING},
        {"output folder that is a device", englishConfig(), true, nullptr, L"",
            L"The output folder contains a device name such as CON, NUL, COM1 or LPT1, which cannot be a folder. "
            L"Choose another output folder.",
            IDI_WARNING, L"D:\\out\\con"},
        {"missing engine", englishConfig(), false, nullptr, L"",
            L"vuruzuz_odurevazu.exe not found. Put it in the same folder as this program.", IDI_ERROR},
        {"incomplete account",
            "{\"access_key_id\": \"id\", \"access_key_secret\": \"\", \"appkey\": \"key\", \"oss_bucket\": \"b\", "
            "\"region\": \"r\", \"ui_lang\": \"en\"}",
            true, nullptr, L"",
            L"Please fill in the Aliyun AccessKey ID, AccessKey Secret, Appkey, region and OSS bucket in Settings "
            L"before processing.",
            IDI_WARNING},
        {"label above the root", englishConfig(), true, nullptr, L"..\\..\\escaped", badLabel, IDI_WARNING},
        {"label elsewhere", englishConfig(), true, nullptr, L"C:\\evil", badLabel, IDI_WARNING},
        {"label that is a device", englishConfig(), true, nullptr, L"CON", badLabel, IDI_WARNING},
        {"label with a forbidden character", englishConfig(), true, nullptr, L"a\"b", badLabel, IDI_WARNING},
        // "L-a." ends with a dot: the name is to blame, not the label.
        {"a queued name that is no folder name with the label", englishConfig(), true, L"a..wav", L"L",
            L"The result folder name for %s cannot be used: with the name label it is longer than 255 characters, "
            L"ends with a dot or a blank, or is a reserved name such as CON. Rename the recording, change the name "
            L"label, or remove the recording from the queue.",
            IDI_WARNING, L"outputs", true, true},
    };
    for (const Case& refusal : cases) {
        SCOPED_TRACE(refusal.name);
        Installation installation(refusal.config, refusal.withEngine);
        Recording recording(installation);
        const std::wstring input = refusal.input == nullptr ? recording.path
                                                            : installation.file(L"recordings\\") + refusal.input;
        if (refusal.makeInput) {
            writeBytes(input, "RIFF");
        }
        FrontEnd frontEnd(installation, refusal.queued ? inQuotes(recording.path) + L" " + inQuotes(input) : L"");
        if (refusal.queued) {
            ASSERT_TRUE(waitUntil([&] { return frontEnd.queueRows().size() == 2; }, 20000));
        }
        frontEnd.setText(IDC_EDIT_INPUT, input);
        frontEnd.setText(IDC_EDIT_LABEL, refusal.label);
        frontEnd.setText(IDC_EDIT_OUTPUT, refusal.output);
        frontEnd.click(IDC_BTN_OK);
        const MessageBoxSeen box = frontEnd.waitForMessageBox();
        ASSERT_NE(box.box, nullptr);
        std::wstring text = refusal.text;
        if (const size_t mark = text.find(L"%s"); mark != std::wstring::npos) {
            text.replace(mark, 2, input);
        }
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, L"Zozediv Uzuvurodaz Ered");
        EXPECT_EQ(box.icon, refusal.icon);
        EXPECT_EQ(box.owner, frontEnd.window());
        EXPECT_FALSE(box.hasCancel);
        FrontEnd::answer(box, IDOK);
        EXPECT_EQ(installation.config(), refusal.config) << "nothing is saved";
        EXPECT_EQ(frontEnd.logLines(), (std::vector<std::wstring>{HINT_EN})) << "nothing is logged";
        expectIdleControls(frontEnd);
    }
}

TEST(Runs, AnEngineThatCannotStartIsReportedAfterThePathsAreSaved)
{
    const std::wstring TOO_LONG_EN = L"The recording's path, the output folder and the name label together are longer than "
                                     L"Windows allows on the processing program's command line (32,767 characters). "
                                     L"Choose a shorter output folder or name label.";
    // An engine file that is no program, and a command line longer than
    // Windows takes (it is refused, never cut).
    for (const bool tooLong : {false, true}) {
        SCOPED_TRACE(tooLong ? "command line too long" : "not a program");
        Installation installation;
        if (!tooLong) {
            writeBytes(installation.engine(), "this is not a program");
        }
        Recording recording(installation);
        const std::wstring root = tooLong ? L"D:\\" + std::wstring(33000, L'r') : L"outputs";
        FrontEnd frontEnd(installation, L"", {{L"STANDIN_RECORD", installation.file(L"record.json")}});
        frontEnd.setText(IDC_EDIT_INPUT, recording.path);
        frontEnd.setText(IDC_EDIT_OUTPUT, root);
        frontEnd.click(IDC_BTN_OK);
        const MessageBoxSeen box = frontEnd.waitForMessageBox();
        ASSERT_NE(box.box, nullptr);
        EXPECT_EQ(box.text, tooLong ? TOO_LONG_EN : L"Failed to start the processing program.");
        EXPECT_EQ(box.icon, tooLong ? IDI_WARNING : IDI_ERROR);
        FrontEnd::answer(box, IDOK);
        const nlohmann::json config = nlohmann::json::parse(installation.config());
        EXPECT_EQ(config.value("last_input", ""), wideToUtf8(recording.path));
        EXPECT_EQ(config.value("last_output", ""), wideToUtf8(root)) << "read whole, not cut";
        EXPECT_EQ(frontEnd.logLines(), (std::vector<std::wstring>{HINT_EN}));
        EXPECT_FALSE(fileExists(installation.file(L"record.json"))) << "no engine ran";
        expectIdleControls(frontEnd);
    }
}

TEST(Runs, PastedAndLongPathsAreTakenWhole)
{
    // A recording deeper than MAX_PATH, pasted with the quotes of "Copy as
    // path", and an output root of 626 characters.
    Installation installation;
    std::wstring deep = installation.file(L"recordings");
    CreateDirectoryW(deep.c_str(), nullptr);
    while (deep.size() < 300) {
        deep += L"\\" + std::wstring(40, L'd');
        CreateDirectoryW(deep.c_str(), nullptr);
    }
    const std::wstring input = deep + L"\\talk.wav";
    writeBytes(input, "RIFF");
    ASSERT_GT(input.size(), 300u);
    std::wstring root = installation.file(L"out");
    while (root.size() < 626) {
        root += L"\\" + std::wstring(std::min<size_t>(60, 626 - root.size() - 1), L'o');
    }
    ASSERT_EQ(root.size(), 626u);
    FrontEnd frontEnd(installation, L"", {{L"STANDIN_DELAY_MS", L"0"}, {L"STANDIN_RECORD", installation.file(L"record.json")}});
    frontEnd.setText(IDC_EDIT_INPUT, L"  \"" + input + L"\" ");
    frontEnd.setText(IDC_EDIT_OUTPUT, L"\"" + root + L"\"");
    frontEnd.click(IDC_BTN_OK);
    ASSERT_TRUE(frontEnd.waitForLine(DONE_EN));
    const std::wstring folder = root + L"\\" + todayFolder() + L"\\talk";
    const std::vector<std::wstring> lines = frontEnd.logLines();
    EXPECT_EQ(lines[1], L"Start processing: " + input);
    EXPECT_EQ(lines[3], L"Output folder: " + folder);
    const nlohmann::json record = recorded(installation.file(L"record.json"));
    EXPECT_EQ(record["argv"][1], wideToUtf8(input));
    EXPECT_EQ(record["argv"][3], wideToUtf8(root));
    const nlohmann::json config = nlohmann::json::parse(installation.config());
    EXPECT_EQ(config.value("last_input", ""), wideToUtf8(input)) << "stored without the quotes";
    EXPECT_EQ(config.value("last_output", ""), wideToUtf8(root));
    EXPECT_EQ(GetFileAttributesW((L"\\\\?\\" + folder).c_str()) & FILE_ATTRIBUTE_DIRECTORY,
        static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(lines.back(), DONE_EN) << "the long folder was created and the shell took it";
}

TEST(Runs, DoneNeverOpensWhatIsNotAFolder)
{
    // A file stands where the result folder should be created.
    Installation installation;
    Recording recording(installation);
    writeBytes(installation.file(L"outputs"), "not a folder");
    FrontEnd frontEnd(installation, L"--autostart " + inQuotes(recording.path), {{L"STANDIN_SCRIPT", L"text:ok;exit:0"}});
    const std::wstring folder = L"outputs\\" + todayFolder() + L"\\talk.final";
    ASSERT_TRUE(frontEnd.waitForLine(L"Could not create or open the result folder: " + folder));
    const std::vector<std::wstring> lines = frontEnd.logLines();
    EXPECT_EQ(lines[lines.size() - 2], DONE_EN);
    Sleep(1000);
    EXPECT_TRUE(frontEnd.newForeignWindows().empty()) << "the shell was not asked to open anything";
    EXPECT_EQ(readBytes(installation.file(L"outputs")), "not a folder");
}

TEST(Runs, ABurstWhileTheWindowIsBusyArrivesWholeAndInOrderAndSaveLogKeepsEveryLine)
{
    Installation installation;
    Recording recording(installation);
    FrontEnd frontEnd(installation, L"", {{L"STANDIN_SCRIPT", L"sleep:300;lines:30000:80;text:last words"}});
    frontEnd.setText(IDC_EDIT_INPUT, recording.path);
    // The window's thread is held still while the engine writes everything.
    UniqueHandle ui(OpenThread(THREAD_SUSPEND_RESUME, FALSE, frontEnd.uiThread()));
    ASSERT_NE(ui, nullptr);
    frontEnd.click(IDC_BTN_OK);
    ASSERT_TRUE(frontEnd.waitForLines(4));
    SuspendThread(ui.get());
    Sleep(3000);
    ResumeThread(ui.get());
    ASSERT_TRUE(frontEnd.waitForLine(DONE_EN, 120000));

    // The pane shows the most recent lines and says how many it leaves out.
    const std::wstring pane = frontEnd.log();
    const std::vector<std::wstring> shown = splitLog(pane);
    const size_t total = 4 + 30000 + 1 + 1;
    ASSERT_GE(shown.size(), 1u + 10000u);
    ASSERT_LT(shown.size(), total);
    EXPECT_EQ(shown.front(), L"(" + std::to_wstring(total - (shown.size() - 1))
            + L" earlier lines are not shown here. Save log keeps them all.)");
    EXPECT_EQ(shown.back(), DONE_EN);

    // Save log writes every line of the session as it was shown, stamped,
    // as UTF-8 with CR LF.
    const std::wstring saved = installation.file(L"run log.txt");
    ASSERT_TRUE(frontEnd.saveLog(saved));
    ASSERT_TRUE(waitUntil([&] { return fileExists(saved); }, 20000));
    const std::wstring text = utf8ToWide(readBytes(saved));
    const std::vector<std::wstring> lines = splitLog(text);
    ASSERT_EQ(lines.size(), total);
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), static_cast<long>(total));
    EXPECT_EQ(text.find(L"\n["), text.find(L"\r\n[") + 1) << "every line ends in CR LF and starts with its stamp";
    EXPECT_EQ(lines[0], HINT_EN);
    for (size_t index = 0; index < 30000; ++index) {
        ASSERT_EQ(lines[4 + index].substr(0, 14), numberedLine(index + 1)) << index;
        ASSERT_EQ(lines[4 + index].size(), 80u);
    }
    EXPECT_EQ(lines[lines.size() - 2], L"last words");
    EXPECT_EQ(lines.back(), DONE_EN);
    const std::wstring paneLines = pane.substr(pane.find(L"\r\n") + 2);
    EXPECT_EQ(text.substr(text.size() - paneLines.size()), paneLines) << "the pane's lines end the saved log";
    frontEnd.waitForForeignWindows(1);
    frontEnd.closeForeignWindows();
}

TEST(Runs, AwkwardArgumentsReachTheEngineIntact)
{
    Installation installation;
    const std::wstring folder = installation.file(L"录音 テスト 녹음");
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring input = folder + L"\\talk (final).wav";
    writeBytes(input, "RIFF");
    const std::wstring root = L"E:\\";
    const std::wstring label = L"my 'label' (1) & 记号";
    FrontEnd frontEnd(installation, L"",
        {{L"STANDIN_SCRIPT", L"exit:7"}, {L"STANDIN_RECORD", installation.file(L"record.json")}});
    frontEnd.setText(IDC_EDIT_INPUT, input);
    frontEnd.setText(IDC_EDIT_OUTPUT, root);
    frontEnd.setText(IDC_EDIT_LABEL, label);
    SendMessageW(frontEnd.control(IDC_CMB_SPEAKERS), CB_SETCURSEL, 8, 0);
    SendMessageW(frontEnd.control(IDC_CHK_CLIPS), BM_SETCHECK, BST_CHECKED, 0);
    frontEnd.click(IDC_BTN_OK);
    ASSERT_TRUE(frontEnd.waitForLine(failedEn(L"7")));
    const nlohmann::json record = recorded(installation.file(L"record.json"));
    EXPECT_EQ(record["argv"],
        nlohmann::json::array({wideToUtf8(installation.engine()), wideToUtf8(input), "--out-root", "E:\\", "--label",
            wideToUtf8(label), "--spk-num", "10", "--clips"}));
    const std::vector<std::wstring> lines = frontEnd.logLines();
    EXPECT_EQ(lines[3], L"Output folder: E:\\" + todayFolder() + L"\\" + label);
}

TEST(Runs, DuringABurstTheWindowIsOperatedAndClosingAsksFirst)
{
    Installation installation;
    Recording recording(installation);
    // "working" stays the last line until the test lets the burst begin: a
    // line that the burst pushes out of the pane is no state to wait for.
    const std::wstring go = installation.file(L"go");
    FrontEnd frontEnd(installation, L"--autostart " + inQuotes(recording.path),
        {{L"STANDIN_SCRIPT", L"child:0;text:working;await:" + go + L";lines:400000:80;hang"}});
    ASSERT_TRUE(frontEnd.waitForLine(L"working"));
    writeBytes(go, "");

    // While the lines pour in, the window is maximised, minimised, restored
    // and resized (each call returns once the window's thread has done it).
    const HWND window = frontEnd.window();
    ShowWindow(window, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(window));
    RECT log = {};
    GetClientRect(frontEnd.control(IDC_EDIT_LOG), &log);
    const LONG maximisedLogWidth = log.right;
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(IsZoomed(window)) << "back to how it was";
    ShowWindow(window, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(window));
    SetWindowPos(window, nullptr, 0, 0, 900, 720, SWP_NOMOVE | SWP_NOZORDER);
    RECT outer = {};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 900);
    EXPECT_EQ(outer.bottom - outer.top, 720);
    GetClientRect(frontEnd.control(IDC_EDIT_LOG), &log);
    EXPECT_LT(log.right, maximisedLogWidth);
    EXPECT_GT(log.right, 686) << "the log takes the room";

    frontEnd.click(IDC_BTN_OK); // a second OK while running does nothing
    frontEnd.close();
    MessageBoxSeen question = frontEnd.waitForMessageBox();
    ASSERT_NE(question.box, nullptr);
    EXPECT_EQ(question.text, L"Processing in progress. Exit anyway?");
    EXPECT_EQ(question.icon, IDI_QUESTION);
    EXPECT_TRUE(question.hasCancel);
    FrontEnd::answer(question, IDCANCEL);
    Sleep(300);
    EXPECT_TRUE(IsWindow(frontEnd.window())) << "Cancel keeps the run going";
    EXPECT_EQ(processesIn(installation.folder()).size(), 3u) << "the front-end, one engine and its helper";

    frontEnd.close();
    question = frontEnd.waitForMessageBox();
    ASSERT_NE(question.box, nullptr);
    FrontEnd::answer(question, IDOK);
    EXPECT_EQ(frontEnd.waitForExit(), 0);
    Sleep(500);
    EXPECT_TRUE(processesIn(installation.folder()).empty()) << "the engine and its helper are gone too";
}

TEST(Runs, AHelperThatOutlivesTheEngineDoesNotKeepTheRunBusy)
{
    Installation installation;
    Recording recording(installation);
    FrontEnd frontEnd(installation, L"--autostart " + inQuotes(recording.path),
        {{L"STANDIN_SCRIPT", L"child:0;text:engine finished;exit:0"}});
    ASSERT_TRUE(frontEnd.waitForLine(L"engine finished"));
    ASSERT_TRUE(frontEnd.waitForLine(DONE_EN, 15000)) << "the engine's own exit code counts";
    expectIdleControls(frontEnd);
    EXPECT_EQ(processesIn(installation.folder()).size(), 1u) << "the helper was stopped";
    frontEnd.waitForForeignWindows(1);
}

TEST(Runs, OddOutputIsShownLineByLineWithoutLosingAnything)
{
    Installation installation;
    Recording recording(installation);
    // Not UTF-8, a NUL inside a line, carriage returns only, a character
    // split across writes, a long line, then a last line without a line feed.
    FrontEnd frontEnd(installation, L"--autostart " + inQuotes(recording.path),
        {{L"STANDIN_SCRIPT",
            L"hex:ff 61 fe 0a;hex:61 00 62 0a;text:after nul;hex:31 0d 32 0d 33 0d;hex:0a;hex:e4 b8;sleep:50;"
            L"hex:ad 0a;lines:1:100000;hex:0d 0a 0d 0a 0a;hex:74 61 69 6c;exit:5"}});
    ASSERT_TRUE(frontEnd.waitForLine(failedEn(L"5")));
    const std::vector<std::wstring> lines = frontEnd.logLines();
    // The long line is shown as one stamped line and unstamped continuations.
    const size_t pieces = (100000 + 1023) / 1024;
    ASSERT_EQ(lines.size(), 4u + 5u + pieces + 1u + 1u);
    EXPECT_EQ(lines[4], L"\u00FF" L"a\u00FE") << "not UTF-8: the ANSI code page, here 1252";
    EXPECT_EQ(lines[5], L"a\xFFFD" L"b");
    EXPECT_EQ(lines[6], L"after nul");
    EXPECT_EQ(lines[7], L"1\r2\r3") << "only the CR before the line feed goes";
    EXPECT_EQ(lines[8], L"中");
    std::wstring longLine;
    for (size_t piece = 0; piece < pieces; ++piece) {
        longLine += lines[9 + piece];
    }
    EXPECT_EQ(longLine.size(), 100000u);
    EXPECT_EQ(longLine.substr(0, 14), L"line 00000001 ");
    EXPECT_EQ(longLine.find_first_not_of(L'x', 14), std::wstring::npos);
    const std::wstring raw = frontEnd.log();
    EXPECT_NE(raw.find(L"\r\nxxxx"), std::wstring::npos) << "continuations carry no time stamp";
    EXPECT_EQ(lines[9 + pieces], L"tail");
}

TEST(Runs, ALineWithoutALineFeedIsShownInPiecesAsItArrives)
{
    Installation installation;
    Recording recording(installation);
    const std::wstring go = installation.file(L"go");
    FrontEnd frontEnd(installation, L"--autostart " + inQuotes(recording.path),
        {{L"STANDIN_SCRIPT", L"long:200000;await:" + go + L";hex:0a;text:after;exit:5"}});
    // Three pieces of 64 KiB, a thousand characters a line, while the engine
    // still waits with the line unended.
    const size_t shownEarly = 3 * 64;
    ASSERT_TRUE(frontEnd.waitForLines(4 + shownEarly));
    writeBytes(go, "");
    ASSERT_TRUE(frontEnd.waitForLine(failedEn(L"5")));
    const std::vector<std::wstring> lines = frontEnd.logLines();
    const size_t pieces = 3 * 64 + (200000 - 3 * 65536 + 1023) / 1024;
    ASSERT_EQ(lines.size(), 4u + pieces + 2u);
    std::wstring whole;
    for (size_t piece = 0; piece < pieces; ++piece) {
        whole += lines[4 + piece];
    }
    EXPECT_EQ(whole, std::wstring(200000, L'x'));
    EXPECT_EQ(lines[4 + pieces], L"after");
    const std::wstring raw = frontEnd.log();
    EXPECT_EQ(raw.find(L"] x"), raw.rfind(L"] x")) << "one time stamp for the whole line";
}

TEST(Runs, TheLogStaysWhereTheUserReadsWhileOldLinesLeaveAndFollowsAtTheEnd)
{
    Installation installation;
    Recording recording(installation);
    const std::wstring go = installation.file(L"go");
    const std::wstring goOn = installation.file(L"go on");
    FrontEnd frontEnd(installation, L"--autostart " + inQuotes(recording.path),
        {{L"STANDIN_SCRIPT", L"lines:11000:40;text:first part;await:" + go + L";lines:3000:41;text:second part;await:"
                + goOn + L";text:last;exit:0"}});
    ASSERT_TRUE(frontEnd.waitForLine(L"first part", 60000));
    const HWND log = frontEnd.control(IDC_EDIT_LOG);
    auto selection = [&] {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(log, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return frontEnd.log().substr(start, end - start);
    };
    auto topLine = [&] {
        const LRESULT start = SendMessageW(log, EM_LINEINDEX, SendMessageW(log, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        const std::wstring text = frontEnd.log();
        return text.substr(start, text.find(L"\r\n", start) - start);
    };

    // While the engine waits, the user selects the number of line 8000 and
    // scrolls up to line 7990.
    const std::wstring before = frontEnd.log();
    const size_t selected = before.find(numberedLine(8000));
    ASSERT_NE(selected, std::wstring::npos);
    SendMessageW(log, EM_SETSEL, selected, selected + 13);
    const LRESULT target = SendMessageW(log, EM_LINEFROMCHAR, before.find(numberedLine(7990)), 0);
    SendMessageW(log, EM_LINESCROLL, 0, target - SendMessageW(log, EM_GETFIRSTVISIBLELINE, 0, 0));
    const std::wstring selectedText = selection();
    const std::wstring top = topLine();
    ASSERT_EQ(selectedText, numberedLine(8000).substr(0, 13));
    ASSERT_EQ(top.substr(11, 14), numberedLine(7990));

    // Three thousand more lines push the oldest out of the pane; what the
    // user reads stays selected and in view.
    writeBytes(go, "");
    ASSERT_TRUE(frontEnd.waitForLine(L"second part", 60000));
    const std::vector<std::wstring> shown = frontEnd.logLines();
    ASSERT_NE(shown.front().find(L" earlier lines are not shown here."), std::wstring::npos);
    EXPECT_EQ(std::find(shown.begin(), shown.end(), numberedLine(2000) + std::wstring(26, L'x')), shown.end());
    EXPECT_EQ(selection(), selectedText) << "the selection stays on the same text";
    EXPECT_EQ(topLine(), top) << "and so does the view";

    // Back at the end (what Ctrl+End does), the log follows again.
    const LRESULT length = SendMessageW(log, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(log, EM_SETSEL, length, length);
    SendMessageW(log, EM_SCROLLCARET, 0, 0);
    writeBytes(goOn, "");
    ASSERT_TRUE(frontEnd.waitForLine(DONE_EN));
    const LRESULT end = SendMessageW(log, WM_GETTEXTLENGTH, 0, 0);
    EXPECT_EQ(static_cast<DWORD>(SendMessageW(log, EM_GETSEL, 0, 0)), static_cast<DWORD>(MAKELONG(end, end)))
        << "the caret at the end";
    const LRESULT lastLine = SendMessageW(log, EM_POSFROMCHAR, end - 3, 0); // in "Done."
    RECT client;
    GetClientRect(log, &client);
    EXPECT_LT(static_cast<short>(HIWORD(lastLine)), client.bottom) << "the last line in view";
    EXPECT_GE(static_cast<short>(HIWORD(lastLine)), 0);
}

// Its own ctest entry runs it under a Chinese locale: Wine takes the ANSI
// code page from LANG, as Windows takes it from the system locale.
TEST(Runs, OutputInTheSystemCodePageIsReadable)
{
    ASSERT_EQ(GetACP(), 936u) << "run with LANG=zh_CN.UTF-8";
    Installation installation;
    Recording recording(installation);
    FrontEnd frontEnd(installation, L"--autostart " + inQuotes(recording.path),
        {{L"STANDIN_SCRIPT", L"hex:b4 a6 c0 ed d6 d0 20 bd f8 b6 c8 20 35 30 25 0a;text:UTF-8 中文;exit:0"}});
    ASSERT_TRUE(frontEnd.waitForLine(DONE_EN));
    const std::vector<std::wstring> lines = frontEnd.logLines();
    EXPECT_EQ(lines[4], L"处理中 进度 50%");
    EXPECT_EQ(lines[5], L"UTF-8 中文");
}

TEST(Runs, TheKeyboardAloneGoesEverywhereAndEscNeverStopsARun)
{
    Installation installation;
    Recording recording(installation);
    FrontEnd frontEnd(installation, L"", {{L"STANDIN_SCRIPT", L"text:working;sleep:1500;exit:0"}});
    const auto focus = [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(frontEnd.uiThread(), &info);
        return info.hwndFocus;
    };
    const auto press = [&](WPARAM key) {
        const HWND target = focus();
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    };
    ASSERT_TRUE(frontEnd.waitUntilReadyForKeys());
    ASSERT_TRUE(waitUntil([&] { return focus() == frontEnd.control(IDC_EDIT_INPUT); }, 5000)) << "at start";
    // Reading order, labels left out, and round again.
    for (const int next : {IDC_BTN_BROWSE_INPUT, IDC_EDIT_OUTPUT, IDC_BTN_BROWSE_OUTPUT, IDC_EDIT_LABEL, IDC_CHK_CLIPS,
             IDC_CMB_SPEAKERS, IDC_BTN_SETTINGS, IDC_EDIT_LOG, IDC_LINK_OFFICIAL, IDC_BTN_CANCEL, IDC_BTN_OK,
             IDC_EDIT_INPUT}) {
        press(VK_TAB);
        EXPECT_TRUE(waitUntil([&] { return focus() == frontEnd.control(next); }, 3000)) << next;
        if (next == IDC_EDIT_LOG) {
            const DWORD selection = static_cast<DWORD>(SendMessageW(frontEnd.control(next), EM_GETSEL, 0, 0));
            EXPECT_EQ(LOWORD(selection), HIWORD(selection)) << "tabbing in selects nothing";
        }
    }
    // Enter in the input field is OK; Esc during the run changes nothing.
    frontEnd.setText(IDC_EDIT_INPUT, recording.path);
    press(VK_RETURN);
    ASSERT_TRUE(frontEnd.waitForLine(L"working"));
    press(VK_ESCAPE);
    ASSERT_TRUE(frontEnd.waitForLine(DONE_EN));
    const std::vector<std::wstring> lines = frontEnd.logLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), CANCELLING_EN), 0);
    EXPECT_TRUE(IsWindow(frontEnd.window()));
    EXPECT_TRUE(waitUntil([&] { return focus() == frontEnd.control(IDC_EDIT_INPUT); }, 3000))
        << "the focus comes back after the run";
}
