#include "app/commands.h"

#include "app/ids.h"
#include "app/window_state.h"
#include "config/config.h"
#include "run/launch.h"
#include "run/run_state.h"
#include "settings/settings_dialog.h"
#include "text/catalogue.h"
#include "text/log_pane.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

namespace {

// Cut at bufferSize - 1 units, as the fields' read limits say.
std::wstring fieldText(ControlIndex control, int bufferSize)
{
    std::wstring text(static_cast<size_t>(bufferSize), L'\0');
    const int length = GetWindowTextW(mainState.controls[control], text.data(), bufferSize);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

// The filter names are the same in every UI language.
constexpr wchar_t INPUT_FILTER[] =
    L"音频/视频文件 (*.mp3;*.wav;*.mp4;*.mkv;*.mov;*.flv;*.m4a;*.aac;*.wma;*.avi)\0"
    L"*.mp3;*.wav;*.mp4;*.mkv;*.mov;*.flv;*.m4a;*.aac;*.wma;*.avi\0"
    L"所有文件 (*.*)\0"
    L"*.*\0";

void chooseInputFile()
{
    wchar_t file[260] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainState.mainWindow;
    dialog.lpstrFilter = INPUT_FILTER;
    dialog.lpstrFile = file;
    dialog.nMaxFile = 260;
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (GetOpenFileNameW(&dialog)) {
        SetWindowTextW(mainState.controls[CTL_INPUT], file);
    }
}

void chooseOutputFolder()
{
    BROWSEINFOW browse = {};
    browse.hwndOwner = mainState.mainWindow;
    browse.lpszTitle = uiText(T_LBL_OUTPUT);
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse);
    if (item == nullptr) {
        return;
    }
    wchar_t folder[260] = {};
    if (SHGetPathFromIDListW(item, folder)) {
        SetWindowTextW(mainState.controls[CTL_OUTPUT], folder);
    }
    CoTaskMemFree(item);
}

void cancelOrClose()
{
    if (runState.running && runState.process != nullptr) {
        terminateRun();
        appendLog(uiText(T_MSG_CANCELLING));
        return;
    }
    PostMessageW(mainState.mainWindow, WM_CLOSE, 0, 0);
}

} // namespace

void startRunFromWindow()
{
    const std::wstring input = fieldText(CTL_INPUT, 260);
    const std::wstring output = fieldText(CTL_OUTPUT, 512);
    const std::wstring label = fieldText(CTL_LABEL, 256);
    const int speakerIndex = static_cast<int>(SendMessageW(mainState.controls[CTL_SPEAKERS], CB_GETCURSEL, 0, 0));
    const int checkState = static_cast<int>(SendMessageW(mainState.controls[CTL_CLIPS], BM_GETCHECK, 0, 0));
    launchRun(makeRunRequest(input, output, label, speakerIndex, checkState));
}

void setBusy(bool busy)
{
    static constexpr ControlIndex RUN_INPUTS[] = {
        CTL_OK, CTL_BROWSE_INPUT, CTL_SETTINGS, CTL_INPUT, CTL_OUTPUT, CTL_LABEL, CTL_SPEAKERS, CTL_CLIPS,
    };
    for (const ControlIndex control : RUN_INPUTS) {
        EnableWindow(mainState.controls[control], busy ? FALSE : TRUE);
    }
}

bool handleCommand(WORD id, WORD notification)
{
    switch (id) {
    case IDC_BTN_BROWSE_INPUT:
        chooseInputFile();
        return true;
    case IDC_BTN_BROWSE_OUTPUT:
        chooseOutputFolder();
        return true;
    case IDC_BTN_OK:
        startRunFromWindow();
        return true;
    case IDC_BTN_CANCEL:
        cancelOrClose();
        return true;
    case IDC_BTN_SETTINGS:
    case IDM_ACCOUNT_SETTINGS:
        openSettingsDialog();
        return true;
    case IDC_LINK_OFFICIAL:
        if (notification == STN_CLICKED) {
            ShellExecuteW(nullptr, L"open", OFFICIAL_PAGE_URL, nullptr, nullptr, SW_SHOWNORMAL);
        }
        return true;
    default:
        return false;
    }
}
