#include "text/catalogue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

struct LanguageScope {
    explicit LanguageScope(LanguageIndex language) : saved(currentLanguage) { currentLanguage = language; }
    ~LanguageScope() { currentLanguage = saved; }
    LanguageIndex saved;
};

size_t occurrences(const std::wstring& text, const std::wstring& what)
{
    size_t count = 0;
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// The texts the catalogue started with; later ones are appended after them.
constexpr int FIRST_TEXT_COUNT = T_LINK_OFFICIAL + 1;

// FNV-1a over the first texts and every tooltip of a language, each followed
// by a zero unit: one figure that changes with any byte of the stored wording.
uint64_t fingerprint(LanguageIndex language)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    auto feed = [&hash](const wchar_t* text) {
        for (const wchar_t* unit = text;; ++unit) {
            hash ^= static_cast<uint16_t>(*unit);
            hash *= 0x100000001b3ull;
            if (*unit == 0) {
                break;
            }
        }
    };
    for (int id = 0; id < FIRST_TEXT_COUNT; ++id) {
        feed(uiTextIn(language, static_cast<TextId>(id)));
    }
    for (int id = 0; id < TIP_COUNT; ++id) {
        feed(tipTextIn(language, static_cast<TipId>(id)));
    }
    return hash;
}

} // namespace

TEST(Catalogue, EveryLanguageKeepsItsStoredWordingExactly)
{
    static_assert(FIRST_TEXT_COUNT == 35 && TIP_COUNT == 14);
    const uint64_t expected[LANGUAGE_COUNT] = {
        0x7c0ece0ceaf7c49full, 0xee2070173ad8d55full, 0x510bd2343e5ea868ull,
        0xcb43ec90dcef896dull, 0x22f64e582594e8adull, 0x8215f7a4585cbc27ull,
    };
    for (LanguageIndex language = 0; language < LANGUAGE_COUNT; ++language) {
        EXPECT_EQ(fingerprint(language), expected[language]) << LANGUAGES[language].code;
    }
}

TEST(Catalogue, TextsFollowTheCatalogueRules)
{
    for (LanguageIndex language = 0; language < LANGUAGE_COUNT; ++language) {
        SCOPED_TRACE(LANGUAGES[language].code);
        for (int id = 0; id < TEXT_COUNT; ++id) {
            const std::wstring text = uiTextIn(language, static_cast<TextId>(id));
            EXPECT_FALSE(text.empty()) << id;
            EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos) << id;
            static constexpr TextId TAKE_ONE[] = {T_MSG_FAILED, T_ERR_SAVE_CONFIG, T_MSG_OPEN_FAILED, T_LOG_EARLIER,
                T_ERR_SAVE_LOG, T_ERR_NO_RECORDINGS, T_LOG_SKIPPED, T_ERR_FOLDER_UNREADABLE, T_ERR_PATH_TOO_LONG,
                T_LOG_QUEUE_BROKEN, T_LOG_QUEUE_NOT_SAVED, T_RESULT_EXIT_CODE, T_LOG_CONFIG_RESET, T_ERR_CONFIG_IN_USE,
                T_LOG_QUEUE_UNREAD, T_ERR_ITEM_NAME, T_LOG_QUEUE_ELSEWHERE, T_ERR_OUTPUT_UNUSABLE, T_LOG_NAMED_AGAIN,
                T_LOG_LEFT_WAITING, T_LOG_QUEUE_TAKEN_OVER, T_LIST_ADDING, T_QUEUE_ENTRY, T_LOG_QUEUE_IS_FOLDER,
                T_LOG_QUEUE_DISK_FULL, T_ERR_ITEM_NAME_NO_LABEL, T_MORE_ITEMS, T_LOG_RESULT_GONE, T_LOG_FILE,
                T_LOG_NO_LOG_FILES, T_POWER_REASON_RUN, T_COUNTDOWN_SLEEP, T_COUNTDOWN_SHUT_DOWN};
            static constexpr std::pair<TextId, size_t> TAKE_MORE[] = {{T_LOG_QUEUE_SUMMARY, 4},
                {T_ASK_QUEUE_NOT_KEPT, 2}, {T_LOG_QUEUE_ITEMS_DROPPED, 3}, {T_ERR_ITEM_NAMES, 2},
                {T_ERR_ITEM_NAMES_NO_LABEL, 2}, {T_POWER_REASON_QUEUE, 2}};
            size_t values = std::count(std::begin(TAKE_ONE), std::end(TAKE_ONE), id);
            for (const auto& [more, count] : TAKE_MORE) {
                values = more == id ? count : values;
            }
            for (size_t number = 0; number < 5; ++number) {
                const std::wstring mark = L"{" + std::to_wstring(number) + L"}";
                EXPECT_EQ(occurrences(text, mark), number < values ? 1u : 0u) << id;
                // In order, so that each value finds its place.
                EXPECT_TRUE(number == 0 || number >= values || text.find(mark) > text.find(L"{" + std::to_wstring(number - 1) + L"}")) << id;
            }
        }
        for (int id = 0; id < TIP_COUNT; ++id) {
            const std::wstring tip = tipTextIn(language, static_cast<TipId>(id));
            EXPECT_FALSE(tip.empty()) << id;
            EXPECT_EQ(tip.find_first_of(L"\r\n"), std::wstring::npos) << id;
        }
        EXPECT_EQ(std::wstring(uiTextIn(language, T_LOG_START)).back(), L' ');
        EXPECT_NE(std::wstring(uiTextIn(language, T_MENU_SETTINGS)).find(L"(&S)"), std::wstring::npos);
        EXPECT_NE(std::wstring(uiTextIn(language, T_MENU_ACCOUNT)).find(L"(&A)"), std::wstring::npos);
        EXPECT_STREQ(uiTextIn(language, T_DLG_CANCEL), uiTextIn(language, T_BTN_CANCEL));
        // The log's and the queue's menus: an access key each, none twice in a menu.
        for (const auto& menu : {std::vector<TextId>{T_MENU_COPY, T_MENU_SELECT_ALL, T_MENU_SAVE_LOG, T_MENU_CLEAR_LOG},
                 std::vector<TextId>{T_MENU_OPEN_RESULT, T_MENU_OPEN_LOG, T_MENU_RUN_AGAIN, T_MENU_STOP_AFTER, T_MENU_REMOVE,
                     T_MENU_CLEAR_FINISHED},
                 std::vector<TextId>{T_MENU_SETTINGS, T_MENU_QUEUE}, std::vector<TextId>{T_MENU_ACCOUNT, T_MENU_OPEN_PROGRAM_FOLDER},
                 std::vector<TextId>{T_MENU_STOP_AFTER, T_MENU_WHEN_DONE},
                 std::vector<TextId>{T_MENU_DO_NOTHING, T_MENU_SLEEP, T_MENU_SHUT_DOWN}}) {
            std::wstring keys;
            for (const TextId item : menu) {
                const std::wstring text = uiTextIn(language, item);
                const size_t key = text.find(L"(&");
                ASSERT_NE(key, std::wstring::npos) << item;
                EXPECT_EQ(keys.find(text[key + 2]), std::wstring::npos) << item;
                keys += text[key + 2];
            }
        }
        const std::wstring save = uiTextIn(language, T_MENU_SAVE_LOG);
        EXPECT_NE(save.find(L"...\t"), std::wstring::npos);
        EXPECT_EQ(save.substr(save.size() - 2), L"+S");
    }
}

TEST(Catalogue, WordingThatDiffersOnPurposeStaysDifferent)
{
    EXPECT_STREQ(uiTextIn(2, T_BTN_OK), L"開始");
    EXPECT_STREQ(uiTextIn(2, T_DLG_OK), L"OK");
    EXPECT_STREQ(uiTextIn(0, T_BTN_OK), L"确认");
    EXPECT_STREQ(uiTextIn(0, T_DLG_OK), L"确定");
    EXPECT_STREQ(uiTextIn(5, T_LBL_OUTPUT), L"Dossier de sortie :");
    EXPECT_STREQ(uiTextIn(1, T_APP_TITLE), L"Zozediv Uzuvurodaz Ered");
    EXPECT_STREQ(uiTextIn(1, T_LOG_START), L"Start processing: ");
}

TEST(Catalogue, LookupsFollowTheCurrentLanguage)
{
    LanguageScope german(4);
    EXPECT_STREQ(uiText(T_APP_TITLE), L"Sprecher-Trennung");
    EXPECT_STREQ(tipText(TIP_REGION), L"Aliyun-Region, z. B. cn-shanghai.");
    currentLanguage = 3;
    EXPECT_STREQ(uiText(T_BTN_OK), L"확인");
}

TEST(Catalogue, LanguageTableAndCodes)
{
    const char* codes[] = {"zh", "en", "ja", "ko", "de", "fr"};
    for (LanguageIndex language = 0; language < LANGUAGE_COUNT; ++language) {
        EXPECT_STREQ(LANGUAGES[language].code, codes[language]);
        EXPECT_EQ(languageIndexFromCode(codes[language]), language);
    }
    EXPECT_STREQ(LANGUAGES[0].displayName, L"中文");
    EXPECT_STREQ(LANGUAGES[5].displayName, L"Français");
    for (const char* other : {"EN", "en-US", " en", "", "zh-CN", "cn"}) {
        EXPECT_EQ(languageIndexFromCode(other), 0) << other;
    }
    EXPECT_EQ(languageIndexFromCode(std::string_view("en\0", 3)), 0);
}

TEST(FillPlaceholder, ReplacesOnlyTheFirstOccurrence)
{
    EXPECT_EQ(fillPlaceholder(uiTextIn(1, T_MSG_FAILED), L"1"), L"Failed, exit code 1. See the log above.");
    EXPECT_EQ(fillPlaceholder(uiTextIn(4, T_MSG_FAILED), std::to_wstring(0xC0000005u)),
        L"Fehlgeschlagen, Exit-Code 3221225477. Siehe Protokoll oben.");
    EXPECT_EQ(fillPlaceholder(L"no marker", L"7"), L"no marker");
    EXPECT_EQ(fillPlaceholder(L"{0} and {0}", L"7"), L"7 and {0}");
    EXPECT_EQ(fillPlaceholders(L"{0} done, {1} failed, {2}", {L"{1}", L"2", L"3"}), L"{1} done, 2 failed, 3")
        << "a value is never filled again";
    EXPECT_EQ(fillPlaceholder(L"{0", L"7"), L"{0");
    EXPECT_EQ(fillPlaceholder(L"", L"7"), L"");
}
