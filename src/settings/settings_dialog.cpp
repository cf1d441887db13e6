#include "settings/settings_dialog.h"

#include "run/engine_contract.h"
#include "run/run_request.h"
#include "settings/settings_ids.h"
#include "util/app_icon.h"
#include "util/dpi.h"
#include "util/files.h"
#include "util/text.h"
#include "util/tooltips.h"

#include <commctrl.h>

namespace {

constexpr int FIELD_IDS[5] = {IDC_EDIT_KEY_ID, IDC_EDIT_KEY_SECRET, IDC_EDIT_APPKEY, IDC_EDIT_REGION, IDC_EDIT_BUCKET};

struct DialogCaption {
    int id;
    TextId text;
};

constexpr DialogCaption DIALOG_CAPTIONS[] = {
    {IDC_LBL_KEY_ID, T_DLG_KEY_ID},
    {IDC_LBL_KEY_SECRET, T_DLG_KEY_SECRET},
    {IDC_LBL_APPKEY, T_DLG_APPKEY},
    {IDC_LBL_REGION, T_DLG_REGION},
    {IDC_LBL_BUCKET, T_DLG_BUCKET},
    {IDC_LBL_LANG, T_DLG_LANG},
    {IDC_LBL_NOTE, T_DLG_NOTE},
    {IDOK, T_DLG_OK},
    {IDCANCEL, T_DLG_CANCEL},
};

struct DialogTool {
    int id;
    TipId tip;
};

constexpr DialogTool DIALOG_TOOLS[] = {
    {IDC_EDIT_KEY_ID, TIP_KEY_ID},
    {IDC_EDIT_KEY_SECRET, TIP_KEY_SECRET},
    {IDC_EDIT_APPKEY, TIP_APPKEY},
    {IDC_EDIT_REGION, TIP_REGION},
    {IDC_EDIT_BUCKET, TIP_BUCKET},
    {IDC_CMB_LANG, TIP_LANG},
};

// The dialog's own icons: the main window replaces its own when its DPI
// changes, which may happen while the dialog is open.
AppIcons dialogIcons;

// What opened the dialog: the program's instance, and what puts a newly
// chosen language on the owner.
struct DialogHost {
    HINSTANCE instance = nullptr;
    void (*languageApplied)() = nullptr;
};
DialogHost host;

// What the dialog showed when it opened, to tell what the user changed.
struct ShownValues {
    std::array<std::wstring, 5> fields;
    LanguageIndex language = 0;
};
ShownValues shown;

INT_PTR onInitDialog(HWND dialog)
{
    dialogIcons = loadAppIcons(host.instance, dpiOf(dialog));
    setWindowIcons(dialog, dialogIcons);
    SetWindowTextW(dialog, uiText(T_DLG_TITLE));
    for (const DialogCaption& caption : DIALOG_CAPTIONS) {
        SetDlgItemTextW(dialog, caption.id, uiText(caption.text));
    }
    HWND languages = GetDlgItem(dialog, IDC_CMB_LANG);
    for (const LanguageInfo& language : LANGUAGES) {
        SendMessageW(languages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(language.displayName));
    }
    SendMessageW(languages, CB_SETCURSEL, static_cast<WPARAM>(currentLanguage), 0);

    // Owned by the dialog and destroyed with it; its handle is not kept.
    if (HWND tooltip = createTooltipWindow(dialog, host.instance); tooltip != nullptr) {
        for (const DialogTool& tool : DIALOG_TOOLS) {
            addTooltip(tooltip, dialog, GetDlgItem(dialog, tool.id), tipText(tool.tip));
        }
    }
    for (size_t index = 0; index < 5; ++index) {
        // A member of another type shows an empty field.
        shown.fields[index] = utf8ToWide(configText(settingsConfig, ACCOUNT_KEYS[index]));
        SetDlgItemTextW(dialog, FIELD_IDS[index], shown.fields[index].c_str());
    }
    shown.language = currentLanguage;
    return TRUE;
}

INT_PTR onOk(HWND dialog)
{
    std::array<std::string, 5> values;
    AccountChanges changes;
    for (size_t index = 0; index < 5; ++index) {
        HWND field = GetDlgItem(dialog, FIELD_IDS[index]);
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
        const int length = GetWindowTextW(field, text.data(), static_cast<int>(text.size()));
        text.resize(length > 0 ? static_cast<size_t>(length) : 0);
        values[index] = wideToUtf8(text);
        // Only what the user changed here is written: another window, a
        // sync tool or an editor may have changed the rest meanwhile. (An
        // unchanged value also keeps its bytes, which need not be UTF-8.)
        if (text != shown.fields[index]) {
            changes.values[index] = values[index];
        }
    }
    if (!accountComplete(values)) {
        showMessage(dialog, T_ERR_DLG_EMPTY, MB_OK | MB_ICONWARNING);
        return TRUE;
    }
    const int position = static_cast<int>(SendDlgItemMessageW(dialog, IDC_CMB_LANG, CB_GETCURSEL, 0, 0));
    if (std::max(position, 0) != shown.language) {
        changes.languagePosition = position;
    }
    std::optional<LanguageIndex> language;
    std::optional<AppConfig> saved =
        updateConfig([&](AppConfig& config) { language = applyAccountSettings(config, changes); });
    if (!saved) {
        // Nothing changes until the values are really stored: the dialog
        // stays open with everything typed, the window keeps its language.
        std::string ignored;
        const bool inUse = readWholeFile(configFilePath(), ignored) == ReadResult::Locked;
        showMessage(dialog, inUse ? T_ERR_CONFIG_IN_USE : T_ERR_SAVE_CONFIG, configFilePath(), MB_OK | MB_ICONWARNING);
        return TRUE;
    }
    settingsConfig = std::move(*saved);
    if (language) {
        currentLanguage = *language;
    }
    if (host.languageApplied != nullptr) {
        host.languageApplied();
    }
    EndDialog(dialog, IDOK);
    return TRUE;
}

} // namespace

std::optional<LanguageIndex> applyAccountSettings(AppConfig& config, const AccountChanges& changes)
{
    for (size_t index = 0; index < 5; ++index) {
        if (changes.values[index]) {
            config[ACCOUNT_KEYS[index]] = *changes.values[index];
        }
    }
    std::optional<LanguageIndex> language;
    if (const std::optional<int> position = changes.languagePosition) {
        language = *position >= 0 && *position < LANGUAGE_COUNT ? *position : 0;
        config["ui_lang"] = LANGUAGES[*language].code;
    }
    if (!config.contains("ffmpeg_path")) {
        config["ffmpeg_path"] = "embedded";
    }
    return language;
}

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            return onOk(dialog);
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        dialogIcons = AppIcons{};
        return FALSE;
    default:
        return FALSE;
    }
}

void openSettingsDialog(HINSTANCE instance, HWND owner, void (*languageApplied)())
{
    LoadedConfig loaded = loadConfigReport();
    if (loaded.problem == ConfigProblem::InUse) {
        // Five empty fields would invite overwriting values that are only out of reach.
        showMessage(owner, T_ERR_CONFIG_IN_USE, configFilePath(), MB_OK | MB_ICONWARNING);
        return;
    }
    settingsConfig = std::move(loaded.config);
    host = DialogHost{instance, languageApplied};
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), owner, settingsDialogProc, 0);
}
