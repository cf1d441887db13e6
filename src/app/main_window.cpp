#include "app/main_window.h"

#include "app/command_line.h"
#include "app/commands.h"
#include "app/controls.h"
#include "app/window_state.h"
#include "config/config.h"
#include "run/launch.h"
#include "run/run_state.h"
#include "text/catalogue.h"
#include "text/log_pane.h"
#include "util/paths.h"
#include "util/text.h"

#include <commctrl.h>
#include <shellapi.h>
#include <ole2.h>

#include <memory>

MainWindowState mainState;
std::wstring autostartPath;

namespace {

void restoreLastPaths(const AppConfig& config)
{
    const std::string lastInput = configText(config, "last_input");
    if (!lastInput.empty()) {
        const std::wstring path = utf8ToWide(lastInput);
        if (pathExists(path)) {
            SetWindowTextW(mainState.controls[CTL_INPUT], path.c_str());
        }
    }
    const std::string lastOutput = configText(config, "last_output");
    if (!lastOutput.empty()) {
        SetWindowTextW(mainState.controls[CTL_OUTPUT], utf8ToWide(lastOutput).c_str());
    }
}

LRESULT onCreate(HWND window)
{
    mainState.mainWindow = window;
    createMainControls();
    applyUiLanguage();
    restoreLastPaths(loadConfig());
    appendLog(uiText(T_MSG_HINT));
    DragAcceptFiles(window, TRUE);
    if (!autostartPath.empty()) {
        PostMessageW(window, WM_AUTOSTART, 0, 0);
    }
    return 0;
}

// A file dropped from the file manager goes into the input field, as the
// input Browse button would put it; of several, the first. While a run is
// active the input field is disabled, and drops are ignored like typing.
LRESULT onDropFiles(HDROP drop)
{
    if (!runState.running && DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
        SetWindowTextW(mainState.controls[CTL_INPUT], path.c_str());
    }
    DragFinish(drop);
    return 0;
}

LRESULT onAutostart()
{
    const std::wstring path = autostartPath;
    autostartPath.clear();
    SetWindowTextW(mainState.controls[CTL_INPUT], path.c_str());
    startRunFromWindow();
    return 0;
}

LRESULT onClose(HWND window)
{
    if (runState.running && runState.process != nullptr) {
        if (showMessage(window, T_ASK_EXIT, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
            return 0;
        }
        terminateRun();
    }
    DestroyWindow(window);
    return 0;
}

LRESULT onDestroy()
{
    if (runState.process != nullptr) {
        terminateRun();
    }
    releaseRunHandles();
    closeLogPane();
    mainState.font.reset();
    // The controls, menu and tooltip window go with the window.
    mainState.mainWindow = nullptr;
    mainState.menu = nullptr;
    mainState.tooltip = nullptr;
    for (HWND& control : mainState.controls) {
        control = nullptr;
    }
    PostQuitMessage(0);
    return 0;
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
    return DefWindowProcW(window, WM_SETCURSOR, wParam, lParam);
}

// Every line of the run is shown by now: the log sends this after them.
LRESULT onRunFinished(WPARAM wParam)
{
    if (runState.running) {
        showRunFinished(static_cast<unsigned>(wParam & 0xFFFFFFFFu));
    }
    return 0;
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_CLOSE:
        return onClose(window);
    case WM_DESTROY:
        return onDestroy();
    case WM_COMMAND:
        if (handleCommand(LOWORD(wParam), HIWORD(wParam))) {
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        return onCtlColorStatic(window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        return onSetCursor(window, wParam, lParam);
    case WM_RUN_FINISHED:
        return onRunFinished(wParam);
    case WM_AUTOSTART:
        return onAutostart();
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
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int runApplication(HINSTANCE instance, const wchar_t* commandLine)
{
    mainState.instance = instance;
    autostartPath = autostartPathFromCommandLine(commandLine);

    // The tooltip class must exist before the first re-labelling; the
    // folder dialog's new style and the shell want COM on this thread.
    INITCOMMONCONTROLSEX commonControls = {sizeof commonControls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&commonControls);
    OleInitialize(nullptr);

    if (!registerMainWindowClass(instance)) {
        return 1;
    }
    loadConfig(); // sets the language before any text is chosen
    HWND window = createMainWindow(instance);
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    const int exitCode = runMessageLoop();
    OleUninitialize();
    return exitCode;
}
