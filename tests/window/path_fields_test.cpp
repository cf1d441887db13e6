// Paths reaching the input and output fields: files dropped onto the main
// window (in a WM_DROPFILES built as the shell builds it) and the pickers.
#include "app/window_state.h"
#include "app/commands.h"
#include "app/queue_controller.h"
#include "app/queue_list.h"
#include "app/run_controller.h"
#include "run/queue_file.h"
#include "app/ids.h"
#include "support/config_scope.h"
#include "support/message_boxes.h"
#include "support/temp_folder.h"
#include "support/window_harness.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

#include <vector>

namespace {

// A DROPFILES header followed by the wide paths, each ended by a zero, and
// one more zero, in movable global memory the receiver frees with DragFinish.
HGLOBAL dropOf(const std::vector<std::wstring>& paths)
{
    size_t units = 1;
    for (const std::wstring& path : paths) {
        units += path.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES));
    for (const std::wstring& path : paths) {
        wcscpy(text, path.c_str());
        text += path.size() + 1;
    }
    *text = L'\0';
    GlobalUnlock(memory);
    return memory;
}

void drop(HWND window, const std::vector<std::wstring>& paths)
{
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(paths)), 0);
    pumpPending();
}

class PathFields : public OpenWindowTest {
protected:
    ConfigScope config{"{\"access_key_id\": \"a\", \"access_key_secret\": \"b\", \"appkey\": \"c\", \"region\": "
                       "\"d\", \"oss_bucket\": \"e\", \"ui_lang\": \"en\"}"};
};

} // namespace

TEST_F(PathFields, OneDroppedFileBecomesTheInputAndMoreFillTheQueue)
{
    EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    drop(window, {L"D:\\会议\\talk one.mp4"});
    EXPECT_EQ(windowText(mainState.controls[CTL_INPUT]), L"D:\\会议\\talk one.mp4");
    EXPECT_EQ(queueListWindow(), nullptr) << "nothing new until a second recording";

    TempFolder folder;
    for (const wchar_t* name : {L"first.ogg", L"b.mp3", L"notes.txt", L"sub\\10.wav", L"sub\\2.WAV", L"sub\\cover.jpg"}) {
        CreateDirectoryW(folder.file(L"sub").c_str(), nullptr);
        writeBytes(folder.file(name), "RIFF");
    }
    SetWindowTextW(mainState.controls[CTL_INPUT], folder.file(L"first.ogg").c_str());
    drop(window, {folder.file(L"sub"), folder.file(L"notes.txt"), folder.file(L"b.mp3")});
    // The input's recording leads, whatever its type, as a single run would
    // take it; a folder's recordings in Explorer's order.
    std::vector<std::wstring> expected = {folder.file(L"first.ogg"), folder.file(L"sub\\2.WAV"),
        folder.file(L"sub\\10.wav"), folder.file(L"b.mp3")};
    ASSERT_TRUE(pumpUntil([&] { return !runQueue.items.empty(); })) << "folders are read on another thread";
    ASSERT_EQ(runQueue.items.size(), expected.size());
    for (size_t index = 0; index < expected.size(); ++index) {
        EXPECT_EQ(runQueue.items[index].path, expected[index]);
    }
    ASSERT_NE(queueListWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(queueListWindow()));
    EXPECT_EQ(SendMessageW(queueListWindow(), LVM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_NE(windowText(mainState.controls[CTL_LOG]).find(L"2 files were skipped"), std::wstring::npos);
    RECT list;
    RECT log;
    GetWindowRect(queueListWindow(), &list);
    GetWindowRect(mainState.controls[CTL_LOG], &log);
    EXPECT_LE(list.bottom, log.top) << "the log gives up the room";

    // The same files, as Windows compares paths, are not queued again.
    writeBytes(folder.file(L"new.aac"), "RIFF");
    drop(window, {folder.file(L"sub\\..\\B.MP3"), folder.file(L"sub"), folder.file(L"new.aac")});
    expected.push_back(folder.file(L"new.aac"));
    ASSERT_TRUE(pumpUntil([&] { return runQueue.items.size() > 4; }));
    EXPECT_EQ(runQueue.items.size(), expected.size());
    // Saves come at most a few times a second: the last one may come a moment later.
    EXPECT_TRUE(pumpUntil([&] {
        const std::optional<SavedQueue> saved = queueFromJson(readBytes(queueFilePath()));
        return saved && saved->queue.items.size() == expected.size();
    })) << "kept in queue.json";
}

TEST_F(PathFields, DropsAreIgnoredDuringARun)
{
    TempFolder folder;
    writeBytes(folder.file(L"talk.wav"), "RIFF");
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", L"sleep:1500;exit:0");
    SetWindowTextW(mainState.controls[CTL_INPUT], folder.file(L"talk.wav").c_str());
    ASSERT_TRUE(launchRun(RunRequest{folder.file(L"talk.wav"), folder.file(L"out"), L"", 2, false}));
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", nullptr);
    drop(window, {L"D:\\other.wav"});
    EXPECT_EQ(windowText(mainState.controls[CTL_INPUT]), folder.file(L"talk.wav"));
    ASSERT_TRUE(pumpUntil([] { return !runState.running; }, 20000));
    drop(window, {L"D:\\other.wav"});
    EXPECT_EQ(windowText(mainState.controls[CTL_INPUT]), L"D:\\other.wav") << "and taken again once it has ended";
}

namespace {

HWND firstVisibleEdit(HWND dialog)
{
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM parameter) -> BOOL {
            if (_wcsicmp(classOf(child).c_str(), L"Edit") == 0 && IsWindowVisible(child)) {
                *reinterpret_cast<HWND*>(parameter) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

// The item-based dialogs return paths of any length on Windows; Wine's own
// dialog ends the program when given a path beyond MAX_PATH, so the paths
// here stay below it.
TEST_F(PathFields, OkWithAFolderIsBusyUntilItIsReadAndCancelDropsTheStart)
{
    TempFolder folder;
    CreateDirectoryW(folder.file(L"talks").c_str(), nullptr);
    writeBytes(folder.file(L"talks\\1.wav"), "RIFF");
    writeBytes(folder.file(L"queued.wav"), "RIFF");
    addRecordingsNow({folder.file(L"queued.wav")});
    SetWindowTextW(mainState.controls[CTL_INPUT], folder.file(L"talks").c_str());
    // OK reads the folder on a thread of its own: what the run will use is
    // fixed from now on, and a Cancel meanwhile drops the start.
    handleCommand(IDC_BTN_OK, BN_CLICKED);
    EXPECT_FALSE(IsWindowEnabled(mainState.controls[CTL_LABEL]));
    EXPECT_FALSE(IsWindowEnabled(mainState.controls[CTL_SETTINGS]));
    handleCommand(IDC_BTN_CANCEL, BN_CLICKED);
    EXPECT_TRUE(IsWindow(window)) << "Cancel is no close while a start waits";
    ASSERT_TRUE(pumpUntil([] { return runQueue.items.size() == 2; }));
    pumpPending();
    EXPECT_FALSE(queueRunning());
    EXPECT_EQ(runQueue.items[1].state, ItemState::Waiting) << "the folder's recording joined, and nothing started";
    EXPECT_TRUE(IsWindowEnabled(mainState.controls[CTL_LABEL]));
}

TEST_F(PathFields, PickersPutTheChosenPathsIntoTheFields)
{
    TempFolder folder;
    std::wstring deep = folder.path();
    while (deep.size() < 180) {
        deep += L"\\" + std::wstring(40, L'p');
        CreateDirectoryW(deep.c_str(), nullptr);
    }
    const std::wstring recording = deep + L"\\talk.wav";
    writeBytes(recording, "RIFF");
    withDialogOpenedBy(window, IDC_BTN_BROWSE_INPUT, [&](HWND dialog) {
        HWND name = firstVisibleEdit(dialog);
        ASSERT_NE(name, nullptr);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(recording.c_str()));
        press(dialog, IDOK);
    });
    EXPECT_EQ(windowText(mainState.controls[CTL_INPUT]), recording);

    // The folder picker opens at the folder in the output field (pasted with
    // quotes), so a name typed there is a folder inside it.
    CreateDirectoryW((deep + L"\\inner").c_str(), nullptr);
    SetWindowTextW(mainState.controls[CTL_OUTPUT], (L"\"" + deep + L"\"").c_str());
    withDialogOpenedBy(window, IDC_BTN_BROWSE_OUTPUT, [&](HWND dialog) {
        HWND name = firstVisibleEdit(dialog);
        ASSERT_NE(name, nullptr);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"inner"));
        press(dialog, IDOK);
    });
    EXPECT_EQ(windowText(mainState.controls[CTL_OUTPUT]), deep + L"\\inner");
}
