#include "run/run_request.h"

#include "util/handles.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <random>
#include <vector>

namespace {

std::vector<std::wstring> splitLikeTheEngine(const std::wstring& commandLine)
{
    int count = 0;
    UniqueLocal<LPWSTR> split(CommandLineToArgvW(commandLine.c_str(), &count));
    return std::vector<std::wstring>(split.get(), split.get() + count);
}

RunRequest request(std::wstring input, std::wstring root, std::wstring label, int speakers, bool clips)
{
    return RunRequest{std::move(input), std::move(root), std::move(label), speakers, clips};
}

} // namespace

TEST(CommandLine, MatchesTheEngineContract)
{
    EXPECT_EQ(buildCommandLine(L"D:\\tool\\vuruzuz_odurevazu.exe",
                  request(L"D:\\rec\\talk.mp4", L"outputs", L"", 3, true)),
        L"\"D:\\tool\\vuruzuz_odurevazu.exe\" \"D:\\rec\\talk.mp4\" --out-root \"outputs\" --label \"\" "
        L"--spk-num 3 --clips");
    EXPECT_EQ(buildCommandLine(L"C:\\e.exe", request(L"a", L"b", L"c", 10, false)),
        L"\"C:\\e.exe\" \"a\" --out-root \"b\" --label \"c\" --spk-num 10");
    EXPECT_EQ(buildCommandLine(L"C:\\e.exe", request(L"a", L"b", L"", 1, false)),
        L"\"C:\\e.exe\" \"a\" --out-root \"b\" --label \"\" --spk-num 1");
    EXPECT_EQ(buildCommandLine(L"C:\\e.exe", request(L"a", L"b", L"", -5, false)),
        L"\"C:\\e.exe\" \"a\" --out-root \"b\" --label \"\" --spk-num -5");
}

TEST(Quoting, PlainValuesAreQuotedUnchanged)
{
    EXPECT_EQ(quoteArgument(L""), L"\"\"");
    EXPECT_EQ(quoteArgument(L"D:\\rec\\my talk.mp4"), L"\"D:\\rec\\my talk.mp4\"");
    EXPECT_EQ(quoteArgument(L"\\\\server\\share\\x"), L"\"\\\\server\\share\\x\"");
    EXPECT_EQ(quoteArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
}

TEST(Quoting, BackslashesBeforeQuotesAreDoubled)
{
    EXPECT_EQ(quoteArgument(L"E:\\"), L"\"E:\\\\\"");
    EXPECT_EQ(quoteArgument(L"a\\\"b"), L"\"a\\\\\\\"b\"");
    EXPECT_EQ(quoteArgument(L"x\\\\"), L"\"x\\\\\\\\\"");
}

TEST(Quoting, AnyArgumentsSurviveTheRoundTripThroughTheEngineParser)
{
    const std::vector<std::wstring> awkward = {
        L"E:\\", L"label \"with\" quotes\\", L"\\", L"\"", L"\\\"", L"--clips", L" ", L"\t", L"录音 テスト 녹음",
        L"a\\\\b\\\\\\", L"ends with \\\\\"\\",
    };
    std::mt19937 random(12345);
    const wchar_t alphabet[] = L"ab \\\"\t-é漢";
    std::vector<std::wstring> values = awkward;
    for (int round = 0; round < 500; ++round) {
        std::wstring value;
        const int length = static_cast<int>(random() % 12);
        for (int unit = 0; unit < length; ++unit) {
            value += alphabet[random() % (sizeof alphabet / sizeof alphabet[0] - 1)];
        }
        values.push_back(value);
    }
    for (size_t index = 0; index + 2 < values.size(); ++index) {
        const RunRequest run = request(values[index], values[index + 1], values[index + 2], 4, index % 2 == 0);
        const std::vector<std::wstring> arguments = splitLikeTheEngine(buildCommandLine(L"C:\\e\\engine.exe", run));
        ASSERT_EQ(arguments.size(), run.makeClips ? 9u : 8u) << buildCommandLine(L"C:\\e\\engine.exe", run);
        EXPECT_EQ(arguments[0], L"C:\\e\\engine.exe");
        EXPECT_EQ(arguments[1], run.inputPath);
        EXPECT_EQ(arguments[2], L"--out-root");
        EXPECT_EQ(arguments[3], run.outputRoot);
        EXPECT_EQ(arguments[4], L"--label");
        EXPECT_EQ(arguments[5], run.label);
        EXPECT_EQ(arguments[6], L"--spk-num");
        EXPECT_EQ(arguments[7], L"4");
    }
}

TEST(RunRequestFromFields, AppliesTheFieldRules)
{
    const RunRequest empty = makeRunRequest(L"D:\\a.wav", L"", L"", 0, BST_UNCHECKED);
    EXPECT_EQ(empty.outputRoot, L"outputs");
    EXPECT_EQ(empty.speakerCount, 2);
    EXPECT_FALSE(empty.makeClips);
    const RunRequest blank = makeRunRequest(L" D:\\a.wav\t", L" ", L" x ", 8, BST_CHECKED);
    EXPECT_EQ(blank.inputPath, L"D:\\a.wav");
    EXPECT_EQ(blank.outputRoot, L"outputs") << "blanks alone are no folder";
    EXPECT_EQ(blank.label, L" x ") << "the label is taken as typed";
    EXPECT_EQ(blank.speakerCount, 10);
    EXPECT_TRUE(blank.makeClips);
    EXPECT_EQ(makeRunRequest(L"", L"o", L"", -1, BST_INDETERMINATE).speakerCount, 1);
    EXPECT_FALSE(makeRunRequest(L"", L"o", L"", 0, BST_INDETERMINATE).makeClips);
}

TEST(RunRequestFromFields, PastedPathsLoseTheirQuotesAndBlanks)
{
    const struct {
        const wchar_t* typed;
        const wchar_t* used;
    } cases[] = {
        {L"\"C:\\rec\\talk.wav\"", L"C:\\rec\\talk.wav"},
        {L"  \"D:\\out dir\"  ", L"D:\\out dir"},
        {L"\"\"", L""},
        {L"\"", L"\""},
        {L"\"a\" \"b\"", L"a\" \"b"},
        {L"C:\\x\"", L"C:\\x\""},
    };
    for (const auto& field : cases) {
        EXPECT_EQ(cleanPathField(field.typed), field.used) << field.typed;
    }
    EXPECT_EQ(makeRunRequest(L"\"C:\\a.wav\"", L"\"\"", L"", 0, BST_UNCHECKED).outputRoot, L"outputs");
}

TEST(FolderName, OnlyASingleValidNameIsALabel)
{
    for (const wchar_t* valid : {L"meeting", L"会议 2026-12-08", L" leading blank", L"a.b", L"CONSOLE", L"COM10",
             L"LPT", L"x..y", L"name with 'quotes' (1)"}) {
        EXPECT_TRUE(isValidFolderName(valid)) << valid;
    }
    for (const wchar_t* invalid : {L"", L".", L"..", L"..\\..\\escaped", L"a\\b", L"a/b", L"C:\\evil", L"\\rooted",
             L"a:b", L"a*", L"a?", L"a\"b", L"a<b", L"a>b", L"a|b", L"tab\there", L"dot.", L"blank ", L"CON", L"con",
             L"Nul.txt", L"aux.tar.gz", L"PRN", L"COM1", L"lpt9", L"COM\u00B9", L"CONIN$"}) {
        EXPECT_FALSE(isValidFolderName(invalid)) << invalid;
    }
    EXPECT_TRUE(isValidFolderName(std::wstring(255, L'n')));
    EXPECT_FALSE(isValidFolderName(std::wstring(256, L'n')));

    // Without a label the recording's name is the folder: "...wav" would be
    // "..", the output root itself, and "..wav" the date folder.
    for (const auto& [input, valid] : {std::pair{L"D:\\rec\\...wav", false}, std::pair{L"D:\\rec\\..wav", false},
             std::pair{L"D:\\rec\\con.wav", false}, std::pair{L"D:\\rec\\talk.wav", true}}) {
        const LaunchPlan plan = planLaunch(RunRequest{input, L"outputs", L"", 2, false}, L"e.exe", L"2026-12-09");
        EXPECT_EQ(isValidFolderName(runFolderName(RunRequest{input})), valid) << input;
        EXPECT_TRUE(plan.fits);
    }
}

TEST(FolderName, AnOutputFolderNamingADeviceAnywhereIsRefused)
{
    for (const wchar_t* device : {L"NUL", L"D:\\out\\con", L"D:\\out\\CON\\inner", L"\\\\.\\con", L"aux.txt\\x",
             L"D:/out/lpt1.log", L"\\\\server\\share\\COM9", L"C:\\x\\nul "}) {
        EXPECT_TRUE(namesDevice(device)) << device;
    }
    for (const wchar_t* folder : {L"outputs", L"D:\\out\\console", L"\\\\?\\Y:\\newroot", L"\\\\server\\share\\out",
             L"C:\\", L"COM10"}) {
        EXPECT_FALSE(namesDevice(folder)) << folder;
    }
}

TEST(ExitCode, LargeCodesAreAlsoShownInHexadecimal)
{
    EXPECT_EQ(exitCodeText(0), L"0");
    EXPECT_EQ(exitCodeText(3), L"3");
    EXPECT_EQ(exitCodeText(0x7FFFFFFF), L"2147483647");
    EXPECT_EQ(exitCodeText(0x80000000), L"2147483648 (0x80000000)");
    EXPECT_EQ(exitCodeText(3221225477u), L"3221225477 (0xC0000005)");
}

TEST(AccountCheck, AllFiveMustHoldSomething)
{
    EXPECT_TRUE(accountComplete({"id", "secret", "key", "cn-shanghai", "bucket"}));
    EXPECT_TRUE(accountComplete({" ", " ", " ", " ", " "}));
    for (int missing = 0; missing < 5; ++missing) {
        std::array<std::string, 5> values = {"a", "b", "c", "d", "e"};
        values[missing].clear();
        EXPECT_FALSE(accountComplete(values)) << missing;
    }
}

TEST(FileStem, FollowsTheWindowsPathGrammar)
{
    EXPECT_EQ(fileStem(L"D:\\rec\\talk.final.mp4"), L"talk.final");
    EXPECT_EQ(fileStem(L"D:\\rec\\talk"), L"talk");
    EXPECT_EQ(fileStem(L"D:\\rec\\.mp3"), L".mp3");
    EXPECT_EQ(fileStem(L"D:/rec/talk.wav"), L"talk");
    EXPECT_EQ(fileStem(L"D:talk.wav"), L"talk");
    EXPECT_EQ(fileStem(L"D:\\rec\\"), L"");
    EXPECT_EQ(fileStem(L"D:\\rec\\x"), L"x");
    EXPECT_EQ(fileStem(L"D:\\rec\\.."), L"..");
    EXPECT_EQ(fileStem(L"D:\\rec\\talk."), L"talk");
    EXPECT_EQ(fileStem(L"D:\\rec\\talk.wav:stream"), L"talk");
    EXPECT_EQ(fileStem(L"\\\\server\\share\\会议.mp4"), L"会议");
    EXPECT_EQ(fileStem(L"\\\\server"), L"");
    EXPECT_EQ(fileStem(L"talk.mp4"), L"talk");
}

TEST(JoinPath, FollowsTheWindowsAppendRules)
{
    EXPECT_EQ(joinPath(L"outputs", L"2026-12-07"), L"outputs\\2026-12-07");
    EXPECT_EQ(joinPath(L"D:\\out\\", L"2026-12-07"), L"D:\\out\\2026-12-07");
    EXPECT_EQ(joinPath(L"D:/out/", L"x"), L"D:/out/x");
    EXPECT_EQ(joinPath(L"D:", L"x"), L"D:x");
    EXPECT_EQ(joinPath(L"", L"x"), L"x");
    EXPECT_EQ(joinPath(L"D:\\out\\2026-12-07", L"E:\\x"), L"E:\\x");
    EXPECT_EQ(joinPath(L"D:\\out\\2026-12-07", L"\\x"), L"D:\\x");
    EXPECT_EQ(joinPath(L"D:\\out\\2026-12-07", L"D:x"), L"D:\\out\\2026-12-07\\x");
    EXPECT_EQ(joinPath(L"outputs\\2026-12-07", L""), L"outputs\\2026-12-07\\");
    EXPECT_EQ(joinPath(L"D:", L""), L"D:");
    EXPECT_EQ(joinPath(L"C:\\a", L"\\\\srv\\s"), L"\\\\srv\\s") << "a network name is absolute";
    EXPECT_EQ(joinPath(L"\\\\server\\share\\d", L"\\x"), L"\\\\server\\x") << "rooted keeps the network name";
    EXPECT_EQ(joinPath(L"\\\\server\\share", L"x"), L"\\\\server\\share\\x");
    EXPECT_EQ(joinPath(L"C:\\a", L"c:x"), L"C:\\a\\x") << "drive letters compare without case";
    EXPECT_EQ(joinPath(L"outputs", L"D:x"), L"D:x");
}

TEST(OutputFolder, IsRootThenDateThenLabelOrStem)
{
    EXPECT_EQ(dateFolderName(2026, 12, 7), L"2026-12-07");
    EXPECT_EQ(dateFolderName(987, 1, 2), L"0987-01-02");
    const RunRequest unlabelled = request(L"D:\\rec\\talk.mp4", L"outputs", L"", 2, false);
    EXPECT_EQ(runFolderName(unlabelled), L"talk");
    EXPECT_EQ(deriveOutputFolder(L"outputs", L"2026-12-07", runFolderName(unlabelled)), L"outputs\\2026-12-07\\talk");
    EXPECT_EQ(runFolderName(request(L"D:\\rec\\talk.mp4", L"o", L"a\\b", 2, false)), L"a\\b");
    EXPECT_EQ(deriveOutputFolder(L"D:\\out", L"2026-12-07", L"a\\b"), L"D:\\out\\2026-12-07\\a\\b");
    EXPECT_EQ(deriveOutputFolder(L"D:\\out", L"2026-12-07", L"E:\\x"), L"E:\\x");
    EXPECT_EQ(deriveOutputFolder(L"E:\\", L"2026-12-07", L"talk"), L"E:\\2026-12-07\\talk");
}
