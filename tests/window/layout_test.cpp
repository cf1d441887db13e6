// The main window's layout as a user meets it: captions of every language
// whole, a window that grows, and a move to a screen of another DPI.
#include "app/controls.h"
#include "app/layout.h"
#include "app/queue_list.h"
#include "app/window_state.h"
#include "app/queue_controller.h"
#include "app/queue_list.h"
#include "support/config_scope.h"
#include "support/window_harness.h"
#include "text/catalogue.h"
#include "util/dpi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

RECT placeOf(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::array<RECT, CONTROL_COUNT> places()
{
    std::array<RECT, CONTROL_COUNT> all = {};
    for (int index = 0; index < CONTROL_COUNT; ++index) {
        all[index] = placeOf(mainState.controls[index]);
    }
    return all;
}

SIZE textSize(HWND control)
{
    const std::wstring text = windowText(control);
    HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size;
}

class Layout : public OpenWindowTest {
protected:
    ConfigScope config;
};

} // namespace

// Run at 96 DPI and, in a prefix of its own, at 144 DPI.
TEST_F(Layout, EveryCaptionIsWholeOnOneLineInEveryLanguage)
{
    const unsigned dpi = dpiOf(window);
    // Each label's text ends before the control that follows it on its row.
    const std::pair<ControlIndex, ControlIndex> rows[] = {{CTL_INPUT_LABEL, CTL_INPUT},
        {CTL_OUTPUT_LABEL, CTL_OUTPUT}, {CTL_LABEL_LABEL, CTL_LABEL}, {CTL_SPEAKERS_LABEL, CTL_SPEAKERS}};
    for (LanguageIndex language = 0; language < LANGUAGE_COUNT; ++language) {
        SCOPED_TRACE(LANGUAGES[language].code);
        currentLanguage = language;
        applyUiLanguage();
        pumpPending();
        RECT client;
        GetClientRect(window, &client);
        const std::array<RECT, CONTROL_COUNT> all = places();
        for (const CaptionRow& caption : CAPTION_TABLE) {
            SCOPED_TRACE(caption.control);
            const SIZE text = textSize(mainState.controls[caption.control]);
            const RECT& place = all[caption.control];
            const LONG width = place.right - place.left;
            if (caption.control == CTL_CLIPS) {
                EXPECT_LE(systemMetric(SM_CXMENUCHECK, dpi) + scaled(3, dpi) + text.cx, width);
            } else if (className(mainState.controls[caption.control]) == L"Button") {
                EXPECT_LE(text.cx + scaled(8, dpi), width) << "with room on both sides";
            } else {
                EXPECT_LE(text.cx, width) << "a label wraps what does not fit";
            }
            EXPECT_LE(text.cy, place.bottom - place.top);
        }
        for (const auto& [label, field] : rows) {
            EXPECT_LE(all[label].left + textSize(mainState.controls[label]).cx + scaled(4, dpi), all[field].left)
                << "the text does not touch its field";
        }
        for (int index = 0; index < CONTROL_COUNT; ++index) {
            SCOPED_TRACE(index);
            EXPECT_GE(all[index].left, 0);
            EXPECT_LE(all[index].right, client.right);
            EXPECT_LE(all[index].bottom, client.bottom);
            for (int other = index + 1; other < CONTROL_COUNT; ++other) {
                RECT overlap;
                EXPECT_FALSE(IntersectRect(&overlap, &all[index], &all[other])) << "overlaps control " << other;
            }
        }
    }
}

// Run at 96 DPI and at 144 DPI.
TEST_F(Layout, TheQueuesListTakesTheTopOfTheLogsRoom)
{
    const std::array<RECT, CONTROL_COUNT> before = places();
    addRecordingsNow({L"C:\\a.wav", L"C:\\b.wav"});
    refreshQueueList();
    ASSERT_NE(queueListWindow(), nullptr);
    const std::array<RECT, CONTROL_COUNT> after = places();
    const RECT list = placeOf(queueListWindow());
    EXPECT_EQ(list.top, before[CTL_LOG_LABEL].top);
    EXPECT_EQ(list.left, before[CTL_LOG].left);
    EXPECT_EQ(list.right, before[CTL_LOG].right);
    EXPECT_GE(list.bottom - list.top, scaled(90, dpiOf(window)));
    EXPECT_EQ(after[CTL_LOG].bottom, before[CTL_LOG].bottom) << "the log gives up its top";
    for (int index = 0; index < CONTROL_COUNT; ++index) {
        RECT overlap;
        EXPECT_FALSE(IntersectRect(&overlap, &list, &after[index])) << index;
    }
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(queueListWindow(), WM_GETFONT, 0, 0)), mainState.font.get());
    EXPECT_EQ(GetNextDlgTabItem(window, mainState.controls[CTL_SETTINGS], FALSE), queueListWindow())
        << "in reading order";

    removeQueueItems({0, 1});
    refreshQueueList();
    EXPECT_FALSE(IsWindowVisible(queueListWindow()));
    const std::array<RECT, CONTROL_COUNT> again = places();
    EXPECT_TRUE(EqualRect(&again[CTL_LOG], &before[CTL_LOG])) << "the log has its room back";
}

TEST_F(Layout, ALargerWindowGivesTheRoomToTheFieldsAndTheLog)
{
    const std::array<RECT, CONTROL_COUNT> before = places();
    RECT outer;
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top + 60,
        SWP_NOMOVE | SWP_NOZORDER);
    pumpUntil([&] { return placeOf(mainState.controls[CTL_LOG]).bottom == before[CTL_LOG].bottom + 60; }, 3000);
    const std::array<RECT, CONTROL_COUNT> after = places();
    const auto moved = [&](ControlIndex control, int dx, int dy) {
        RECT expected = before[control];
        OffsetRect(&expected, dx, dy);
        return EqualRect(&expected, &after[control]) != FALSE;
    };
    EXPECT_TRUE(moved(CTL_BROWSE_INPUT, 100, 0));
    EXPECT_TRUE(moved(CTL_BROWSE_OUTPUT, 100, 0));
    EXPECT_TRUE(moved(CTL_OK, 100, 60)) << "OK and Cancel stay at the bottom right";
    EXPECT_TRUE(moved(CTL_CANCEL, 100, 60));
    EXPECT_TRUE(moved(CTL_LINK, 0, 60)) << "the link at the bottom left";
    EXPECT_TRUE(moved(CTL_LABEL, 0, 0));
    EXPECT_TRUE(moved(CTL_SETTINGS, 0, 0));
    EXPECT_EQ(after[CTL_INPUT].right, before[CTL_INPUT].right + 100) << "the fields widen";
    EXPECT_EQ(after[CTL_OUTPUT].right, before[CTL_OUTPUT].right + 100);
    EXPECT_EQ(after[CTL_LOG].right, before[CTL_LOG].right + 100) << "the log grows both ways";
    EXPECT_EQ(after[CTL_LOG].bottom, before[CTL_LOG].bottom + 60);

    // No smaller than the first size; maximised, the log fills the room.
    MINMAXINFO limits = {};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, outer.right - outer.left);
    EXPECT_EQ(limits.ptMinTrackSize.y, outer.bottom - outer.top);
    RECT client;
    GetClientRect(window, &client);
    const LONG marginBelow = client.bottom - after[CTL_LOG].bottom;
    ShowWindow(window, SW_MAXIMIZE);
    pumpUntil([&] {
        GetClientRect(window, &client);
        return client.bottom - placeOf(mainState.controls[CTL_LOG]).bottom == marginBelow;
    }, 3000);
    GetClientRect(window, &client);
    EXPECT_EQ(client.bottom - placeOf(mainState.controls[CTL_LOG]).bottom, marginBelow);
    EXPECT_GT(placeOf(mainState.controls[CTL_LOG]).right, after[CTL_LOG].right);
}

TEST_F(Layout, AMoveToAScreenOfAnotherDpiScalesEverything)
{
    // To 150 %, or from there back to 100 %: both fit on the test's screen.
    const unsigned dpi = dpiOf(window) == 96 ? 144 : 96;
    RECT outer;
    GetWindowRect(window, &outer);
    const SIZE first = firstWindowSize(dpi);
    RECT suggested = {outer.left, outer.top, outer.left + first.cx, outer.top + first.cy};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    pumpUntil([&] { return placeOf(mainState.controls[CTL_LOG]).right == scaled(14 + 686, dpi); }, 3000);
    for (int index = 0; index < CONTROL_COUNT; ++index) {
        if (index == CTL_SPEAKERS) {
            continue; // a drop-down list sizes itself to its edit part
        }
        SCOPED_TRACE(index);
        const ControlRow& row = CONTROL_TABLE[index];
        const RECT place = placeOf(mainState.controls[index]);
        EXPECT_EQ(place.left, scaled(row.x, dpi));
        EXPECT_EQ(place.top, scaled(row.y, dpi));
        EXPECT_EQ(place.right - place.left, scaled(row.width, dpi));
        EXPECT_EQ(place.bottom - place.top, scaled(row.height, dpi));
    }
    LOGFONTW font = {};
    GetObjectW(mainState.font.get(), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, scaled(-12, dpi));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(mainState.controls[CTL_OK], WM_GETFONT, 0, 0)), mainState.font.get());

    // At 300 % the first size is larger than the screen: the window and its
    // smallest size keep to the work area, with OK and Cancel inside it.
    MONITORINFO monitor = {sizeof monitor};
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(288, 288), reinterpret_cast<LPARAM>(&work));
    pumpPending();
    MINMAXINFO limits = {};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_LE(limits.ptMinTrackSize.x, work.right - work.left);
    EXPECT_LE(limits.ptMinTrackSize.y, work.bottom - work.top);
    RECT client;
    GetClientRect(window, &client);
    for (const ControlIndex button : {CTL_OK, CTL_CANCEL}) {
        const RECT place = placeOf(mainState.controls[button]);
        EXPECT_LE(place.bottom, client.bottom) << button;
        EXPECT_GE(place.top, placeOf(mainState.controls[CTL_LOG]).top) << button;
    }
}
