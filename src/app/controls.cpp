#include "app/controls.h"

#include "app/ids.h"
#include "text/log_pane.h"

#include <commctrl.h>

#include <string>

#ifdef _WIN64
static_assert(sizeof(TOOLINFOW) == 72, "tools are registered with the full record");
#endif

namespace {

constexpr DWORD LABEL = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD FIELD = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD PUSH = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

} // namespace

const ControlRow CONTROL_TABLE[CONTROL_COUNT] = {
    {0, L"STATIC", LABEL, 0, 14, 17, 110, 20, -1, nullptr},
    {IDC_EDIT_INPUT, L"EDIT", FIELD, 0, 126, 14, 480, 24, -1, nullptr},
    {IDC_BTN_BROWSE_INPUT, L"BUTTON", PUSH, 0, 616, 13, 84, 26, T_BTN_BROWSE, nullptr},
    {0, L"STATIC", LABEL, 0, 14, 49, 110, 20, -1, nullptr},
    {IDC_EDIT_OUTPUT, L"EDIT", FIELD, 0, 126, 46, 480, 24, -1, L"outputs"},
    {IDC_BTN_BROWSE_OUTPUT, L"BUTTON", PUSH, 0, 616, 46, 84, 26, T_BTN_BROWSE, nullptr},
    {0, L"STATIC", LABEL, 0, 14, 81, 110, 20, -1, nullptr},
    {IDC_EDIT_LABEL, L"EDIT", FIELD, 0, 126, 78, 260, 24, -1, nullptr},
    {IDC_CHK_CLIPS, L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 400, 80, 250, 22, -1, nullptr},
    {0, L"STATIC", LABEL, 0, 14, 113, 110, 20, -1, nullptr},
    {IDC_CMB_SPEAKERS, L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 0,
        126, 110, 70, 200, -1, nullptr},
    {IDC_BTN_SETTINGS, L"BUTTON", PUSH, 0, 210, 110, 90, 26, T_BTN_SETTINGS, nullptr},
    {0, L"STATIC", LABEL, 0, 14, 150, 90, 20, -1, nullptr},
    {IDC_EDIT_LOG, L"EDIT", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
        WS_EX_CLIENTEDGE, 14, 172, 686, 330, -1, nullptr},
    {IDC_BTN_CANCEL, L"BUTTON", PUSH, 0, 490, 518, 100, 34, T_BTN_CANCEL, nullptr},
    {IDC_BTN_OK, L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 600, 518, 100, 34, T_BTN_OK,
        nullptr},
    {IDC_LINK_OFFICIAL, L"STATIC", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 14, 520, 250, 22, -1, nullptr},
};

const CaptionRow CAPTION_TABLE[CAPTION_COUNT] = {
    {CTL_INPUT_LABEL, T_LBL_INPUT},
    {CTL_OUTPUT_LABEL, T_LBL_OUTPUT},
    {CTL_LABEL_LABEL, T_LBL_LABEL},
    {CTL_SPEAKERS_LABEL, T_LBL_SPEAKERS},
    {CTL_LOG_LABEL, T_LBL_LOG},
    {CTL_BROWSE_INPUT, T_BTN_BROWSE},
    {CTL_BROWSE_OUTPUT, T_BTN_BROWSE},
    {CTL_SETTINGS, T_BTN_SETTINGS},
    {CTL_CLIPS, T_CHK_CLIPS},
    {CTL_OK, T_BTN_OK},
    {CTL_CANCEL, T_BTN_CANCEL},
    {CTL_LINK, T_LINK_OFFICIAL},
};

const TooltipRow TOOLTIP_TABLE[MAIN_TOOLTIP_COUNT] = {
    {CTL_INPUT_LABEL, TIP_INPUT},
    {CTL_INPUT, TIP_INPUT},
    {CTL_OUTPUT_LABEL, TIP_OUTPUT},
    {CTL_OUTPUT, TIP_OUTPUT},
    {CTL_BROWSE_OUTPUT, TIP_OUTPUT},
    {CTL_LABEL_LABEL, TIP_LABEL},
    {CTL_LABEL, TIP_LABEL},
    {CTL_SPEAKERS_LABEL, TIP_SPEAKERS},
    {CTL_SPEAKERS, TIP_SPEAKERS},
    {CTL_CLIPS, TIP_CLIPS},
    {CTL_OK, TIP_OK},
    {CTL_CANCEL, TIP_CANCEL},
    {CTL_SETTINGS, TIP_SETTINGS},
};

namespace {

const wchar_t* initialText(const ControlRow& row)
{
    if (row.fixedText != nullptr) {
        return row.fixedText;
    }
    return row.chineseTextId >= 0 ? uiTextIn(0, static_cast<TextId>(row.chineseTextId)) : L"";
}

void fillSpeakersList(HWND list)
{
    for (int count = FIRST_SPEAKER_COUNT; count <= LAST_SPEAKER_COUNT; ++count) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(count).c_str()));
    }
    SendMessageW(list, CB_SETCURSEL, 0, 0);
}

void rebuildMenu()
{
    HMENU bar = CreateMenu();
    HMENU dropDown = CreatePopupMenu();
    AppendMenuW(dropDown, MF_STRING, IDM_ACCOUNT_SETTINGS, uiText(T_MENU_ACCOUNT));
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(dropDown), uiText(T_MENU_SETTINGS));
    SetMenu(mainState.mainWindow, bar);
    if (mainState.menu != nullptr) {
        DestroyMenu(mainState.menu);
    }
    mainState.menu = bar;
    DrawMenuBar(mainState.mainWindow);
}

void rebuildTooltips()
{
    if (mainState.tooltip != nullptr) {
        DestroyWindow(mainState.tooltip);
        mainState.tooltip = nullptr;
    }
    mainState.tooltip = createTooltipWindow(mainState.mainWindow);
    if (mainState.tooltip == nullptr) {
        return;
    }
    for (const TooltipRow& tool : TOOLTIP_TABLE) {
        addTooltip(mainState.tooltip, mainState.mainWindow, mainState.controls[tool.control], tipText(tool.tip));
    }
}

} // namespace

void createMainControls()
{
    mainState.font.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
        L"Microsoft YaHei UI"));
    for (int index = 0; index < CONTROL_COUNT; ++index) {
        const ControlRow& row = CONTROL_TABLE[index];
        if (index == CTL_LOG) {
            // On its own thread, with its font and no text limit.
            const RECT place = {row.x, row.y, row.x + row.width, row.y + row.height};
            mainState.controls[index] = createLogPane(mainState.mainWindow, mainState.instance, row.exStyle,
                row.style, place, row.id, mainState.font.get());
            continue;
        }
        const wchar_t* text = initialText(row);
        HWND control = CreateWindowExW(row.exStyle, row.className, text, row.style, row.x, row.y, row.width,
            row.height, mainState.mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
            mainState.instance, nullptr);
        mainState.controls[index] = control;
        if (control != nullptr && mainState.font != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(mainState.font.get()), TRUE);
        }
        if (control != nullptr && index == CTL_SPEAKERS) {
            fillSpeakersList(control);
        }
    }
}

HWND createTooltipWindow(HWND owner)
{
    HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, mainState.instance, nullptr);
    if (tooltip != nullptr) {
        SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, TOOLTIP_MAX_WIDTH);
    }
    return tooltip;
}

void addTooltip(HWND tooltip, HWND owner, HWND control, const wchar_t* text)
{
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void applyUiLanguage()
{
    SetWindowTextW(mainState.mainWindow, uiText(T_APP_TITLE));
    for (const CaptionRow& caption : CAPTION_TABLE) {
        if (HWND control = mainState.controls[caption.control]; control != nullptr) {
            SetWindowTextW(control, uiText(caption.text));
        }
    }
    rebuildMenu();
    rebuildTooltips();
}
