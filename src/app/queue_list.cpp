#include "app/queue_list.h"

#include "app/controls.h"
#include "app/ids.h"
#include "app/queue_controller.h"
#include "app/run_controller.h"
#include "app/window_state.h"
#include "run/result_folder.h"
#include "run/run_request.h"
#include "text/catalogue.h"
#include "util/dpi.h"
#include "util/handles.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace {

// Made when the queue first holds something; goes with the main window.
HWND queueList = nullptr;

// Column widths at 96 DPI: the recording's name, its state, its result.
constexpr int COLUMN_WIDTHS[] = {330, 120, 210};
constexpr TextId COLUMN_TEXTS[] = {T_COL_RECORDING, T_COL_STATE, T_COL_RESULT};

TextId stateText(ItemState state)
{
    switch (state) {
    case ItemState::Waiting:
        return T_STATE_WAITING;
    case ItemState::Running:
        return T_STATE_RUNNING;
    case ItemState::Done:
        return T_STATE_DONE;
    case ItemState::Failed:
        return T_STATE_FAILED;
    case ItemState::Cancelled:
        return T_STATE_CANCELLED;
    case ItemState::Interrupted:
        break;
    }
    return T_STATE_INTERRUPTED;
}

std::wstring fileName(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring cellText(const QueueItem& item, int column)
{
    switch (column) {
    case 0:
        return fileName(item.path);
    case 1:
        return uiText(stateText(item.state));
    default:
        if (item.state == ItemState::Done) {
            return fileName(item.resultFolder);
        }
        if (item.state == ItemState::Failed && item.exitCode != 0) {
            return fillPlaceholder(uiText(T_RESULT_EXIT_CODE), exitCodeText(item.exitCode));
        }
        // The engine succeeded, but the folder was gone at the end.
        if (item.state == ItemState::Failed && !item.resultFolder.empty()) {
            return uiText(T_RESULT_GONE);
        }
        return {};
    }
}

void copyInto(wchar_t* buffer, int size, const std::wstring& text)
{
    if (buffer != nullptr && size > 0) {
        lstrcpynW(buffer, text.c_str(), size);
    }
}

std::vector<size_t> selectedItems()
{
    std::vector<size_t> indexes;
    for (int index = -1;;) {
        index = static_cast<int>(SendMessageW(queueList, LVM_GETNEXTITEM, index, LVNI_SELECTED));
        if (index < 0 || static_cast<size_t>(index) >= runQueue.items.size()) {
            return indexes;
        }
        indexes.push_back(static_cast<size_t>(index));
    }
}

// Indexes shift when items go: nothing stays selected.
void clearSelection()
{
    ListView_SetItemState(queueList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

void openItemResult(size_t index)
{
    if (index >= runQueue.items.size() || runQueue.items[index].state != ItemState::Done) {
        return;
    }
    openFolder(runQueue.items[index].resultFolder);
}

void removeSelected()
{
    const std::vector<size_t> selected = selectedItems();
    if (!selected.empty()) {
        clearSelection();
        removeQueueItems(selected);
    }
}

HWND createQueueList()
{
    constexpr DWORD STYLE = WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS;
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", STYLE, 0, 0, 0, 0, mainState.mainWindow,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LIST_QUEUE)), mainState.instance, nullptr);
    if (list == nullptr) {
        return nullptr;
    }
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNW added = {};
        added.mask = LVCF_TEXT | LVCF_WIDTH;
        added.cx = scaled(COLUMN_WIDTHS[column], mainState.dpi);
        added.pszText = const_cast<wchar_t*>(uiText(COLUMN_TEXTS[column]));
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&added));
    }
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(mainState.font.get()), FALSE);
    // Reading order: after the options row, before the log.
    SetWindowPos(list, mainState.controls[CTL_SETTINGS], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return list;
}

} // namespace

HWND queueListWindow()
{
    return queueList;
}

void forgetQueueList()
{
    queueList = nullptr;
}

// The rows: the items, and while folders are being read one more, last,
// with the count of recordings found so far.
size_t rowCount()
{
    return runQueue.items.size() + (recordingsBeingRead() ? 1 : 0);
}

void refreshQueueList()
{
    const bool wanted = rowCount() > 0;
    if (queueList == nullptr) {
        if (!wanted || mainState.mainWindow == nullptr) {
            return;
        }
        queueList = createQueueList();
        if (queueList == nullptr) {
            return;
        }
    }
    HWND list = queueList;
    SendMessageW(list, LVM_SETITEMCOUNT, rowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    InvalidateRect(list, nullptr, FALSE);
    if ((IsWindowVisible(list) != FALSE) != wanted) {
        if (!wanted && GetFocus() == list) {
            SetFocus(IsWindowEnabled(mainState.controls[CTL_INPUT]) ? mainState.controls[CTL_INPUT] : mainState.controls[CTL_LOG]);
        }
        ShowWindow(list, wanted ? SW_SHOWNA : SW_HIDE);
        layoutMainWindow();
    }
}

std::vector<std::wstring> selectedQueuePaths()
{
    std::vector<std::wstring> paths;
    if (queueList != nullptr) {
        for (const size_t index : selectedItems()) {
            paths.push_back(runQueue.items[index].path);
        }
    }
    return paths;
}

void selectQueuePaths(const std::vector<std::wstring>& paths)
{
    if (queueList == nullptr) {
        return;
    }
    clearSelection();
    std::unordered_set<std::wstring> wanted;
    for (const std::wstring& path : paths) {
        wanted.insert(pathKey(path));
    }
    for (size_t index = 0; index < runQueue.items.size() && !wanted.empty(); ++index) {
        if (wanted.erase(pathKey(runQueue.items[index].path)) > 0) {
            ListView_SetItemState(queueList, static_cast<int>(index), LVIS_SELECTED, LVIS_SELECTED);
        }
    }
}

void relabelQueueList()
{
    for (int column = 0; column < 3 && queueList != nullptr; ++column) {
        LVCOLUMNW changed = {};
        changed.mask = LVCF_TEXT;
        changed.pszText = const_cast<wchar_t*>(uiText(COLUMN_TEXTS[column]));
        SendMessageW(queueList, LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&changed));
    }
    if (queueList != nullptr) {
        InvalidateRect(queueList, nullptr, FALSE);
    }
}

void scaleQueueList()
{
    if (queueList == nullptr) {
        return;
    }
    SendMessageW(queueList, WM_SETFONT, reinterpret_cast<WPARAM>(mainState.font.get()), TRUE);
    for (int column = 0; column < 3; ++column) {
        ListView_SetColumnWidth(queueList, column, scaled(COLUMN_WIDTHS[column], mainState.dpi));
    }
}

LRESULT onQueueListNotify(const NMHDR* header)
{
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header))->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0 && static_cast<size_t>(item.iItem) < runQueue.items.size()) {
            copyInto(item.pszText, item.cchTextMax, cellText(runQueue.items[item.iItem], item.iSubItem));
        } else if ((item.mask & LVIF_TEXT) != 0 && static_cast<size_t>(item.iItem) == runQueue.items.size()) {
            const std::optional<size_t> found = recordingsBeingRead();
            copyInto(item.pszText, item.cchTextMax,
                found && item.iSubItem == 0 ? fillPlaceholder(uiText(T_LIST_ADDING), std::to_wstring(*found)) : L"");
        }
        return 0;
    }
    case LVN_GETINFOTIPW: {
        auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(const_cast<NMHDR*>(header));
        if (tip->iItem >= 0 && static_cast<size_t>(tip->iItem) < runQueue.items.size()) {
            copyInto(tip->pszText, tip->cchTextMax, runQueue.items[tip->iItem].path);
        }
        return 0;
    }
    case LVN_KEYDOWN:
        if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) {
            removeSelected();
        }
        return 0;
    case NM_DBLCLK: {
        const int index = reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem;
        if (index >= 0) {
            openItemResult(static_cast<size_t>(index));
        }
        return 0;
    }
    default:
        return 0;
    }
}

void showQueueMenu(POINT at)
{
    HWND list = queueList;
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: at the focused item, or the list's corner.
        RECT place = {LVIR_LABEL, 0, 0, 0};
        const int focused = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
        if (focused < 0 || !SendMessageW(list, LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&place))) {
            place = RECT{};
        }
        at = POINT{place.left, place.bottom};
        ClientToScreen(list, &at);
    }
    const std::vector<size_t> selected = selectedItems();
    bool removable = false;
    bool openable = false;
    bool again = false;
    bool logged = false;
    for (const size_t index : selected) {
        const ItemState state = runQueue.items[index].state;
        removable = removable || state != ItemState::Running;
        openable = openable || state == ItemState::Done;
        again = again || state == ItemState::Failed || state == ItemState::Cancelled || state == ItemState::Interrupted;
        logged = logged || !runQueue.items[index].logFile.empty();
    }
    const UniqueMenu menu(CreatePopupMenu());
    if (menu == nullptr) {
        return;
    }
    const auto add = [&](UINT id, TextId text, bool enabled) {
        AppendMenuW(menu.get(), MF_STRING | (enabled ? 0 : MF_GRAYED), id, uiText(text));
    };
    add(IDM_QUEUE_OPEN, T_MENU_OPEN_RESULT, openable);
    add(IDM_QUEUE_OPEN_LOG, T_MENU_OPEN_LOG, logged);
    add(IDM_QUEUE_RUN_AGAIN, T_MENU_RUN_AGAIN, again && !queueRunning());
    if (queueRunning()) {
        add(IDM_STOP_AFTER, T_MENU_STOP_AFTER, true);
        CheckMenuItem(menu.get(), IDM_STOP_AFTER, MF_BYCOMMAND | (runState.queue.stopAfterThis ? MF_CHECKED : 0));
    }
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    add(IDM_QUEUE_REMOVE, T_MENU_REMOVE, removable);
    add(IDM_QUEUE_CLEAR_FINISHED, T_MENU_CLEAR_FINISHED, summarize(runQueue).notRun < runQueue.items.size());
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, mainState.mainWindow, nullptr);
}

bool handleQueueCommand(WORD id)
{
    switch (id) {
    case IDM_QUEUE_REMOVE:
        removeSelected();
        return true;
    case IDM_QUEUE_OPEN:
        for (const size_t index : selectedItems()) {
            if (runQueue.items[index].state == ItemState::Done) {
                openItemResult(index);
                break;
            }
        }
        return true;
    case IDM_QUEUE_OPEN_LOG:
        // With the program Windows opens .log files with.
        for (const size_t index : selectedItems()) {
            if (const std::wstring& log = runQueue.items[index].logFile; !log.empty()) {
                openRunLogFile(log, mainState.mainWindow);
                break;
            }
        }
        return true;
    case IDM_QUEUE_RUN_AGAIN:
        runQueueItemsAgain(selectedItems());
        return true;
    case IDM_QUEUE_CLEAR_FINISHED:
        clearSelection();
        clearFinishedQueueItems();
        return true;
    default:
        return false;
    }
}
