#include "app/main_window.h"

#include "app/command_line.h"
#include "app/commands.h"
#include "app/controls.h"
#include "app/handover.h"
#include "app/ids.h"
#include "app/layout.h"
#include "app/log_pane.h"
#include "app/queue_controller.h"
#include "app/queue_list.h"
#include "app/run_controller.h"
#include "app/taskbar.h"
#include "app/window_state.h"
#include "config/config.h"
#include "run/queue_file.h"
#include "text/catalogue.h"
#include "util/dpi.h"
#include "util/resource_ids.h"
#include "util/paths.h"
#include "util/text.h"

#include <commctrl.h>
#include <shellapi.h>
#include <ole2.h>

#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

MainWindowState mainState;
StartPaths startPaths;

namespace {

// What loading the settings at start has to tell, for the log once the window is there.
std::wstring startNotice;

void loadWindowIcons(HWND window)
{
    AppIcons icons = loadAppIcons(mainState.instance, mainState.dpi);
    setWindowIcons(window, icons);
    // The window no longer uses the old ones.
    mainState.icons = std::move(icons);
}

// The work area of the monitor the window is on (the screen less the taskbar).
RECT workAreaOf(HWND window)
{
    MONITORINFO monitor = {sizeof monitor};
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    }
    return monitor.rcWork;
}

// The first size at the window's DPI, but never larger than the work area:
// at 125 % on a 1366 x 768 screen the window would reach under the taskbar,
// with OK and Cancel out of reach and no way to make it smaller.
SIZE fittingWindowSize(HWND window, unsigned dpi)
{
    const SIZE first = firstWindowSize(dpi);
    const RECT work = workAreaOf(window);
    return SIZE{std::min<LONG>(first.cx, work.right - work.left), std::min<LONG>(first.cy, work.bottom - work.top)};
}

// Elevated, the window would not hear from the (unelevated) shell: the
// taskbar's announcement of its button and dropped files are let through.
void allowShellMessages(HWND window)
{
    for (const UINT message : {taskbarButtonCreatedMessage(), UINT(WM_DROPFILES), UINT(WM_COPYDATA), UINT(0x0049)}) {
        if (message != 0) {
            ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr); // 0x0049: WM_COPYGLOBALDATA
        }
    }
}

LRESULT onCreate(HWND window)
{
    mainState.mainWindow = window;
    // The table's figures are for 96 DPI; the window and everything in it
    // are scaled to the DPI of the monitor it opens on.
    mainState.dpi = dpiOf(window);
    const SIZE size = fittingWindowSize(window, mainState.dpi);
    RECT now = {};
    GetWindowRect(window, &now);
    if (size.cx != now.right - now.left || size.cy != now.bottom - now.top) {
        SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Kept inside the work area when it would reach beyond it.
    GetWindowRect(window, &now);
    const RECT work = workAreaOf(window);
    const LONG left = std::max(work.left, std::min(now.left, work.right - size.cx));
    const LONG top = std::max(work.top, std::min(now.top, work.bottom - size.cy));
    if (left != now.left || top != now.top) {
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    allowShellMessages(window);
    loadWindowIcons(window);
    createMainControls();
    applyUiLanguage();
    restoreFields(loadConfig());
    appendLog(uiText(T_MSG_HINT));
    if (!startNotice.empty()) {
        appendLog(startNotice);
        startNotice.clear();
    }
    loadSavedQueue();
    DragAcceptFiles(window, TRUE);
    if (startPaths.whenDone) {
        chooseWhenDone(*startPaths.whenDone);
    }
    if (!startPaths.autostart.empty() || !startPaths.added.empty() || startPaths.resume) {
        PostMessageW(window, WM_AUTOSTART, 0, 0);
    }
    return 0;
}

// Files and folders dropped from the file manager: one file goes into the
// input field, as the input Browse button would put it; more go into the
// queue. While a run is active drops are ignored, like typing.
LRESULT onDropFiles(HDROP drop)
{
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count && !runState.running && !queueRunning(); ++index) {
        const UINT length = DragQueryFileW(drop, index, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, index, path.data(), length + 1));
        paths.push_back(std::move(path));
    }
    DragFinish(drop);
    // Explorer hands over a selection in its own order; the queue keeps that.
    takeRecordings(paths, false);
    return 0;
}

LRESULT onPathsExpanded(PathsArrived* arrived)
{
    takeArrivedPaths(arrived);
    return 0;
}

// The command line's recordings: a single --autostart file runs as it always
// did; several, or a folder, go into the queue, which then starts. Paths
// without --autostart are only added.
LRESULT onAutostart()
{
    const StartPaths paths = std::move(startPaths);
    startPaths = StartPaths{};
    if (paths.resume) {
        // Windows brought the program back after ending the session during
        // a queue: it goes on; a command line beside it adds its paths.
        resumeQueue();
        if (!paths.added.empty() || !paths.autostart.empty()) {
            std::vector<std::wstring> all = paths.autostart;
            all.insert(all.end(), paths.added.begin(), paths.added.end());
            addToRunQueueLater(std::move(all));
        }
        return 0;
    }
    if (paths.autostart.empty()) {
        takeRecordings(paths.added, false);
        return 0;
    }
    if (paths.autostart.size() == 1 && paths.added.empty() && pathKind(paths.autostart.front()) != PathKind::Folder) {
        // Exactly the single run it always was, whatever the queue holds.
        SetWindowTextW(mainState.controls[CTL_INPUT], paths.autostart.front().c_str());
        startSingleRunFromWindow();
        return 0;
    }
    // The field's restored path is no part of what the command line asked for.
    SetWindowTextW(mainState.controls[CTL_INPUT], L"");
    // Folders are read on a thread of their own; the queue starts once they
    // are in and runs exactly the --autostart recordings. The others are
    // only added.
    QueueStart start{requestFromWindow(), true, true};
    start.alsoAdded = paths.added;
    addToRunQueueLater(paths.autostart, {}, start);
    return 0;
}

// Moved to a monitor of another DPI: Windows suggests the new place; the
// font, the icons and every control follow.
LRESULT onDpiChanged(HWND window, unsigned dpi, const RECT& suggested)
{
    mainState.dpi = dpi;
    setPaneTextAside();
    // Every control takes the new font before the old one is deleted.
    UniqueFont previous = std::move(mainState.font);
    mainState.font.reset(createUiFont(dpi));
    applyFont(mainState.font.get());
    scaleQueueList();
    previous.reset();
    loadWindowIcons(window);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
        suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    applyUiLanguage(); // tooltips as wide as the DPI wants, captions measured in the new font
    restorePaneText();
    return 0;
}

LRESULT onGetMinMaxInfo(HWND window, MINMAXINFO* info)
{
    // Also asked while the window is being created, before it knows its DPI.
    const SIZE first = fittingWindowSize(window, window == mainState.mainWindow ? mainState.dpi : dpiOf(window));
    info->ptMinTrackSize = POINT{first.cx, first.cy};
    return 0;
}

LRESULT onSize(WPARAM kind)
{
    if (kind != SIZE_MINIMIZED) {
        layoutMainWindow();
    }
    return 0;
}

// Like a dialog, the window gives the focus back to the control that had it
// (at the start: the input field).
LRESULT onActivate(HWND window, WPARAM state)
{
    if (LOWORD(state) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) {
            mainState.lastFocus = focus;
        }
        return 0;
    }
    hideQueueNotice(window); // seen
    const auto usable = [&](HWND control) {
        return control != nullptr && IsWindow(control) && IsWindowEnabled(control) && IsChild(window, control);
    };
    // During a run the input field is disabled; the log takes the focus then.
    const HWND fallback = usable(mainState.controls[CTL_INPUT]) ? mainState.controls[CTL_INPUT] : mainState.controls[CTL_LOG];
    SetFocus(usable(mainState.lastFocus) ? mainState.lastFocus : fallback);
    return 0;
}

// The log pane (a multi-line edit control) asks for the next control when
// Tab is pressed in it; from the window's thread the focus may not be seen
// in the log's, so that is where the move starts.
LRESULT onNextDialogControl(HWND window, WPARAM wParam, LPARAM lParam)
{
    HWND next = nullptr;
    if (LOWORD(lParam) != 0) {
        next = reinterpret_cast<HWND>(wParam);
    } else {
        HWND from = GetFocus();
        if (from == nullptr || !IsChild(window, from)) {
            from = mainState.controls[CTL_LOG];
        }
        next = GetNextDlgTabItem(window, from, wParam != 0);
    }
    if (next != nullptr) {
        SetFocus(next);
    }
    return 0;
}

// Enter presses the focused button, and otherwise OK (which does nothing
// while a run is active: it is disabled then).
LRESULT onGetDefId()
{
    static constexpr ControlIndex BUTTONS[] = {CTL_BROWSE_INPUT, CTL_BROWSE_OUTPUT, CTL_SETTINGS, CTL_CANCEL, CTL_OK};
    const HWND focus = GetFocus();
    for (const ControlIndex button : BUTTONS) {
        if (focus != nullptr && focus == mainState.controls[button] && !runState.running) {
            return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
        }
    }
    return MAKELRESULT(IDC_BTN_OK, DC_HASDEFID);
}

LRESULT onClose(HWND window)
{
    if (runState.running && showMessage(window, T_ASK_EXIT, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return 0;
    }
    // A window that does not keep queue.json loses its list when it closes,
    // unless the window that kept the file has gone meanwhile.
    if (!queueFileKept() && !runQueue.items.empty()) {
        claimQueueFileAgain();
        if (!queueFileKept()
            && showMessage(window, T_ASK_QUEUE_NOT_KEPT, {queueFilePath(), std::to_wstring(runQueue.items.size())},
                   MB_OKCANCEL | MB_ICONQUESTION)
                != IDOK) {
            return 0;
        }
    }
    endRunForClose();
    DestroyWindow(window);
    return 0;
}

// Windows ends the session (or the Restart Manager closes the program for
// an update): within its few seconds the work is saved, and the window
// closes, since the process may be ended at any moment after this returns.
// With a queue, Windows starts the program again with --resume.
LRESULT onEndSession(HWND window, bool ending)
{
    if (ending) {
        keepHandedOverWork();
        keepWhatIsBeingRead();
        endSession();
        DestroyWindow(window);
    }
    return 0;
}

LRESULT onDestroy()
{
    hideQueueNotice(mainState.mainWindow);
    endRunForClose();
    closeLogPane(); // the pump stops too
    keepHandedOverWork();
    closeQueue();
    disconnectTaskbar();
    PostQuitMessage(0);
    return 0;
}

// The controls have gone by now, so nothing paints with the font any more.
LRESULT onNcDestroy(HWND window)
{
    mainState.font.reset();
    mainState.icons = AppIcons{};
    // The controls, menu and tooltip window went with the window.
    mainState.mainWindow = nullptr;
    mainState.lastFocus = nullptr;
    mainState.menu = nullptr;
    mainState.tooltip = nullptr;
    forgetQueueList();
    for (HWND& control : mainState.controls) {
        control = nullptr;
    }
    return DefWindowProcW(window, WM_NCDESTROY, 0, 0);
}

LRESULT onCtlColorStatic(HWND window, HDC dc, HWND control)
{
    if (control != nullptr && control == mainState.controls[CTL_LINK]) {
        SetTextColor(dc, LINK_COLOUR);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return DefWindowProcW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

LRESULT onSetCursor(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(wParam) != nullptr && reinterpret_cast<HWND>(wParam) == mainState.controls[CTL_LINK]) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    // Folders are being read: working in the background, the window usable.
    if (recordingsBeingRead() && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
        return TRUE;
    }
    return DefWindowProcW(window, WM_SETCURSOR, wParam, lParam);
}

// Output waits, or the log has more to show: one slice of it. The run ends
// once every line of it is shown.
LRESULT onRunOutput(HWND window, bool byTimer)
{
    if (byTimer) {
        KillTimer(window, LOG_TIMER_ID);
    }
    if (const std::optional<unsigned> exitCode = showSomeOutput()) {
        runShown(*exitCode);
    }
    return 0;
}

LRESULT onTimer(HWND window, WPARAM id)
{
    switch (id) {
    case LOG_TIMER_ID:
        return onRunOutput(window, true);
    case NEXT_ITEM_TIMER_ID:
        startNextItem();
        return 0;
    case QUEUE_SAVE_TIMER_ID:
        saveQueueNow();
        return 0;
    case QUEUE_CLAIM_TIMER_ID:
        claimQueueFileAgain();
        return 0;
    case QUEUE_PROGRESS_TIMER_ID:
        refreshQueueList();
        return 0;
    case HANDED_OVER_TIMER_ID:
        doHandedOverWork(window);
        return 0;
    case WHEN_DONE_TIMER_ID:
        countDownWhenDone();
        return 0;
    default:
        return DefWindowProcW(window, WM_TIMER, id, 0);
    }
}

LRESULT onContextMenu(HWND window, HWND from, LPARAM lParam)
{
    if (from != nullptr && from == queueListWindow()) {
        showQueueMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    }
    if (from == nullptr || from != mainState.controls[CTL_LOG]) {
        return DefWindowProcW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(from), lParam);
    }
    POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (lParam == -1) {
        // From the keyboard: at the caret, or the pane's corner.
        const LRESULT caret = SendMessageW(from, EM_POSFROMCHAR, HIWORD(SendMessageW(from, EM_GETSEL, 0, 0)), 0);
        RECT client = {};
        GetClientRect(from, &client);
        at = caret == -1 ? POINT{client.left, client.top} : POINT{LOWORD(caret), HIWORD(caret)};
        at.x = std::clamp<LONG>(at.x, 0, client.right);
        at.y = std::clamp<LONG>(at.y, 0, client.bottom);
        ClientToScreen(from, &at);
    }
    showLogMenu(at);
    return 0;
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == taskbarButtonCreatedMessage()) {
        connectTaskbar(window);
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_CLOSE:
        return onClose(window);
    case WM_DESTROY:
        return onDestroy();
    case WM_NCDESTROY:
        return onNcDestroy(window);
    case WM_COMMAND:
        if (handleCommand(LOWORD(wParam), HIWORD(wParam))) {
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        return onCtlColorStatic(window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        return onSetCursor(window, wParam, lParam);
    case WM_RUN_OUTPUT:
        return onRunOutput(window, false);
    case WM_TIMER:
        return onTimer(window, wParam);
    case WM_NOTIFY:
        if (const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            header->hwndFrom != nullptr && header->hwndFrom == queueListWindow()) {
            return onQueueListNotify(header);
        }
        break;
    case WM_CONTEXTMENU:
        return onContextMenu(window, reinterpret_cast<HWND>(wParam), lParam);
    case WM_AUTOSTART:
        return onAutostart();
    case WM_SIZE:
        return onSize(wParam);
    case WM_GETMINMAXINFO:
        return onGetMinMaxInfo(window, reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_DPICHANGED:
        return onDpiChanged(window, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_ACTIVATE:
        return onActivate(window, wParam);
    case DM_GETDEFID:
        return onGetDefId();
    case WM_NEXTDLGCTL:
        return onNextDialogControl(window, wParam, lParam);
    case WM_PATHS_EXPANDED:
        return onPathsExpanded(reinterpret_cast<PathsArrived*>(lParam));
    case WM_NEXT_ITEM:
        startNextItem();
        return 0;
    case WM_COPYDATA:
        return takeHandedOver(window, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_START_LATER:
        startWhatWaited();
        return 0;
    case WM_HANDED_OVER:
        doHandedOverWork(window);
        return 0;
    case WM_WHEN_DONE:
        countDownWhenDone();
        return 0;
    case WM_NOTICE_ICON:
        onNoticeIcon(window, lParam);
        return 0;
    case WM_INITMENUPOPUP:
        updateMenuStates(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_QUERYENDSESSION:
        sessionMayEnd();
        return TRUE;
    case WM_ENDSESSION:
        return onEndSession(window, wParam != FALSE);
    case WM_OPEN_FAILED:
        tellOpenFailed(reinterpret_cast<std::wstring*>(lParam));
        return 0;
    case WM_DROPFILES:
        return onDropFiles(reinterpret_cast<HDROP>(wParam));
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    return RegisterClassExW(&windowClass) != 0;
}

HWND createMainWindow(HINSTANCE instance)
{
    return CreateWindowExW(0, MAIN_WINDOW_CLASS, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
        MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT, nullptr, nullptr, instance, nullptr);
}

void processMessage(MSG& message)
{
    // Ctrl+S saves the log from anywhere in the window; Tab, Shift+Tab,
    // Enter and Esc work as in a dialog.
    if (mainState.mainWindow != nullptr
        && (TranslateAcceleratorW(mainState.mainWindow, mainAccelerators(), &message)
            || IsDialogMessageW(mainState.mainWindow, &message))) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int runMessageLoop()
{
    MSG message = {};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam); // WM_QUIT
        }
        if (got < 0) {
            return 1; // the loop cannot go on; the message holds nothing
        }
        processMessage(message);
    }
}

void loadStartingConfig()
{
    const LoadedConfig loaded = loadConfigReport();
    if (loaded.problem == ConfigProblem::Reset) {
        startNotice = fillPlaceholder(uiText(T_LOG_CONFIG_RESET), loaded.backup);
    } else if (loaded.problem == ConfigProblem::InUse) {
        startNotice = fillPlaceholder(uiText(T_ERR_CONFIG_IN_USE), configFilePath());
    }
}

int runApplication(HINSTANCE instance, const wchar_t* commandLine)
{
    mainState.instance = instance;
    startPaths = startPathsFromCommandLine(commandLine);

    // The tooltip class must exist before the first re-labelling; the
    // folder dialog's new style and the shell want COM on this thread.
    INITCOMMONCONTROLSEX commonControls = {sizeof commonControls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&commonControls);
    OleInitialize(nullptr);

    if (!registerMainWindowClass(instance)) {
        return 1;
    }
    // One window per installation: work goes to the open one, and a start
    // without work (the Start menu entry, say) brings it to the front.
    UniqueHandle startTurn;
    if (!startPaths.newWindow) {
        startTurn = waitForStartTurn();
        if (handOverToOpenWindow(startPaths)) {
            OleUninitialize();
            return 0;
        }
    }
    loadStartingConfig();
    HWND window = createMainWindow(instance);
    if (startTurn != nullptr) {
        ReleaseMutex(startTurn.get()); // the window keeps queue.json by now
        startTurn.reset();
    }
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    const int exitCode = runMessageLoop();
    // The last lines of runs that ended a moment ago reach their files.
    waitForRunLogs(3000);
    OleUninitialize();
    return exitCode;
}
