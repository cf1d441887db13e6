#include "app/commands.h"
#include "app/controls.h"
#include "app/ids.h"
#include "app/window_state.h"
#include "support/config_scope.h"
#include "support/message_boxes.h"
#include "support/temp_folder.h"
#include "support/window_harness.h"
#include "config/config.h"
#include "app/queue_controller.h"
#include "util/tooltips.h"
#include "run/queue_file.h"
#include "util/dpi.h"
#include "util/handles.h"
#include "util/text.h"
#include "text/catalogue.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

class MainWindow : public WindowTest {
protected:
    HWND control(ControlIndex index) const { return mainState.controls[index]; }
};

RECT clientRectOf(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> tooltipWindowsOf(HWND owner)
{
    struct Search {
        HWND owner;
        std::vector<HWND> found;
    } search{owner, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM parameter) -> BOOL {
            auto* state = reinterpret_cast<Search*>(parameter);
            if (className(candidate) == TOOLTIPS_CLASSW && GetWindow(candidate, GW_OWNER) == state->owner) {
                state->found.push_back(candidate);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring menuText(HMENU menu, UINT item, UINT by)
{
    wchar_t text[256] = {};
    GetMenuStringW(menu, item, text, 256, by);
    return text;
}

std::wstring toolText(HWND tooltip, HWND owner, HWND control)
{
    wchar_t text[1024] = {};
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
    return text;
}

} // namespace

// Run at 96 DPI and, in a prefix of its own, at 144 DPI: every figure of
// the table is scaled by the screen's DPI.
TEST_F(MainWindow, ControlsFollowTheControlTable)
{
    ConfigScope config;
    CreationRecorder creations;
    start();
    const unsigned dpi = dpiOf(window);
    const auto at = [&](int value) { return MulDiv(value, static_cast<int>(dpi), 96); };
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, at(MAIN_WINDOW_WIDTH));
    EXPECT_EQ(outer.bottom - outer.top, at(MAIN_WINDOW_HEIGHT));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(className(window), MAIN_WINDOW_CLASS);
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0) << "the application icon";
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);

    const struct {
        const wchar_t* className;
        int id;
        DWORD style;
        DWORD exStyle;
        int x, y, width, height;
    } expected[CONTROL_COUNT] = {
        // Labels are no tab stops; the log and the link are.
        {L"STATIC", 0, 0x50000000, 0, 14, 17, 110, 20},
        {L"EDIT", 1008, 0x50810080, 0, 126, 14, 480, 24},
        {L"BUTTON", 1001, 0x50010000, 0, 616, 13, 84, 26},
        {L"STATIC", 0, 0x50000000, 0, 14, 49, 110, 20},
        {L"EDIT", 1009, 0x50810080, 0, 126, 46, 480, 24},
        {L"BUTTON", 1014, 0x50010000, 0, 616, 46, 84, 26},
        {L"STATIC", 0, 0x50000000, 0, 14, 81, 110, 20},
        {L"EDIT", 1010, 0x50810080, 0, 126, 78, 260, 24},
        {L"BUTTON", 1007, 0x50010003, 0, 400, 80, 250, 22},
        {L"STATIC", 0, 0x50000000, 0, 14, 113, 110, 20},
        {L"COMBOBOX", 1006, 0x50210003, 0, 126, 110, 70, 200},
        {L"BUTTON", 1004, 0x50010000, 0, 210, 110, 90, 26},
        {L"STATIC", 0, 0x50000000, 0, 14, 150, 90, 20},
        {L"EDIT", 1011, 0x50210844, WS_EX_CLIENTEDGE, 14, 172, 686, 330},
        {L"BUTTON", 1003, 0x50010000, 0, 490, 518, 100, 34},
        {L"BUTTON", 1002, 0x50010001, 0, 600, 518, 100, 34},
        {L"STATIC", 1013, 0x50010100, 0, 14, 520, 250, 22},
    };
    HFONT font = mainState.font.get();
    ASSERT_NE(font, nullptr);
    LOGFONTW logFont = {};
    GetObjectW(font, sizeof logFont, &logFont);
    EXPECT_STREQ(logFont.lfFaceName, L"Microsoft YaHei UI");
    EXPECT_EQ(logFont.lfHeight, at(-12));
    EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
    EXPECT_EQ(logFont.lfCharSet, DEFAULT_CHARSET);

    // Every control on the window's own thread (the tooltip window is no child).
    const std::vector<CreatedWindow> created = creations.childrenOf(window);
    ASSERT_EQ(created.size(), static_cast<size_t>(CONTROL_COUNT));
    for (int index = 0; index < CONTROL_COUNT; ++index) {
        SCOPED_TRACE(index);
        const CreatedWindow& made = created[index];
        HWND child = control(static_cast<ControlIndex>(index));
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(made.window, child) << "created in table order";
        EXPECT_EQ(_wcsicmp(made.className.c_str(), expected[index].className), 0) << made.className;
        EXPECT_EQ(made.id, expected[index].id);
        EXPECT_EQ(GetDlgCtrlID(child), expected[index].id);
        EXPECT_EQ(made.style, expected[index].style);
        EXPECT_EQ(made.exStyle, expected[index].exStyle);
        EXPECT_EQ(made.x, at(expected[index].x));
        EXPECT_EQ(made.y, at(expected[index].y));
        EXPECT_EQ(made.width, at(expected[index].width));
        EXPECT_EQ(made.height, at(expected[index].height));
        if (index != CTL_SPEAKERS) { // a drop-down list sizes itself to its edit part
            const RECT rect = clientRectOf(child);
            EXPECT_EQ(rect.left, at(expected[index].x));
            EXPECT_EQ(rect.top, at(expected[index].y));
            EXPECT_EQ(rect.right - rect.left, at(expected[index].width));
            EXPECT_EQ(rect.bottom - rect.top, at(expected[index].height));
        }
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), font);
    }

    HWND speakers = control(CTL_SPEAKERS);
    ASSERT_EQ(SendMessageW(speakers, CB_GETCOUNT, 0, 0), 9);
    for (int item = 0; item < 9; ++item) {
        wchar_t text[8] = {};
        SendMessageW(speakers, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), std::to_wstring(item + 2));
    }
    EXPECT_EQ(SendMessageW(speakers, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(control(CTL_CLIPS), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(windowText(control(CTL_OUTPUT)), L"outputs");
    EXPECT_EQ(windowText(control(CTL_INPUT)), L"");
    EXPECT_EQ(windowText(control(CTL_LABEL)), L"");
    EXPECT_EQ(SendMessageW(control(CTL_LOG), EM_GETLIMITTEXT, 0, 0), static_cast<LRESULT>(0xFFFFFFFFu))
        << "the log's limit is raised";

    RECT client;
    GetClientRect(window, &client);
    for (const ControlIndex button : {CTL_OK, CTL_CANCEL}) {
        const RECT place = clientRectOf(control(button));
        EXPECT_LE(place.right, client.right) << "wholly inside the client area";
        EXPECT_LE(place.bottom, client.bottom);
    }
}

TEST_F(MainWindow, EveryLanguageRelabelsTitleCaptionsMenuAndTooltips)
{
    ConfigScope config;
    start();
    // What the user has entered and the log must survive every switch.
    SetWindowTextW(control(CTL_INPUT), L"D:\\rec\\talk.mp4");
    SetWindowTextW(control(CTL_OUTPUT), L"E:\\");
    SetWindowTextW(control(CTL_LABEL), L"meeting");
    SendMessageW(control(CTL_SPEAKERS), CB_SETCURSEL, 5, 0);
    SendMessageW(control(CTL_CLIPS), BM_SETCHECK, BST_CHECKED, 0);
    const std::wstring log = windowText(control(CTL_LOG));
    ASSERT_FALSE(log.empty());

    for (LanguageIndex language = 0; language < LANGUAGE_COUNT; ++language) {
        SCOPED_TRACE(LANGUAGES[language].code);
        HMENU previousMenu = mainState.menu;
        currentLanguage = language;
        applyUiLanguage();
        pumpPending();

        EXPECT_EQ(windowText(window), uiTextIn(language, T_APP_TITLE));
        for (const CaptionRow& caption : CAPTION_TABLE) {
            EXPECT_EQ(windowText(control(caption.control)), uiTextIn(language, caption.text)) << caption.control;
        }

        HMENU bar = GetMenu(window);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar, mainState.menu);
        EXPECT_FALSE(IsMenu(previousMenu)) << "the old menu bar is destroyed";
        ASSERT_EQ(GetMenuItemCount(bar), 2);
        EXPECT_EQ(menuText(bar, 0, MF_BYPOSITION), uiTextIn(language, T_MENU_SETTINGS));
        HMENU dropDown = GetSubMenu(bar, 0);
        ASSERT_NE(dropDown, nullptr);
        ASSERT_EQ(GetMenuItemCount(dropDown), 2);
        EXPECT_EQ(GetMenuItemID(dropDown, 0), static_cast<UINT>(IDM_ACCOUNT_SETTINGS));
        EXPECT_EQ(menuText(dropDown, IDM_ACCOUNT_SETTINGS, MF_BYCOMMAND), uiTextIn(language, T_MENU_ACCOUNT));
        EXPECT_EQ(menuText(dropDown, IDM_OPEN_PROGRAM_FOLDER, MF_BYCOMMAND), uiTextIn(language, T_MENU_OPEN_PROGRAM_FOLDER));
        // The queue's: stop after this recording (grey while no queue runs)
        // and what the computer does when it is done, "do nothing" chosen.
        EXPECT_EQ(menuText(bar, 1, MF_BYPOSITION), uiTextIn(language, T_MENU_QUEUE));
        HMENU queue = GetSubMenu(bar, 1);
        ASSERT_NE(queue, nullptr);
        EXPECT_EQ(menuText(queue, IDM_STOP_AFTER, MF_BYCOMMAND), uiTextIn(language, T_MENU_STOP_AFTER));
        EXPECT_NE(GetMenuState(queue, IDM_STOP_AFTER, MF_BYCOMMAND) & MF_GRAYED, 0u);
        EXPECT_EQ(menuText(queue, 2, MF_BYPOSITION), uiTextIn(language, T_MENU_WHEN_DONE));
        HMENU whenDone = GetSubMenu(queue, 2);
        ASSERT_NE(whenDone, nullptr);
        for (const auto& [id, text] : {std::pair{IDM_WHEN_DONE_NOTHING, T_MENU_DO_NOTHING}, std::pair{IDM_WHEN_DONE_SLEEP, T_MENU_SLEEP},
                 std::pair{IDM_WHEN_DONE_SHUT_DOWN, T_MENU_SHUT_DOWN}}) {
            EXPECT_EQ(menuText(whenDone, id, MF_BYCOMMAND), uiTextIn(language, text));
            EXPECT_EQ((GetMenuState(whenDone, id, MF_BYCOMMAND) & MF_CHECKED) != 0, id == IDM_WHEN_DONE_NOTHING) << id;
        }

        const std::vector<HWND> tooltips = tooltipWindowsOf(window);
        ASSERT_EQ(tooltips.size(), 1u);
        HWND tooltip = tooltips.front();
        EXPECT_EQ(tooltip, mainState.tooltip);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(tooltip, GWL_STYLE)) & 0x80000003u, 0x80000003u);
        EXPECT_EQ(SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), TOOLTIP_MAX_WIDTH);
        ASSERT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), MAIN_TOOLTIP_COUNT);
        for (int index = 0; index < MAIN_TOOLTIP_COUNT; ++index) {
            TOOLINFOW tool = {};
            tool.cbSize = sizeof tool;
            wchar_t text[1024] = {};
            tool.lpszText = text;
            ASSERT_TRUE(SendMessageW(tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&tool)));
            EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(control(TOOLTIP_TABLE[index].control))) << index;
            EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
            EXPECT_EQ(toolText(tooltip, window, control(TOOLTIP_TABLE[index].control)),
                tipTextIn(language, TOOLTIP_TABLE[index].tip));
        }
        EXPECT_EQ(toolText(tooltip, window, control(CTL_BROWSE_INPUT)), L"") << "no tooltip on the input Browse";

        EXPECT_EQ(windowText(control(CTL_INPUT)), L"D:\\rec\\talk.mp4");
        EXPECT_EQ(windowText(control(CTL_OUTPUT)), L"E:\\");
        EXPECT_EQ(windowText(control(CTL_LABEL)), L"meeting");
        EXPECT_EQ(SendMessageW(control(CTL_SPEAKERS), CB_GETCURSEL, 0, 0), 5);
        EXPECT_EQ(SendMessageW(control(CTL_SPEAKERS), CB_GETCOUNT, 0, 0), 9);
        EXPECT_EQ(SendMessageW(control(CTL_CLIPS), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(windowText(control(CTL_LOG)), log);
    }
}

TEST_F(MainWindow, ASettingsFileThatWasResetIsToldOnceInTheLog)
{
    ConfigScope config("{\"ui_lang\": 5, \"appkey\": \"kept\"}");
    start();
    const std::wstring told = fillPlaceholder(uiTextIn(0, T_LOG_CONFIG_RESET), ConfigScope::path() + L".bak");
    EXPECT_NE(windowText(control(CTL_LOG)).find(told), std::wstring::npos);
    EXPECT_NE(config.contents().find("kept"), std::string::npos);
    closeMainWindow(window);
    window = nullptr;
    start();
    EXPECT_EQ(windowText(control(CTL_LOG)).find(told), std::wstring::npos) << "told once";
}

TEST_F(MainWindow, MissingConfigurationStartsInChineseAndWritesTheDefaults)
{
    ConfigScope config;
    start();
    EXPECT_EQ(windowText(window), L"多人语音分离工具");
    EXPECT_EQ(windowText(control(CTL_OK)), L"确认");
    EXPECT_EQ(config.contents().size(), 193u);
    EXPECT_EQ(windowText(control(CTL_INPUT)), L"");
    EXPECT_EQ(windowText(control(CTL_OUTPUT)), L"outputs");
    // The log starts with the hint, stamped.
    const std::wstring log = windowText(control(CTL_LOG));
    ASSERT_EQ(log.size(), 11 + std::wstring(uiTextIn(0, T_MSG_HINT)).size() + 2);
    EXPECT_EQ(log.substr(11), std::wstring(uiTextIn(0, T_MSG_HINT)) + L"\r\n");
}

TEST_F(MainWindow, RestoresTheLastPathsAndTheLanguageFromTheFile)
{
    TempFolder folder;
    const std::wstring recording = folder.file(L"会议 录音.wav");
    writeBytes(recording, "RIFF");
    AppConfig file = {{"ui_lang", "en"}, {"last_input", wideToUtf8(recording)},
        {"last_output", wideToUtf8(L"Q:\\nowhere\\结果")}, {"last_speakers", 7}, {"last_clips", true}};
    ConfigScope config(file.dump());
    start();
    EXPECT_EQ(windowText(window), L"Zozediv Uzuvurodaz Ered");
    EXPECT_EQ(windowText(control(CTL_OK)), L"OK");
    EXPECT_EQ(windowText(control(CTL_INPUT)), recording);
    EXPECT_EQ(windowText(control(CTL_OUTPUT)), L"Q:\\nowhere\\结果") << "shown even though it does not exist";
    EXPECT_EQ(windowText(control(CTL_SPEAKERS)), L"7") << "the last run's choices";
    EXPECT_EQ(SendMessageW(control(CTL_CLIPS), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(config.contents(), file.dump()) << "starting does not rewrite a usable file";

    // Yesterday's recording was not chosen for today's queue.
    const std::vector<std::wstring> dropped = {folder.file(L"a.wav"), folder.file(L"b.wav")};
    for (const std::wstring& path : dropped) {
        writeBytes(path, "RIFF");
    }
    takeRecordings(dropped, false);
    ASSERT_TRUE(pumpUntil([] { return !runQueue.items.empty(); }));
    ASSERT_EQ(runQueue.items.size(), 2u);
    EXPECT_EQ(runQueue.items[0].path, dropped[0]);
}

TEST_F(MainWindow, ASavedQueueInUseAtStartIsNeverWrittenOverAndJoinsOnceItCanBeRead)
{
    ConfigScope config("{\"ui_lang\": \"en\"}");
    TempFolder folder;
    RunQueue saved;
    addToQueue(saved, {folder.file(L"saved.wav")});
    const std::string savedBytes = queueToJson(saved);
    writeBytes(queueFilePath(), savedBytes);
    UniqueHandle lock(adoptHandle(
        CreateFileW(queueFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    ASSERT_NE(lock, nullptr);
    start();
    EXPECT_NE(windowText(control(CTL_LOG)).find(fillPlaceholder(uiTextIn(1, T_LOG_QUEUE_UNREAD), queueFilePath())),
        std::wstring::npos);
    const std::vector<std::wstring> dropped = {folder.file(L"a.wav"), folder.file(L"b.wav")};
    for (const std::wstring& path : dropped) {
        writeBytes(path, "RIFF");
    }
    takeRecordings(dropped, false);
    ASSERT_TRUE(pumpUntil([] { return runQueue.items.size() == 2; }));
    lock.reset();
    EXPECT_EQ(readBytes(queueFilePath()), savedBytes) << "not written over while it could not be read";

    // Once it can be read it is taken in (tried now and then), at the
    // latest when the window closes: its recording leads, nothing is lost,
    // not even a drop whose reading has not come back yet, nor one whose
    // box about an empty folder is open as the window closes.
    writeBytes(folder.file(L"c.wav"), "RIFF");
    CreateDirectoryW(folder.file(L"empty").c_str(), nullptr);
    CreateDirectoryW(folder.file(L"more").c_str(), nullptr);
    writeBytes(folder.file(L"more\\d.wav"), "RIFF");
    std::thread closer([this] {
        if (waitForMessageBox(GetCurrentProcessId(), 30000, window).box != nullptr) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
    });
    takeRecordings({folder.file(L"empty"), folder.file(L"more")}, true);
    takeRecordings({folder.file(L"c.wav")}, true);
    const bool closed = pumpUntil([&] { return !IsWindow(window); }, 30000);
    closer.join();
    ASSERT_TRUE(closed);
    window = nullptr;
    const std::optional<SavedQueue> kept = queueFromJson(readBytes(queueFilePath()));
    ASSERT_TRUE(kept);
    ASSERT_EQ(kept->queue.items.size(), 5u);
    EXPECT_EQ(kept->queue.items[0].path, folder.file(L"saved.wav"));
    EXPECT_EQ(kept->queue.items[2].path, dropped[1]);
    EXPECT_TRUE(std::any_of(kept->queue.items.begin(), kept->queue.items.end(),
        [&](const QueueItem& item) { return item.path == folder.file(L"more\\d.wav"); }));
    EXPECT_TRUE(std::any_of(kept->queue.items.begin(), kept->queue.items.end(),
        [&](const QueueItem& item) { return item.path == folder.file(L"c.wav"); }));

    // A lock left behind that nobody holds (read-only here) keeps nobody
    // from the queue: the next window keeps it, with all five.
    writeBytes(queueLockPath(), "0 0\r\n");
    SetFileAttributesW(queueLockPath().c_str(), FILE_ATTRIBUTE_READONLY);
    start();
    EXPECT_TRUE(queueFileKept());
    EXPECT_EQ(runQueue.items.size(), 5u);
    closeMainWindow(window);
    window = nullptr;
    EXPECT_FALSE(fileExists(queueLockPath())) << "the claim goes with the window";
}

TEST_F(MainWindow, ForgetsALastInputThatNoLongerExists)
{
    ConfigScope config("{\"last_input\": \"C:\\\\gone\\\\talk.mp4\", \"last_output\": \"\", \"ui_lang\": \"de\"}");
    start();
    EXPECT_EQ(windowText(window), L"Sprecher-Trennung");
    EXPECT_EQ(windowText(control(CTL_INPUT)), L"");
    EXPECT_EQ(windowText(control(CTL_OUTPUT)), L"outputs");
}

TEST_F(MainWindow, MembersOfAnotherTypeAreTreatedAsAbsent)
{
    ConfigScope config("{\"last_input\": 7, \"last_output\": [\"x\"], \"ui_lang\": \"ko\", \"last_speakers\": 11, "
                       "\"last_clips\": 1}");
    start();
    EXPECT_EQ(windowText(window), L"화자 분리 도구");
    EXPECT_EQ(windowText(control(CTL_INPUT)), L"");
    EXPECT_EQ(windowText(control(CTL_OUTPUT)), L"outputs");
    EXPECT_EQ(windowText(control(CTL_SPEAKERS)), L"2") << "out of range";
    EXPECT_EQ(SendMessageW(control(CTL_CLIPS), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(MainWindow, LinkLabelIsDrawnAsALinkWithTheHandCursor)
{
    ConfigScope config;
    start();
    HDC dc = GetDC(window);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    const LRESULT brush = SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(control(CTL_LINK)));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 102, 204));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(control(CTL_INPUT_LABEL)));
    EXPECT_NE(GetTextColor(dc), RGB(0, 102, 204)) << "other labels keep the default colours";
    ReleaseDC(window, dc);

    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(control(CTL_LINK)),
                  MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
        TRUE);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(control(CTL_INPUT_LABEL)),
        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(MainWindow, ClosingWhileIdleEndsTheLoopWithExitCodeZero)
{
    ConfigScope config;
    start();
    PostMessageW(window, WM_CLOSE, 0, 0);
    pumpUntil([&] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window)) << "no question while idle";
    EXPECT_EQ(closeMainWindow(window), 0);
    EXPECT_EQ(mainState.font, nullptr);
    window = nullptr;
}

TEST_F(MainWindow, CancelWhileIdleClosesTheWindow)
{
    ConfigScope config;
    start();
    SendMessageW(control(CTL_CANCEL), BM_CLICK, 0, 0);
    pumpUntil([&] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(closeMainWindow(window), 0);
    window = nullptr;
}

TEST_F(MainWindow, ShiftTabGoesBackThroughTheButtonsAndTheLink)
{
    ConfigScope config;
    start();
    SetForegroundWindow(window);
    SetFocus(control(CTL_INPUT));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    for (const ControlIndex next : {CTL_OK, CTL_CANCEL, CTL_LINK}) {
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        pumpPending();
        EXPECT_EQ(GetFocus(), control(next)) << next;
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}
