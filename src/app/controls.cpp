#include "app/controls.h"

#include "app/ids.h"
#include "app/layout.h"
#include "app/log_pane.h"
#include "app/queue_list.h"
#include "app/run_controller.h"
#include "util/dpi.h"
#include "util/tooltips.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace {

// Labels are no tab stops; the log and the link are, so the keyboard
// reaches everything a mouse can.
constexpr DWORD LABEL = WS_CHILD | WS_VISIBLE;
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
    {IDC_EDIT_LOG, L"EDIT", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
        WS_EX_CLIENTEDGE, 14, 172, 686, 330, -1, nullptr},
    {IDC_BTN_CANCEL, L"BUTTON", PUSH, 0, 490, 518, 100, 34, T_BTN_CANCEL, nullptr},
    {IDC_BTN_OK, L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 600, 518, 100, 34, T_BTN_OK,
        nullptr},
    {IDC_LINK_OFFICIAL, L"STATIC", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY, 0, 14, 520, 250, 22, -1, nullptr},
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
    // Where the engine goes, and the settings, queue and log files are.
    AppendMenuW(dropDown, MF_STRING, IDM_OPEN_PROGRAM_FOLDER, uiText(T_MENU_OPEN_PROGRAM_FOLDER));
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(dropDown), uiText(T_MENU_SETTINGS));
    // The queue's: stop after the running recording, and what the computer
    // does when the queue is done. Their states are set as they open.
    HMENU queue = CreatePopupMenu();
    HMENU whenDone = CreatePopupMenu();
    AppendMenuW(whenDone, MF_STRING, IDM_WHEN_DONE_NOTHING, uiText(T_MENU_DO_NOTHING));
    AppendMenuW(whenDone, MF_STRING, IDM_WHEN_DONE_SLEEP, uiText(T_MENU_SLEEP));
    AppendMenuW(whenDone, MF_STRING, IDM_WHEN_DONE_SHUT_DOWN, uiText(T_MENU_SHUT_DOWN));
    AppendMenuW(queue, MF_STRING, IDM_STOP_AFTER, uiText(T_MENU_STOP_AFTER));
    AppendMenuW(queue, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(queue, MF_POPUP, reinterpret_cast<UINT_PTR>(whenDone), uiText(T_MENU_WHEN_DONE));
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(queue), uiText(T_MENU_QUEUE));
    updateMenuStates(bar);
    SetMenu(mainState.mainWindow, bar);
    if (mainState.menu != nullptr) {
        DestroyMenu(mainState.menu);
    }
    mainState.menu = bar;
    DrawMenuBar(mainState.mainWindow);
}

} // namespace

void updateMenuStates(HMENU menu)
{
    if (menu == nullptr) {
        return;
    }
    EnableMenuItem(menu, IDM_ACCOUNT_SETTINGS, MF_BYCOMMAND | (runBusy() ? MF_GRAYED : MF_ENABLED));
    EnableMenuItem(menu, IDM_STOP_AFTER, MF_BYCOMMAND | (queueRunning() ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu, IDM_STOP_AFTER, MF_BYCOMMAND | (runState.queue.stopAfterThis ? MF_CHECKED : MF_UNCHECKED));
    const UINT chosen = runState.whenDone == WhenDone::Sleep ? IDM_WHEN_DONE_SLEEP
        : runState.whenDone == WhenDone::ShutDown           ? IDM_WHEN_DONE_SHUT_DOWN
                                                            : IDM_WHEN_DONE_NOTHING;
    CheckMenuRadioItem(menu, IDM_WHEN_DONE_NOTHING, IDM_WHEN_DONE_SHUT_DOWN, chosen, MF_BYCOMMAND);
}

namespace {

void rebuildTooltips()
{
    if (mainState.tooltip != nullptr) {
        DestroyWindow(mainState.tooltip);
        mainState.tooltip = nullptr;
    }
    mainState.tooltip = createTooltipWindow(mainState.mainWindow, mainState.instance);
    if (mainState.tooltip == nullptr) {
        return;
    }
    for (const TooltipRow& tool : TOOLTIP_TABLE) {
        addTooltip(mainState.tooltip, mainState.mainWindow, mainState.controls[tool.control], tipText(tool.tip));
    }
}

std::wstring controlText(HWND control)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Caption widths in the window's font, for the layout.
std::array<int, CONTROL_COUNT> captionWidths()
{
    std::array<int, CONTROL_COUNT> widths = {};
    HDC dc = GetDC(mainState.mainWindow);
    const HGDIOBJ previous = SelectObject(dc, mainState.font.get());
    for (const CaptionRow& caption : CAPTION_TABLE) {
        const std::wstring_view text = uiText(caption.text);
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
        widths[caption.control] = size.cx;
    }
    SelectObject(dc, previous);
    ReleaseDC(mainState.mainWindow, dc);
    return widths;
}

} // namespace

namespace {

// The link label works from the keyboard like a link: Enter or Space opens
// it, and a focus rectangle shows where the focus is.
LRESULT CALLBACK linkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    const auto opensLink = [](WPARAM key) { return key == VK_RETURN || key == VK_SPACE; };
    switch (message) {
    case WM_GETDLGCODE:
        if (const MSG* pending = reinterpret_cast<const MSG*>(lParam);
            pending != nullptr && pending->message == WM_KEYDOWN && opensLink(pending->wParam)) {
            return DLGC_WANTMESSAGE;
        }
        break;
    case WM_KEYDOWN:
        if (opensLink(wParam)) {
            SendMessageW(GetParent(link), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                reinterpret_cast<LPARAM>(link));
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(link, nullptr, TRUE);
        break;
    case WM_PAINT: {
        const LRESULT painted = DefSubclassProc(link, message, wParam, lParam);
        if (GetFocus() == link && (SendMessageW(link, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
            HDC dc = GetDC(link);
            RECT text = {};
            GetClientRect(link, &text);
            const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(link, WM_GETFONT, 0, 0)));
            const std::wstring caption = controlText(link);
            SIZE size = {};
            GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
            text.right = std::min<LONG>(text.right, size.cx + 2);
            text.bottom = std::min<LONG>(text.bottom, size.cy + 1);
            DrawFocusRect(dc, &text);
            SelectObject(dc, previous);
            ReleaseDC(link, dc);
        }
        return painted;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(link, linkProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(link, message, wParam, lParam);
}

// The client size at the window's first size for its DPI, with the frame it
// has now.
SIZE baseClientSize()
{
    // The non-client frame is what it is now; the first size is the DPI's.
    RECT outer = {};
    RECT client = {};
    GetWindowRect(mainState.mainWindow, &outer);
    GetClientRect(mainState.mainWindow, &client);
    const SIZE first = firstWindowSize(mainState.dpi);
    return SIZE{first.cx - ((outer.right - outer.left) - client.right),
        first.cy - ((outer.bottom - outer.top) - client.bottom)};
}

} // namespace

HFONT createUiFont(unsigned dpi)
{
    return CreateFontW(scaled(-12, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
        L"Microsoft YaHei UI");
}

void layoutMainWindow()
{
    if (mainState.mainWindow == nullptr) {
        return;
    }
    LayoutInput input;
    input.dpi = mainState.dpi;
    RECT client = {};
    GetClientRect(mainState.mainWindow, &client);
    input.client = SIZE{client.right, client.bottom};
    input.baseClient = baseClientSize();
    input.captionWidth = captionWidths();
    input.checkMarkWidth = systemMetric(SM_CXMENUCHECK, mainState.dpi) + scaled(LABEL_GAP, mainState.dpi);
    ControlPlaces places = layoutControls(input);
    if (HWND queueList = queueListWindow(); queueList != nullptr && IsWindowVisible(queueList)) {
        const RECT list = placeQueueList(places, mainState.dpi);
        SetWindowPos(queueList, nullptr, list.left, list.top, list.right - list.left, list.bottom - list.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (int index = 0; index < CONTROL_COUNT; ++index) {
        HWND control = mainState.controls[index];
        if (control == nullptr) {
            continue;
        }
        const RECT& place = places[index];
        SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(mainState.mainWindow, nullptr, TRUE);
}

void applyFont(HFONT font)
{
    for (int index = 0; index < CONTROL_COUNT; ++index) {
        if (HWND control = mainState.controls[index]; control != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
}

void createMainControls()
{
    mainState.font.reset(createUiFont(mainState.dpi));
    for (int index = 0; index < CONTROL_COUNT; ++index) {
        const ControlRow& row = CONTROL_TABLE[index];
        const int x = scaled(row.x, mainState.dpi);
        const int y = scaled(row.y, mainState.dpi);
        const int width = scaled(row.width, mainState.dpi);
        const int height = scaled(row.height, mainState.dpi);
        HWND control = nullptr;
        if (index == CTL_LOG) {
            // With no text limit, and the whole log kept beside it.
            const RECT place = {x, y, x + width, y + height};
            control = createLogPane(mainState.mainWindow, mainState.instance, row.exStyle, row.style, place, row.id);
        } else {
            control = CreateWindowExW(row.exStyle, row.className, initialText(row), row.style, x, y, width, height,
                mainState.mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), mainState.instance,
                nullptr);
        }
        mainState.controls[index] = control;
        if (control != nullptr && index == CTL_LINK && mainState.controls[CTL_LOG] != nullptr) {
            // Reading order: the link at the bottom left comes before Cancel and OK.
            SetWindowPos(control, mainState.controls[CTL_LOG], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        if (control != nullptr && mainState.font != nullptr) {
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(mainState.font.get()), TRUE);
        }
        if (control != nullptr && index == CTL_SPEAKERS) {
            fillSpeakersList(control);
        }
        if (control != nullptr && index == CTL_LINK) {
            SetWindowSubclass(control, linkProc, 0, 0);
        }
    }
}

void applyUiLanguage()
{
    SetWindowTextW(mainState.mainWindow, (queueTitlePrefix() + uiText(T_APP_TITLE)).c_str());
    for (const CaptionRow& caption : CAPTION_TABLE) {
        if (HWND control = mainState.controls[caption.control]; control != nullptr) {
            SetWindowTextW(control, uiText(caption.text));
        }
    }
    rebuildMenu();
    rebuildTooltips();
    relabelQueueList();
    layoutMainWindow();
}
