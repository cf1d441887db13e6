#include "app/commands.h"

#include "app/controls.h"
#include "app/ids.h"
#include "app/log_pane.h"
#include "app/queue_controller.h"
#include "app/queue_list.h"
#include "app/run_controller.h"
#include "app/window_state.h"
#include "config/config.h"
#include "run/engine_contract.h"
#include "settings/settings_dialog.h"
#include "text/catalogue.h"
#include "util/handles.h"
#include "util/paths.h"
#include "util/text.h"

#include <shellapi.h>
#include <shobjidl.h>

#include <string>
#include <vector>

namespace {

// The input field still holds the path restored from the last session:
// the user did not put it there for a queue, so it does not join one.
bool inputRestored = false;

// The whole text: paths may be far longer than MAX_PATH.
std::wstring fieldText(ControlIndex control)
{
    HWND field = mainState.controls[control];
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    const int length = GetWindowTextW(field, text.data(), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

// The filter names are the same in every UI language.
const COMDLG_FILTERSPEC INPUT_FILTER[] = {
    {L"音频/视频文件 (*.mp3;*.wav;*.mp4;*.mkv;*.mov;*.flv;*.m4a;*.aac;*.wma;*.avi)",
        L"*.mp3;*.wav;*.mp4;*.mkv;*.mov;*.flv;*.m4a;*.aac;*.wma;*.avi"},
    {L"所有文件 (*.*)", L"*.*"},
};

// The nearest folder at or above the path that exists, or nothing.
std::wstring existingFolderAt(std::wstring path)
{
    path = fullPath(path);
    for (;;) {
        if (pathKind(path) == PathKind::Folder) {
            return path;
        }
        const std::wstring parent = parentDirectory(path);
        if (parent.empty() || parent == path) {
            return {};
        }
        path = parent;
    }
}

std::wstring itemPath(IShellItem* item)
{
    PWSTR path = nullptr;
    if (item == nullptr || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        return {};
    }
    const UniqueTaskMemory<wchar_t> owned(path);
    return path;
}

// The item-based common dialog: no limit on the length of what it returns.
// Empty when the user cancels or the dialog cannot be shown. Recordings may
// be picked several at a time.
std::vector<std::wstring> pickPaths(bool folder, const std::wstring& startFolder)
{
    IFileOpenDialog* created = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&created)))) {
        return {};
    }
    const ComOwner<IFileOpenDialog> dialog(created);
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    options |= FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | (folder ? FOS_PICKFOLDERS : FOS_FILEMUSTEXIST | FOS_ALLOWMULTISELECT);
    dialog->SetOptions(options);
    if (folder) {
        dialog->SetTitle(uiText(T_LBL_OUTPUT));
    } else {
        dialog->SetFileTypes(2, INPUT_FILTER);
        dialog->SetFileTypeIndex(1);
    }
    if (!startFolder.empty()) {
        IShellItem* start = nullptr;
        if (SUCCEEDED(SHCreateItemFromParsingName(startFolder.c_str(), nullptr, IID_PPV_ARGS(&start)))) {
            const ComOwner<IShellItem> owner(start);
            dialog->SetFolder(start);
        }
    }
    IShellItemArray* chosen = nullptr;
    if (FAILED(dialog->Show(mainState.mainWindow)) || FAILED(dialog->GetResults(&chosen))) {
        return {};
    }
    const ComOwner<IShellItemArray> results(chosen);
    DWORD count = 0;
    results->GetCount(&count);
    std::vector<std::wstring> paths;
    for (DWORD index = 0; index < count; ++index) {
        IShellItem* item = nullptr;
        if (SUCCEEDED(results->GetItemAt(index, &item))) {
            const ComOwner<IShellItem> owner(item);
            if (std::wstring path = itemPath(item); !path.empty()) {
                paths.push_back(std::move(path));
            }
        }
    }
    return paths;
}

// One file goes into the input field as before; several into the queue.
void chooseInputFile()
{
    std::vector<std::wstring> files = pickPaths(false, {});
    if (files.size() == 1) {
        SetWindowTextW(mainState.controls[CTL_INPUT], files.front().c_str());
    } else if (!files.empty()) {
        sortLikeExplorer(files);
        takeRecordings(files, true);
    }
}

// Opens at the folder in the output field (or the nearest one above it
// that exists).
void chooseOutputFolder()
{
    std::wstring current = cleanPathField(fieldText(CTL_OUTPUT));
    const std::vector<std::wstring> folder = pickPaths(true, existingFolderAt(current.empty() ? DEFAULT_OUTPUT_ROOT : current));
    if (!folder.empty()) {
        SetWindowTextW(mainState.controls[CTL_OUTPUT], folder.front().c_str());
    }
}

// Asks where, with the system's dialog, and writes the whole log there;
// a failure is told and changes nothing.
void saveLog()
{
    IFileSaveDialog* created = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&created)))) {
        return;
    }
    const ComOwner<IFileSaveDialog> dialog(created);
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_OVERWRITEPROMPT | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOREADONLYRETURN);
    SYSTEMTIME now;
    GetLocalTime(&now);
    dialog->SetFileName(logFileName(now).c_str());
    dialog->SetDefaultExtension(L"txt");
    IShellItem* chosen = nullptr;
    if (FAILED(dialog->Show(mainState.mainWindow)) || FAILED(dialog->GetResult(&chosen))) {
        return;
    }
    const ComOwner<IShellItem> result(chosen);
    PWSTR path = nullptr;
    if (FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        return;
    }
    const UniqueTaskMemory<wchar_t> owned(path);
    if (!saveKeptLog(keptLog(), longPathForm(fullPath(path)))) {
        showMessage(mainState.mainWindow, T_ERR_SAVE_LOG, path, MB_OK | MB_ICONWARNING);
    }
}

} // namespace

void restoreFields(const AppConfig& config)
{
    const std::string lastInput = configText(config, "last_input");
    if (!lastInput.empty()) {
        const std::wstring path = utf8ToWide(lastInput);
        if (pathExists(path)) {
            SetWindowTextW(mainState.controls[CTL_INPUT], path.c_str());
            inputRestored = true;
        }
    }
    const std::string lastOutput = configText(config, "last_output");
    if (!lastOutput.empty()) {
        SetWindowTextW(mainState.controls[CTL_OUTPUT], utf8ToWide(lastOutput).c_str());
    }
    // The speaker count and clips choice of the last run; members of
    // another type or out of range are left at the defaults.
    if (!config.is_object()) {
        return;
    }
    if (const auto speakers = config.find("last_speakers"); speakers != config.end() && speakers->is_number_integer()) {
        const int count = speakers->get<int>();
        if (count >= FIRST_SPEAKER_COUNT && count <= LAST_SPEAKER_COUNT) {
            SendMessageW(mainState.controls[CTL_SPEAKERS], CB_SETCURSEL, count - FIRST_SPEAKER_COUNT, 0);
        }
    }
    if (const auto clips = config.find("last_clips"); clips != config.end() && clips->is_boolean()) {
        SendMessageW(mainState.controls[CTL_CLIPS], BM_SETCHECK, clips->get<bool>() ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

RunRequest requestFromWindow()
{
    const std::wstring input = fieldText(CTL_INPUT);
    const std::wstring output = fieldText(CTL_OUTPUT);
    const std::wstring label = fieldText(CTL_LABEL);
    const int speakerIndex = static_cast<int>(SendMessageW(mainState.controls[CTL_SPEAKERS], CB_GETCURSEL, 0, 0));
    const int checkState = static_cast<int>(SendMessageW(mainState.controls[CTL_CLIPS], BM_GETCHECK, 0, 0));
    return makeRunRequest(input, output, label, speakerIndex, checkState);
}

void startRunFromWindow()
{
    RunRequest request = requestFromWindow();
    // With the queue empty, OK runs what the input field holds, as it always did.
    if (runQueue.items.empty()) {
        launchRun(request);
        return;
    }
    if (inputRestored) {
        request.inputPath.clear();
    }
    startQueue(QueueStart{request, false});
}

void startSingleRunFromWindow()
{
    launchRun(requestFromWindow());
}

void takeRecordings(const std::vector<std::wstring>& paths, bool toQueue)
{
    if (runState.running || queueRunning() || paths.empty()) {
        return;
    }
    if (!toQueue && paths.size() == 1 && runQueue.items.empty() && pathKind(paths.front()) != PathKind::Folder) {
        SetWindowTextW(mainState.controls[CTL_INPUT], paths.front().c_str());
        return;
    }
    // The recording the user put in the input field was the first one: it
    // leads the queue. One restored from the last session was not chosen now.
    std::wstring lead;
    if (const std::wstring input = cleanPathField(fieldText(CTL_INPUT));
        runQueue.items.empty() && !inputRestored && !input.empty() && pathKind(input) == PathKind::File) {
        lead = input;
    }
    addToRunQueueLater(paths, std::move(lead));
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
        if (!runBusy()) {
            openSettingsDialog(mainState.instance, mainState.mainWindow, applyUiLanguage);
        }
        return true;
    case IDM_LOG_COPY:
        SendMessageW(mainState.controls[CTL_LOG], WM_COPY, 0, 0);
        return true;
    case IDM_LOG_SELECT_ALL:
        SendMessageW(mainState.controls[CTL_LOG], EM_SETSEL, 0, -1);
        return true;
    case IDM_SAVE_LOG:
        saveLog();
        return true;
    case IDM_CLEAR_LOG:
        if (!runState.running) {
            clearLog();
        }
        return true;
    case IDM_QUEUE_REMOVE:
    case IDM_QUEUE_OPEN:
    case IDM_QUEUE_OPEN_LOG:
    case IDM_QUEUE_RUN_AGAIN:
    case IDM_QUEUE_CLEAR_FINISHED:
        return handleQueueCommand(id);
    case IDM_OPEN_PROGRAM_FOLDER:
        openFolder(executableDirectory());
        return true;
    case IDM_STOP_AFTER:
        toggleStopAfterThis();
        return true;
    case IDM_WHEN_DONE_NOTHING:
        chooseWhenDone(WhenDone::Nothing);
        return true;
    case IDM_WHEN_DONE_SLEEP:
        chooseWhenDone(WhenDone::Sleep);
        return true;
    case IDM_WHEN_DONE_SHUT_DOWN:
        chooseWhenDone(WhenDone::ShutDown);
        return true;
    case IDC_EDIT_INPUT:
        if (notification == EN_CHANGE) {
            inputRestored = false; // typed, pasted, picked or dropped
        }
        return false;
    case IDC_LINK_OFFICIAL:
        if (notification == STN_CLICKED) {
            ShellExecuteW(nullptr, L"open", OFFICIAL_PAGE_URL, nullptr, nullptr, SW_SHOWNORMAL);
        }
        return true;
    default:
        return false;
    }
}

void showLogMenu(POINT screen)
{
    const UniqueMenu menu(CreatePopupMenu());
    if (menu == nullptr) {
        return;
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(mainState.controls[CTL_LOG], EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    AppendMenuW(menu.get(), MF_STRING | (start == end ? MF_GRAYED : 0), IDM_LOG_COPY, uiText(T_MENU_COPY));
    AppendMenuW(menu.get(), MF_STRING, IDM_LOG_SELECT_ALL, uiText(T_MENU_SELECT_ALL));
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, IDM_SAVE_LOG, uiText(T_MENU_SAVE_LOG));
    AppendMenuW(menu.get(), MF_STRING | (runState.running ? MF_GRAYED : 0), IDM_CLEAR_LOG, uiText(T_MENU_CLEAR_LOG));
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, screen.x, screen.y, 0, mainState.mainWindow, nullptr);
}

HACCEL mainAccelerators()
{
    static const UniqueAccelerators table = [] {
        ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'S', IDM_SAVE_LOG}};
        return UniqueAccelerators(CreateAcceleratorTableW(keys, 1));
    }();
    return table.get();
}
