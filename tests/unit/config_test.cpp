#include "config/config.h"

#include "support/temp_folder.h"
#include "text/catalogue.h"
#include "util/handles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

namespace {

const std::string DEFAULT_FILE = "{\n"
                                 "  \"access_key_id\": \"\",\n"
                                 "  \"access_key_secret\": \"\",\n"
                                 "  \"appkey\": \"\",\n"
                                 "  \"ffmpeg_path\": \"embedded\",\n"
                                 "  \"last_input\": \"\",\n"
                                 "  \"last_output\": \"\",\n"
                                 "  \"oss_bucket\": \"\",\n"
                                 "  \"region\": \"\",\n"
                                 "  \"ui_lang\": \"zh\"\n"
                                 "}";

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override { currentLanguage = 3; }
    void TearDown() override { currentLanguage = 0; }
    std::wstring path() const { return folder.file(L"aliyun_config.json"); }
    std::wstring backup(int number = 1) const
    {
        return folder.file(number == 1 ? L"aliyun_config.json.bak"
                                       : L"aliyun_config.json." + std::to_wstring(number) + L".bak");
    }
    TempFolder folder;
};

} // namespace

TEST(ConfigDefaults, SerialiseToTheKnown193ByteFile)
{
    const std::string text = serializeConfig(defaultConfig());
    EXPECT_EQ(text, DEFAULT_FILE);
    EXPECT_EQ(text.size(), 193u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
}

TEST(ConfigDefaults, FileLivesBesideTheExecutable)
{
    const std::wstring path = configFilePath();
    const std::wstring suffix = L"\\aliyun_config.json";
    ASSERT_GT(path.size(), suffix.size());
    EXPECT_EQ(path.substr(path.size() - suffix.size()), suffix);
}

TEST_F(ConfigFile, MissingFileIsCreatedWithTheDefaults)
{
    const AppConfig config = loadConfigFile(path());
    EXPECT_EQ(readBytes(path()), DEFAULT_FILE);
    EXPECT_EQ(config, defaultConfig());
    EXPECT_EQ(currentLanguage, 0);
    EXPECT_FALSE(fileExists(backup()));
}

TEST_F(ConfigFile, EmptyObjectLoadsWithoutBeingRewritten)
{
    writeBytes(path(), "{}");
    const AppConfig config = loadConfigFile(path());
    EXPECT_EQ(readBytes(path()), "{}");
    EXPECT_EQ(currentLanguage, 0);
    EXPECT_EQ(configText(config, "access_key_id"), "");
    EXPECT_FALSE(config.contains("ffmpeg_path"));
    EXPECT_EQ(serializeConfig(config), "{}");
}

TEST_F(ConfigFile, UnusableFileIsBackedUpThenReplacedByTheDefaults)
{
    const std::string broken[] = {
        "{\"access_key_id\": \"AK-123\", ",           // cut off mid-way
        "",                                            // empty
        "[1, 2, 3]",                                   // wrong top level
        "\"text\"",                                    // wrong top level
        "{\"appkey\": \"x\"} // note",                 // comment
        "{\"appkey\": \"x\"} {}",                      // trailing text
        "{\"appkey\": \"\xC3\"}",                      // ill-formed UTF-8
    };
    int number = 0;
    for (const std::string& bytes : broken) {
        SCOPED_TRACE(bytes);
        writeBytes(path(), bytes);
        currentLanguage = 2;
        const AppConfig config = loadConfigFile(path());
        EXPECT_EQ(config, defaultConfig());
        EXPECT_EQ(currentLanguage, 0);
        EXPECT_EQ(readBytes(path()), DEFAULT_FILE);
        EXPECT_EQ(readBytes(backup(++number)), bytes) << "each breakage under a name of its own";
        EXPECT_EQ(folder.filesNamed(L"*.tmp"), std::vector<std::wstring>{}) << "no temporary file is left";
    }
    EXPECT_EQ(readBytes(backup(1)), broken[0]) << "an older backup is never overwritten";
}

std::string utf16(const std::string& ascii, bool little)
{
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (const char unit : ascii) {
        bytes += little ? std::string{unit, '\0'} : std::string{'\0', unit};
    }
    return bytes;
}

TEST_F(ConfigFile, WhatCanBeKeptIsKeptAndEveryResetIsTold)
{
    const std::string account = "\"appkey\": \"kept\"";
    const struct {
        std::string bytes;
        ConfigProblem problem;
        const char* appkey;
        LanguageIndex language;
        bool rewritten; // backed up and written again at load
    } cases[] = {
        {"{\"ui_lang\": 5, " + account + "}", ConfigProblem::Reset, "kept", 0, true},
        {"{\"ui_lang\": [\"en\"], " + account + "}", ConfigProblem::Reset, "kept", 0, true},
        {utf16("{\"ui_lang\": \"ja\", " + account + "}", true), ConfigProblem::None, "kept", 2, false},
        {utf16("{\"ui_lang\": \"ko\", " + account + "}", false), ConfigProblem::None, "kept", 3, false},
        {"{" + account + ",}", ConfigProblem::Reset, "", 0, true}, // a trailing comma
        {"{\"appkey\": \"\xB2\xE2\"}", ConfigProblem::Reset, "", 0, true}, // the local code page
    };
    int number = 0;
    for (const auto& one : cases) {
        SCOPED_TRACE(one.bytes);
        writeBytes(path(), one.bytes);
        const LoadedConfig loaded = loadConfigFileReport(path());
        EXPECT_EQ(loaded.problem, one.problem);
        EXPECT_EQ(configText(loaded.config, "appkey"), one.appkey);
        EXPECT_EQ(currentLanguage, one.language);
        if (one.rewritten) {
            EXPECT_EQ(loaded.backup, backup(++number)) << "told with the backup's name";
            EXPECT_EQ(readBytes(backup(number)), one.bytes);
        } else {
            // UTF-16 is read as it is, and becomes UTF-8 at the next save, after a backup.
            EXPECT_EQ(readBytes(path()), one.bytes);
            ASSERT_TRUE(updateConfigFile(path(), [](AppConfig& config) { config["region"] = "r"; }));
            EXPECT_EQ(readBytes(backup(++number)), one.bytes);
        }
        const LoadedConfig again = loadConfigFileReport(path());
        EXPECT_EQ(again.problem, ConfigProblem::None) << "told once";
        EXPECT_EQ(configText(again.config, "appkey"), one.appkey);
    }
    DeleteFileW(path().c_str());
    EXPECT_EQ(loadConfigFileReport(path()).problem, ConfigProblem::None) << "a first start has nothing to tell";
}

TEST_F(ConfigFile, ABrokenFileWhoseBackupFailsIsLeftAsItIs)
{
    const std::string broken = "{\"access_key_id\": \"AK-only-copy\", ";
    writeBytes(path(), broken);
    CreateDirectoryW(backup().c_str(), nullptr); // the backup's name is taken by a folder
    EXPECT_EQ(loadConfigFile(path()), defaultConfig());
    EXPECT_EQ(readBytes(path()), broken);
    EXPECT_FALSE(updateConfigFile(path(), [](AppConfig& config) { config["appkey"] = "k"; }).has_value());
    EXPECT_EQ(readBytes(path()), broken) << "a save does not write over it either";
}

TEST_F(ConfigFile, ASaveChangesOnlyItsOwnMembersOnTheFileAsItIsNow)
{
    writeBytes(path(), "{\"access_key_id\": \"AK\", \"last_input\": \"D:\\\\a.wav\", \"zz\": [1]}");
    const std::optional<AppConfig> saved =
        updateConfigFile(path(), [](AppConfig& config) { config["last_output"] = "E:\\out"; });
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(readBytes(path()), serializeConfig(*saved));
    EXPECT_EQ(*saved, AppConfig::parse("{\"access_key_id\": \"AK\", \"last_input\": \"D:\\\\a.wav\", "
                                       "\"last_output\": \"E:\\\\out\", \"zz\": [1]}"));

    // Held by another program while a save comes: the save fails and the
    // file keeps every member; once free, the next save keeps them too.
    {
        UniqueHandle holder = adoptHandle(CreateFileW(path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
            nullptr));
        ASSERT_NE(holder, nullptr);
        EXPECT_FALSE(updateConfigFile(path(), [](AppConfig& config) { config["appkey"] = "k"; }).has_value());
    }
    ASSERT_TRUE(updateConfigFile(path(), [](AppConfig& config) { config["appkey"] = "k"; }).has_value());
    const AppConfig after = AppConfig::parse(readBytes(path()));
    EXPECT_EQ(after["last_input"], "D:\\a.wav");
    EXPECT_EQ(after["zz"], AppConfig::array({1}));
    EXPECT_EQ(after["appkey"], "k");

    // A missing file starts from the defaults; a broken one too, after its backup.
    DeleteFileW(path().c_str());
    ASSERT_TRUE(updateConfigFile(path(), [](AppConfig& config) { config["appkey"] = "k"; }).has_value());
    AppConfig expected = defaultConfig();
    expected["appkey"] = "k";
    EXPECT_EQ(AppConfig::parse(readBytes(path())), expected);
    writeBytes(path(), "{broken");
    ASSERT_TRUE(updateConfigFile(path(), [](AppConfig& config) { config["appkey"] = "k"; }).has_value());
    EXPECT_EQ(AppConfig::parse(readBytes(path())), expected);
    EXPECT_EQ(readBytes(backup()), "{broken");
}

TEST_F(ConfigFile, LanguageComesFromUiLangExactly)
{
    writeBytes(path(), "{\"ui_lang\": \"en\"}");
    loadConfigFile(path());
    EXPECT_EQ(currentLanguage, 1);

    for (const char* code : {"EN", "zh-CN"}) {
        const std::string bytes = std::string("{\"ui_lang\": \"") + code + "\"}";
        writeBytes(path(), bytes);
        currentLanguage = 4;
        const AppConfig config = loadConfigFile(path());
        EXPECT_EQ(currentLanguage, 0) << code;
        EXPECT_EQ(readBytes(path()), bytes) << "the file keeps its member";
        EXPECT_EQ(configText(config, "ui_lang"), code);
    }
}

TEST_F(ConfigFile, SaveKeepsUnknownMembersSortedAndReindented)
{
    writeBytes(path(), "{\"zeta\": {\"b\": 1, \"a\": [true, null]}, \"appkey\": \"k\", \"appkey\": \"last\"}");
    AppConfig config = loadConfigFile(path());
    EXPECT_EQ(configText(config, "appkey"), "last");
    config["last_input"] = "D:\\录音\\talk.mp4";
    ASSERT_TRUE(saveConfigFile(config, path()));
    EXPECT_EQ(readBytes(path()), "{\n"
                                 "  \"appkey\": \"last\",\n"
                                 "  \"last_input\": \"D:\\\\录音\\\\talk.mp4\",\n"
                                 "  \"zeta\": {\n"
                                 "    \"a\": [\n"
                                 "      true,\n"
                                 "      null\n"
                                 "    ],\n"
                                 "    \"b\": 1\n"
                                 "  }\n"
                                 "}");
    EXPECT_EQ(folder.filesNamed(L"*.tmp"), std::vector<std::wstring>{}) << "no temporary file is left";
}

TEST_F(ConfigFile, ByteOrderMarkAndCrLfAreAcceptedAndNotWrittenBack)
{
    writeBytes(path(), "\xEF\xBB\xBF{\r\n  \"ui_lang\": \"fr\",\r\n  \"region\": \"cn-shanghai\"\r\n}\r\n");
    const AppConfig config = loadConfigFile(path());
    EXPECT_EQ(currentLanguage, 5);
    ASSERT_TRUE(saveConfigFile(config, path()));
    EXPECT_EQ(readBytes(path()), "{\n  \"region\": \"cn-shanghai\",\n  \"ui_lang\": \"fr\"\n}");
}

TEST_F(ConfigFile, MembersOfAnotherTypeReadAsEmptyText)
{
    writeBytes(path(), "{\"appkey\": 42, \"region\": null, \"oss_bucket\": {\"x\": 1}, \"last_input\": [\"a\"]}");
    const AppConfig config = loadConfigFile(path());
    for (const char* key : {"appkey", "region", "oss_bucket", "last_input", "absent"}) {
        EXPECT_EQ(configText(config, key), "") << key;
    }
    EXPECT_EQ(configText(AppConfig(), "appkey"), "");
    EXPECT_EQ(configText(AppConfig::array(), "appkey"), "");
    EXPECT_FALSE(fileExists(backup())) << "a usable file is not replaced";
}

TEST_F(ConfigFile, SaveSurvivesAReaderThatForbidsReplacingTheFile)
{
    writeBytes(path(), "{}");
    // Open for reading and writing, but without delete sharing: the file
    // cannot be replaced, only rewritten.
    UniqueHandle holder = adoptHandle(CreateFileW(path().c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(holder, nullptr);
    AppConfig config = AppConfig::object();
    config["appkey"] = "new";
    EXPECT_TRUE(saveConfigFile(config, path()));
    holder.reset();
    EXPECT_EQ(readBytes(path()), "{\n  \"appkey\": \"new\"\n}");
    EXPECT_EQ(folder.filesNamed(L"*.tmp"), std::vector<std::wstring>{}) << "no temporary file is left";
}

TEST_F(ConfigFile, FileThatCannotBeReadIsNeitherOverwrittenNorFatal)
{
    const std::string account = "{\"access_key_id\": \"AK\"}";
    writeBytes(path(), account);
    {
        // Held exclusively by another program: in use, not empty.
        UniqueHandle holder = adoptHandle(CreateFileW(path().c_str(), GENERIC_READ, 0, nullptr,
            OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(holder, nullptr);
        currentLanguage = 1;
        const LoadedConfig loaded = loadConfigFileReport(path());
        EXPECT_EQ(loaded.problem, ConfigProblem::InUse);
        EXPECT_EQ(loaded.config, defaultConfig());
        EXPECT_EQ(currentLanguage, 1) << "the window keeps its language";
        EXPECT_FALSE(updateConfigFile(path(), [](AppConfig& config) { config["appkey"] = "x"; }));
    }
    EXPECT_EQ(readBytes(path()), account);

    // A folder where the file should be.
    const std::wstring folderPath = folder.file(L"sub");
    CreateDirectoryW(folderPath.c_str(), nullptr);
    const std::wstring inner = folderPath + L"\\aliyun_config.json";
    CreateDirectoryW(inner.c_str(), nullptr);
    EXPECT_EQ(loadConfigFile(inner), defaultConfig());
    EXPECT_FALSE(saveConfigFile(defaultConfig(), inner));
    EXPECT_EQ(folder.filesNamed(L"sub\\*.tmp"), std::vector<std::wstring>{});
}

TEST_F(ConfigFile, NoBadFileCrashesOrLosesTheAccountWithoutABackup)
{
    std::string binary;
    for (int byte = 0; byte < 4096; ++byte) {
        binary += static_cast<char>((byte * 37) & 0xFF);
    }
    const std::string account = "{\"access_key_id\": \"AK-keep-me\", ";
    const std::string corpus[] = {
        account,                                                     // truncated
        binary,                                                      // binary
        std::string(100000, '[') + std::string(100000, ']'),         // deep nesting
        "{\"x\": " + std::string(300, '[') + std::string(300, ']') + ", \"access_key_id\": \"AK-keep-me\"}",
        "\xEF\xBB\xBF garbage",                                       // BOM and garbage
    };
    int number = 0;
    for (const std::string& bytes : corpus) {
        SCOPED_TRACE(bytes.substr(0, 40));
        writeBytes(path(), bytes);
        EXPECT_EQ(loadConfigFile(path()), defaultConfig());
        EXPECT_EQ(readBytes(backup(++number)), bytes);
        EXPECT_EQ(readBytes(path()), DEFAULT_FILE);
    }

    // 256 levels are kept, and save again; 257 are not.
    const std::string deepButFine = "{\"x\": " + std::string(255, '[') + std::string(255, ']') + "}";
    const std::string tooDeep = "{\"x\": " + std::string(256, '[') + std::string(256, ']') + "}";
    writeBytes(path(), tooDeep);
    EXPECT_EQ(loadConfigFile(path()), defaultConfig());
    EXPECT_EQ(readBytes(backup(++number)), tooDeep);
    writeBytes(path(), deepButFine);
    const AppConfig kept = loadConfigFile(path());
    EXPECT_TRUE(kept.contains("x"));
    EXPECT_TRUE(saveConfigFile(kept, path()));

    // Huge values and wrong types for every known member load as they are.
    AppConfig huge = {{"access_key_id", std::string(5000000, 'k')}, {"access_key_secret", 1}, {"appkey", true},
        {"region", nullptr}, {"oss_bucket", 2.5}, {"ffmpeg_path", {1}}, {"last_input", {{"a", 1}}},
        {"last_output", -1}, {"ui_lang", "de"}};
    writeBytes(path(), huge.dump());
    EXPECT_EQ(loadConfigFile(path()), huge);
    EXPECT_EQ(currentLanguage, 4);
}

TEST_F(ConfigFile, AReadOnlyFileIsBackedUpAndLeftAlone)
{
    writeBytes(path(), "{broken");
    SetFileAttributesW(path().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(loadConfigFile(path()), defaultConfig());
    EXPECT_EQ(readBytes(backup()), "{broken");
    EXPECT_EQ(readBytes(path()), "{broken");
    EXPECT_FALSE(updateConfigFile(path(), [](AppConfig& config) { config["appkey"] = "k"; }).has_value());
    EXPECT_EQ(readBytes(path()), "{broken");
    EXPECT_FALSE(fileExists(backup(2))) << "the same breakage is kept once";
    EXPECT_EQ(folder.filesNamed(L"*.tmp"), std::vector<std::wstring>{}) << "no temporary file is left";
    SetFileAttributesW(path().c_str(), FILE_ATTRIBUTE_NORMAL);
}
