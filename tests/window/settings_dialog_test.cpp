// The real modal settings dialog, opened on the test's thread and driven
// from a second thread, as the user's clicks would drive it.
#include "app/controls.h"
#include "app/ids.h"
#include "app/run_controller.h"
#include "app/window_state.h"
#include "config/config.h"
#include "settings/settings_dialog.h"
#include "settings/settings_ids.h"
#include "support/config_scope.h"
#include "support/message_boxes.h"
#include "support/temp_folder.h"
#include "support/window_harness.h"
#include "text/catalogue.h"
#include "util/handles.h"
#include "util/text.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

// Opens the dialog as the Settings button does and runs the actions on
// another thread while it is open. They must end it.
void withSettingsDialog(HWND mainWindow, const std::function<void(HWND)>& actions, WORD command = IDC_BTN_SETTINGS)
{
    withDialogOpenedBy(mainWindow, command, actions);
}

std::wstring itemText(HWND dialog, int id)
{
    return textOf(GetDlgItem(dialog, id));
}

void setItemText(HWND dialog, int id, const std::wstring& text)
{
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

constexpr int FIELDS[5] = {IDC_EDIT_KEY_ID, IDC_EDIT_KEY_SECRET, IDC_EDIT_APPKEY, IDC_EDIT_REGION, IDC_EDIT_BUCKET};

class SettingsDialog : public WindowTest {};

// The template as compiled into the program: DLGTEMPLATEEX and its items.
struct TemplateReader {
    const BYTE* at;
    WORD word() { WORD value; memcpy(&value, at, 2); at += 2; return value; }
    DWORD dword() { DWORD value; memcpy(&value, at, 4); at += 4; return value; }
    short shortValue() { return static_cast<short>(word()); }
    std::wstring text()
    {
        std::wstring value;
        for (WORD unit = word(); unit != 0; unit = word()) {
            value += static_cast<wchar_t>(unit);
        }
        return value;
    }
    std::wstring nameOrOrdinal()
    {
        WORD first;
        memcpy(&first, at, 2);
        if (first == 0xFFFF) {
            word();
            return L"#" + std::to_wstring(word());
        }
        return text();
    }
    void alignTo4(const BYTE* base) { while ((at - base) % 4 != 0) ++at; }
};

} // namespace

TEST(SettingsTemplate, HasTheStyleFontAndControlsOfTheDialogTable)
{
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), RT_DIALOG);
    ASSERT_NE(resource, nullptr);
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, resource)));
    TemplateReader reader{base};
    EXPECT_EQ(reader.word(), 1);      // dlgVer
    EXPECT_EQ(reader.word(), 0xFFFF); // extended template
    reader.dword();                   // help id
    EXPECT_EQ(reader.dword(), 0u);    // extended style
    EXPECT_EQ(reader.dword(), 0x80C800C0u);
    const WORD count = reader.word();
    EXPECT_EQ(count, 15);
    EXPECT_EQ(reader.shortValue(), 0);
    EXPECT_EQ(reader.shortValue(), 0);
    EXPECT_EQ(reader.shortValue(), 330);
    EXPECT_EQ(reader.shortValue(), 235);
    EXPECT_EQ(reader.nameOrOrdinal(), L""); // no menu
    EXPECT_EQ(reader.nameOrOrdinal(), L""); // the standard dialog class
    EXPECT_EQ(reader.text(), L"账号与语言设置");
    EXPECT_EQ(reader.word(), 9);   // points
    EXPECT_EQ(reader.word(), 400); // weight
    const WORD italicAndCharset = reader.word();
    EXPECT_EQ(italicAndCharset & 0xFF, 0);
    EXPECT_EQ(italicAndCharset >> 8, 1);
    EXPECT_EQ(reader.text(), L"Microsoft YaHei UI");

    const struct {
        DWORD id;
        const wchar_t* className;
        DWORD style;
        short x, y, width, height;
    } expected[15] = {
        {301, L"STATIC", 0x50020000, 18, 18, 105, 10}, {201, L"EDIT", 0x50810080, 128, 15, 185, 14},
        {302, L"STATIC", 0x50020000, 18, 44, 105, 10}, {202, L"EDIT", 0x50810080, 128, 41, 185, 14},
        {303, L"STATIC", 0x50020000, 18, 70, 105, 10}, {203, L"EDIT", 0x50810080, 128, 67, 185, 14},
        {304, L"STATIC", 0x50020000, 18, 96, 105, 10}, {204, L"EDIT", 0x50810080, 128, 93, 185, 14},
        {305, L"STATIC", 0x50020000, 18, 122, 105, 10}, {205, L"EDIT", 0x50810080, 128, 119, 185, 14},
        {306, L"STATIC", 0x50020000, 18, 148, 105, 10}, {206, L"COMBOBOX", 0x50210003, 128, 145, 185, 120}, // a tab stop
        {307, L"STATIC", 0x50020000, 18, 170, 295, 30}, {1, L"BUTTON", 0x50010001, 105, 200, 90, 22},
        {2, L"BUTTON", 0x50010000, 210, 200, 90, 22},
    };
    for (int index = 0; index < count && index < 15; ++index) {
        SCOPED_TRACE(index);
        reader.alignTo4(base);
        reader.dword(); // help id
        EXPECT_EQ(reader.dword(), 0u);
        EXPECT_EQ(reader.dword(), expected[index].style);
        EXPECT_EQ(reader.shortValue(), expected[index].x);
        EXPECT_EQ(reader.shortValue(), expected[index].y);
        EXPECT_EQ(reader.shortValue(), expected[index].width);
        EXPECT_EQ(reader.shortValue(), expected[index].height);
        EXPECT_EQ(reader.dword(), expected[index].id);
        EXPECT_EQ(reader.nameOrOrdinal(), expected[index].className);
        reader.nameOrOrdinal(); // the Chinese caption, replaced at opening
        reader.at += reader.word(); // creation data
    }
}

TEST_F(SettingsDialog, OpensInTheCurrentLanguageWithTheFileValues)
{
    for (LanguageIndex language = 0; language < LANGUAGE_COUNT; ++language) {
        SCOPED_TRACE(LANGUAGES[language].code);
        AppConfig file = {{"access_key_id", "AK-ÄÖ"}, {"access_key_secret", 42}, {"region", "cn-shanghai"},
            {"oss_bucket", {{"not", "text"}}}, {"ui_lang", LANGUAGES[language].code}};
        ConfigScope config(file.dump());
        start();
        withSettingsDialog(window, [&](HWND dialog) {
            EXPECT_EQ(textOf(dialog), uiTextIn(language, T_DLG_TITLE));
            EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0), 0) << "the icon in its title bar";
            const std::pair<int, TextId> captions[] = {{IDC_LBL_KEY_ID, T_DLG_KEY_ID},
                {IDC_LBL_KEY_SECRET, T_DLG_KEY_SECRET}, {IDC_LBL_APPKEY, T_DLG_APPKEY},
                {IDC_LBL_REGION, T_DLG_REGION}, {IDC_LBL_BUCKET, T_DLG_BUCKET}, {IDC_LBL_LANG, T_DLG_LANG},
                {IDC_LBL_NOTE, T_DLG_NOTE}, {IDOK, T_DLG_OK}, {IDCANCEL, T_DLG_CANCEL}};
            for (const auto& [id, text] : captions) {
                EXPECT_EQ(itemText(dialog, id), uiTextIn(language, text)) << id;
            }
            HWND list = GetDlgItem(dialog, IDC_CMB_LANG);
            ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), LANGUAGE_COUNT);
            for (int item = 0; item < LANGUAGE_COUNT; ++item) {
                wchar_t name[32] = {};
                SendMessageW(list, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(name));
                EXPECT_STREQ(name, LANGUAGES[item].displayName);
            }
            EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), language);
            EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDC_EDIT_BUCKET), FALSE), list)
                << "Tab reaches the language list";
            EXPECT_EQ(itemText(dialog, IDC_EDIT_KEY_ID), L"AK-ÄÖ");
            EXPECT_EQ(itemText(dialog, IDC_EDIT_KEY_SECRET), L"") << "a number shows as an empty field";
            EXPECT_EQ(itemText(dialog, IDC_EDIT_APPKEY), L"") << "absent";
            EXPECT_EQ(itemText(dialog, IDC_EDIT_REGION), L"cn-shanghai");
            EXPECT_EQ(itemText(dialog, IDC_EDIT_BUCKET), L"");
            EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, IDC_EDIT_KEY_SECRET), GWL_STYLE) & ES_PASSWORD, 0)
                << "the secret is shown in clear";

            HWND tooltip = nullptr;
            for (HWND candidate : topLevelWindows()) {
                if (classOf(candidate) == TOOLTIPS_CLASSW && GetWindow(candidate, GW_OWNER) == dialog) {
                    tooltip = candidate;
                }
            }
            ASSERT_NE(tooltip, nullptr);
            ASSERT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 6);
            const std::pair<int, TipId> tools[] = {{IDC_EDIT_KEY_ID, TIP_KEY_ID}, {IDC_EDIT_KEY_SECRET, TIP_KEY_SECRET},
                {IDC_EDIT_APPKEY, TIP_APPKEY}, {IDC_EDIT_REGION, TIP_REGION}, {IDC_EDIT_BUCKET, TIP_BUCKET},
                {IDC_CMB_LANG, TIP_LANG}};
            for (int index = 0; index < 6; ++index) {
                TOOLINFOW tool = {};
                tool.cbSize = sizeof tool;
                wchar_t text[1024] = {};
                tool.lpszText = text;
                ASSERT_TRUE(SendMessageW(tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&tool)));
                EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, tools[index].first)));
                EXPECT_EQ(tool.hwnd, dialog);
                SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
                EXPECT_STREQ(text, tipTextIn(language, tools[index].second));
            }
            press(dialog, IDCANCEL);
        });
        EXPECT_EQ(config.contents(), file.dump()) << "Cancel changes nothing";
        closeMainWindow(window);
        window = nullptr;
    }
}

TEST_F(SettingsDialog, OkWithAnEmptyFieldWarnsAndKeepsTheDialogOpen)
{
    const std::string file = "{\"ui_lang\": \"fr\", \"access_key_id\": \"a\"}";
    ConfigScope config(file);
    start();
    withSettingsDialog(window, [&](HWND dialog) {
        setItemText(dialog, IDC_EDIT_KEY_SECRET, L"s");
        setItemText(dialog, IDC_EDIT_APPKEY, L"k");
        setItemText(dialog, IDC_EDIT_REGION, L"r"); // the bucket stays empty
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        const MessageBoxSeen warning = waitForMessageBox(GetCurrentProcessId(), 10000, dialog);
        EXPECT_EQ(warning.text, uiTextIn(5, T_ERR_DLG_EMPTY));
        EXPECT_EQ(warning.caption, L"Séparation de locuteurs");
        EXPECT_EQ(warning.owner, dialog);
        EXPECT_EQ(warning.icon, IDI_WARNING);
        answerMessageBox(warning, IDOK);
        Sleep(100);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(itemText(dialog, IDC_EDIT_REGION), L"r") << "the fields stay as the user left them";
        press(dialog, IDCANCEL);
    });
    EXPECT_EQ(config.contents(), file);
}

TEST_F(SettingsDialog, ASaveThatFailsIsToldAndChangesNothing)
{
    const std::string file = "{\"access_key_id\": \"old\", \"last_input\": \"D:\\\\a.wav\", \"ui_lang\": \"en\"}";
    // A read-only file, and one that another program takes while the dialog is open.
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "held" : "read-only");
        ConfigScope config(file);
        start();
        UniqueHandle holder;
        if (!held) {
            SetFileAttributesW(ConfigScope::path().c_str(), FILE_ATTRIBUTE_READONLY);
        }
        withSettingsDialog(window, [&](HWND dialog) {
            if (held) {
                holder = adoptHandle(CreateFileW(ConfigScope::path().c_str(), GENERIC_READ, 0, nullptr,
                    OPEN_EXISTING, 0, nullptr));
                ASSERT_NE(holder, nullptr);
            }
            for (const int field : FIELDS) {
                setItemText(dialog, field, L"new");
            }
            SendDlgItemMessageW(dialog, IDC_CMB_LANG, CB_SETCURSEL, 4, 0);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            const MessageBoxSeen warning = waitForMessageBox(GetCurrentProcessId(), 10000, dialog);
            EXPECT_EQ(warning.text,
                fillPlaceholder(uiText(held ? T_ERR_CONFIG_IN_USE : T_ERR_SAVE_CONFIG), ConfigScope::path()));
            EXPECT_EQ(warning.icon, IDI_WARNING);
            EXPECT_EQ(warning.owner, dialog);
            answerMessageBox(warning, IDOK);
            Sleep(100);
            EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
            EXPECT_EQ(itemText(dialog, IDC_EDIT_KEY_ID), L"new");
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_CMB_LANG, CB_GETCURSEL, 0, 0), 4);
            press(dialog, IDCANCEL);
        });
        holder.reset();
        SetFileAttributesW(ConfigScope::path().c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(config.contents(), file);
        EXPECT_EQ(currentLanguage, 1);
        EXPECT_EQ(windowText(window), L"Zozediv Uzuvurodaz Ered") << "the window keeps its language";
        closeMainWindow(window);
        window = nullptr;
    }
}

TEST_F(SettingsDialog, ALockedFileIsToldAsInUseAndNeverShownEmpty)
{
    const std::string file = "{\"access_key_id\": \"old\", \"ui_lang\": \"en\"}";
    ConfigScope config(file);
    start();
    UniqueHandle holder = adoptHandle(CreateFileW(ConfigScope::path().c_str(), GENERIC_READ, 0, nullptr,
        OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(holder, nullptr);
    // Settings and OK both tell that another program holds the file, in the
    // window's language, instead of showing or asking for empty values.
    TempFolder folder;
    writeBytes(folder.file(L"talk.wav"), "RIFF");
    SetWindowTextW(mainState.controls[CTL_INPUT], folder.file(L"talk.wav").c_str());
    for (const WORD command : {WORD(IDC_BTN_SETTINGS), WORD(IDC_BTN_OK)}) {
        SCOPED_TRACE(command);
        MessageBoxSeen box;
        std::thread answerer([&] {
            box = waitForMessageBox(GetCurrentProcessId(), 10000, window);
            answerMessageBox(box, IDOK);
        });
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
        answerer.join();
        EXPECT_EQ(box.text, fillPlaceholder(uiText(T_ERR_CONFIG_IN_USE), ConfigScope::path()));
        EXPECT_EQ(currentLanguage, 1);
    }
    holder.reset();
    EXPECT_EQ(config.contents(), file) << "nothing written while it was locked";
}

TEST_F(SettingsDialog, OkStoresTheFieldsAsTypedAndKeepsEverythingElse)
{
    ConfigScope config("{\"last_input\": \"D:\\\\a.wav\", \"last_output\": \"E:\\\\\", \"zz_custom\": [1, 2], "
                       "\"ui_lang\": \"en\"}");
    start();
    const std::wstring longValue(1500, L'v');
    withSettingsDialog(window, [&](HWND dialog) {
        setItemText(dialog, IDC_EDIT_KEY_ID, L"  ");
        setItemText(dialog, IDC_EDIT_KEY_SECRET, L"secret with blanks ");
        setItemText(dialog, IDC_EDIT_APPKEY, longValue);
        setItemText(dialog, IDC_EDIT_REGION, L"cn-shanghai");
        setItemText(dialog, IDC_EDIT_BUCKET, L"桶");
        press(dialog, IDOK);
    });
    const AppConfig saved = AppConfig::parse(config.contents());
    EXPECT_EQ(saved["access_key_id"], "  ");
    EXPECT_EQ(saved["access_key_secret"], "secret with blanks ");
    EXPECT_EQ(saved["appkey"], std::string(1500, 'v')) << "read whole";
    EXPECT_EQ(saved["oss_bucket"], "桶");
    EXPECT_EQ(saved["ffmpeg_path"], "embedded") << "added because it was absent";
    EXPECT_EQ(saved["ui_lang"], "en");
    EXPECT_EQ(saved["last_input"], "D:\\a.wav");
    EXPECT_EQ(saved["last_output"], "E:\\");
    EXPECT_EQ(saved["zz_custom"], AppConfig::array({1, 2}));
    EXPECT_EQ(config.contents(), serializeConfig(saved)) << "sorted, indented by two";

    // A user's own ffmpeg_path survives another OK without changes.
    AppConfig withFfmpeg = saved;
    withFfmpeg["ffmpeg_path"] = "C:\\ffmpeg\\bin\\ffmpeg.exe";
    // So does a long value with a character beyond the BMP where a cut would fall.
    withFfmpeg["access_key_secret"] = std::string(1022, 's') + "\xF0\x9F\x98\x80" + std::string(3000, 't');
    writeBytes(ConfigScope::path(), serializeConfig(withFfmpeg));
    withSettingsDialog(window, [&](HWND dialog) { press(dialog, IDOK); }, IDM_ACCOUNT_SETTINGS);
    EXPECT_EQ(config.contents(), serializeConfig(withFfmpeg)) << "untouched values are written back byte for byte";
}

TEST_F(SettingsDialog, PickingALanguageTakesEffectOnlyWithOk)
{
    const std::string file = "{\"access_key_id\": \"a\", \"access_key_secret\": \"b\", \"appkey\": \"c\", "
                             "\"region\": \"d\", \"oss_bucket\": \"e\", \"ui_lang\": \"zh\"}";
    ConfigScope config(file);
    start();
    SetWindowTextW(mainState.controls[CTL_LABEL], L"kept");
    withSettingsDialog(window, [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_CMB_LANG, CB_SETCURSEL, 2, 0);
        press(dialog, IDCANCEL);
    });
    EXPECT_EQ(config.contents(), file);
    EXPECT_EQ(currentLanguage, 0);
    EXPECT_EQ(windowText(window), uiTextIn(0, T_APP_TITLE));

    withSettingsDialog(window, [&](HWND dialog) {
        SendDlgItemMessageW(dialog, IDC_CMB_LANG, CB_SETCURSEL, 2, 0);
        press(dialog, IDOK);
    });
    EXPECT_EQ(AppConfig::parse(config.contents())["ui_lang"], "ja");
    EXPECT_EQ(currentLanguage, 2);
    EXPECT_EQ(windowText(window), L"音声話者分離ツール");
    EXPECT_EQ(windowText(mainState.controls[CTL_OK]), L"開始");
    EXPECT_EQ(windowText(mainState.controls[CTL_LABEL]), L"kept");
    wchar_t menu[64] = {};
    GetMenuStringW(GetMenu(window), 0, menu, 64, MF_BYPOSITION);
    EXPECT_STREQ(menu, L"設定(&S)");

    withSettingsDialog(window, [&](HWND dialog) {
        EXPECT_EQ(textOf(dialog), L"アカウントと言語設定");
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_CMB_LANG, CB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(itemText(dialog, IDOK), L"OK");
        press(dialog, IDCANCEL);
    });
}

TEST_F(SettingsDialog, DuringARunTheMenuItemIsGreyAsTheButtonAndAModalBoxKeepsTheLogGrowing)
{
    ConfigScope config("{\"access_key_id\": \"a\", \"access_key_secret\": \"b\", \"appkey\": \"c\", "
                       "\"region\": \"d\", \"oss_bucket\": \"e\", \"ui_lang\": \"en\"}");
    start();
    TempFolder folder;
    writeBytes(folder.file(L"talk.wav"), "RIFF");
    SetEnvironmentVariableW(L"STANDIN_SCRIPT",
        L"text:one;sleep:300;text:two;sleep:300;text:three;sleep:300;text:four;sleep:300;text:five;exit:3");
    ASSERT_TRUE(launchRun(RunRequest{folder.file(L"talk.wav"), folder.file(L"out"), L"", 2, false}));
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", nullptr);
    const auto menuGrey = [] {
        return (GetMenuState(mainState.menu, IDM_ACCOUNT_SETTINGS, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    EXPECT_FALSE(IsWindowEnabled(mainState.controls[CTL_SETTINGS]));
    EXPECT_TRUE(menuGrey());
    applyUiLanguage();
    EXPECT_TRUE(menuGrey()) << "also in the menu a language switch rebuilds";
    PostMessageW(window, WM_COMMAND, IDM_ACCOUNT_SETTINGS, 0); // one that reaches the window anyway
    pumpPending();
    EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr) << "no dialog opens during a run";

    // The close question is modal, and the run's lines keep coming meanwhile.
    HWND log = mainState.controls[CTL_LOG];
    MessageBoxSeen question;
    bool grew = false;
    std::thread watcher([&] {
        question = waitForMessageBox(GetCurrentProcessId(), 20000);
        const size_t before = textOf(log).size();
        grew = waitUntil([&] { return textOf(log).size() > before; }, 5000);
        answerMessageBox(question, IDCANCEL);
    });
    SendMessageW(window, WM_CLOSE, 0, 0);
    watcher.join();
    EXPECT_EQ(question.text, uiText(T_ASK_EXIT));
    EXPECT_TRUE(grew) << "the log keeps growing";
    ASSERT_TRUE(pumpUntil([] { return !runState.running; }, 20000));
    const std::wstring text = windowText(log);
    EXPECT_NE(text.find(L"] five\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(fillPlaceholder(uiText(T_MSG_FAILED), L"3")), std::wstring::npos);
    EXPECT_FALSE(menuGrey()) << "and usable again after it";
}
