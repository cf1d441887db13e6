#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

TEST(AccountSettings, WritesTheFiveValuesTheLanguageAndOnlyAMissingFfmpegPath)
{
    AppConfig config = {{"last_input", "D:\\a.wav"}, {"last_output", "E:\\"}, {"custom", {{"x", 1}}},
        {"appkey", 5}};
    const std::optional<LanguageIndex> language = applyAccountSettings(config, {{"id", " ", "key", "cn-shanghai", "b"}, 3});
    EXPECT_EQ(language, 3);
    EXPECT_EQ(config, (AppConfig{{"access_key_id", "id"}, {"access_key_secret", " "}, {"appkey", "key"},
                          {"region", "cn-shanghai"}, {"oss_bucket", "b"}, {"ui_lang", "ko"},
                          {"ffmpeg_path", "embedded"}, {"last_input", "D:\\a.wav"}, {"last_output", "E:\\"},
                          {"custom", {{"x", 1}}}}));

    config["ffmpeg_path"] = "C:\\tools\\ffmpeg.exe";
    applyAccountSettings(config, {{"a", "b", "c", "d", "e"}, 5});
    EXPECT_EQ(config["ffmpeg_path"], "C:\\tools\\ffmpeg.exe");
    EXPECT_EQ(config["ui_lang"], "fr");
    config["ffmpeg_path"] = 12;
    applyAccountSettings(config, {{"a", "b", "c", "d", "e"}, 0});
    EXPECT_EQ(config["ffmpeg_path"], 12) << "a present ffmpeg_path is never touched";
}

TEST(AccountSettings, NoSelectionMeansChinese)
{
    AppConfig config = AppConfig::object();
    EXPECT_EQ(applyAccountSettings(config, {{"a", "b", "c", "d", "e"}, -1}), 0);
    EXPECT_EQ(config["ui_lang"], "zh");
    EXPECT_EQ(applyAccountSettings(config, {{"a", "b", "c", "d", "e"}, 1}), 1);
    EXPECT_EQ(config["ui_lang"], "en");
}

TEST(AccountSettings, OnlyWhatWasChangedIsWrittenOverTheFileAsItIsNow)
{
    // Another window saved a new secret and German meanwhile; this dialog
    // changed the region only.
    AppConfig config = {{"access_key_id", "id"}, {"access_key_secret", "new secret"}, {"appkey", "key"},
        {"region", "cn-shanghai"}, {"oss_bucket", "b"}, {"ui_lang", "de"}, {"ffmpeg_path", "embedded"}};
    AccountChanges changes;
    changes.values[3] = "cn-beijing";
    EXPECT_EQ(applyAccountSettings(config, changes), std::nullopt) << "the language stays";
    EXPECT_EQ(config, (AppConfig{{"access_key_id", "id"}, {"access_key_secret", "new secret"}, {"appkey", "key"},
                          {"region", "cn-beijing"}, {"oss_bucket", "b"}, {"ui_lang", "de"}, {"ffmpeg_path", "embedded"}}));
}
