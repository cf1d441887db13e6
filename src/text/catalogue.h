// Every text the front-end shows of its own, in six languages. Lookups read
// currentLanguage at the moment they are made and hand out the stored text,
// which lives as long as the program.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

using LanguageIndex = int;
constexpr int LANGUAGE_COUNT = 6;

enum TextId : int {
    T_APP_TITLE = 0,
    T_LBL_INPUT = 1,
    T_BTN_BROWSE = 2,
    T_LBL_OUTPUT = 3,
    T_LBL_LABEL = 4,
    T_CHK_CLIPS = 5,
    T_LBL_SPEAKERS = 6,
    T_BTN_SETTINGS = 7,
    T_LBL_LOG = 8,
    T_BTN_OK = 9,
    T_BTN_CANCEL = 10,
    T_MENU_SETTINGS = 11,
    T_MENU_ACCOUNT = 12,
    T_DLG_TITLE = 13,
    T_DLG_KEY_ID = 14,
    T_DLG_KEY_SECRET = 15,
    T_DLG_APPKEY = 16,
    T_DLG_REGION = 17,
    T_DLG_BUCKET = 18,
    T_DLG_LANG = 19,
    T_DLG_NOTE = 20,
    T_DLG_OK = 21,
    T_DLG_CANCEL = 22,
    T_ERR_NO_FILE = 23,
    T_ERR_NO_ENGINE = 24,
    T_ERR_START = 25,
    T_MSG_DONE = 26,
    T_MSG_FAILED = 27,
    T_MSG_CANCELLING = 28,
    T_MSG_HINT = 29,
    T_ASK_EXIT = 30,
    T_ERR_DLG_EMPTY = 31,
    T_ERR_NEED_ACCOUNT = 32,
    T_LOG_START = 33,
    T_LINK_OFFICIAL = 34,
    T_ERR_SAVE_CONFIG = 35,  // "{0}" takes the configuration file's path
    T_ERR_BAD_LABEL = 36,
    T_MSG_OPEN_FAILED = 37,  // "{0}" takes the result folder
    T_MENU_COPY = 38,
    T_MENU_SELECT_ALL = 39,
    T_MENU_SAVE_LOG = 40,    // with its shortcut after a tab
    T_MENU_CLEAR_LOG = 41,
    T_LOG_EARLIER = 42,      // "{0}" takes how many earlier lines the pane leaves out
    T_ERR_SAVE_LOG = 43,     // "{0}" takes the chosen file
    T_COL_RECORDING = 44,
    T_COL_STATE = 45,
    T_COL_RESULT = 46,
    T_STATE_WAITING = 47,
    T_STATE_RUNNING = 48,
    T_STATE_DONE = 49,
    T_STATE_FAILED = 50,
    T_STATE_CANCELLED = 51,
    T_STATE_INTERRUPTED = 52,
    T_MENU_REMOVE = 53,  // with its key after a tab
    T_MENU_OPEN_RESULT = 54,
    T_MENU_RUN_AGAIN = 55,
    T_MENU_CLEAR_FINISHED = 56,
    T_ERR_NO_RECORDINGS = 57,  // "{0}" takes the folder
    T_LOG_SKIPPED = 58,  // "{0}" takes how many files
    T_LOG_QUEUE_SUMMARY = 59,  // "{0}".."{3}": done, failed, cancelled, not run
    T_ERR_FOLDER_UNREADABLE = 60,  // "{0}" takes the folder
    T_ERR_PATH_TOO_LONG = 61,  // "{0}" takes the path
    T_LOG_QUEUE_BROKEN = 62,  // "{0}" takes the backup
    T_LOG_QUEUE_NOT_SAVED = 63,  // "{0}" takes queue.json's path
    T_RESULT_EXIT_CODE = 64,  // "{0}" takes the exit code
    T_ERR_DEVICE_OUTPUT = 65,
    T_ERR_NEED_LABEL = 66,
    T_ERR_INPUT_IS_FOLDER = 67,
    T_ERR_LABEL_TOO_LONG = 68,
    T_LOG_CONFIG_RESET = 69,  // "{0}" takes the backup
    T_ERR_CONFIG_IN_USE = 70,  // "{0}" takes the configuration file
    T_LOG_QUEUE_UNREAD = 71,  // "{0}" takes queue.json's path
    T_ERR_ITEM_NAME = 72,  // "{0}" takes the recording
    T_LOG_QUEUE_ELSEWHERE = 73,  // "{0}" takes queue.json's path
    T_ERR_COMMAND_TOO_LONG = 74,
    T_ERR_OUTPUT_UNUSABLE = 75,  // "{0}" takes the output folder
    T_LOG_NAMED_AGAIN = 76,  // "{0}" takes how many recordings
    T_LOG_LEFT_WAITING = 77,  // "{0}" takes how many recordings
    T_ASK_QUEUE_NOT_KEPT = 78,  // "{0}" takes queue.json's path, "{1}" how many recordings
    T_LOG_QUEUE_TAKEN_OVER = 79,  // "{0}" takes queue.json's path
    T_LIST_ADDING = 80,  // "{0}" takes how many recordings were found so far
    T_LOG_QUEUE_ITEMS_DROPPED = 81,  // "{0}" how many entries, "{1}" the first, "{2}" the backup
    T_QUEUE_ENTRY = 82,  // "{0}" takes an entry's position in queue.json
    T_LOG_QUEUE_IS_FOLDER = 83,  // "{0}" takes queue.json's path
    T_LOG_QUEUE_DISK_FULL = 84,  // "{0}" takes queue.json's path
    T_ERR_ITEM_NAME_NO_LABEL = 85,  // "{0}" takes the recording
    T_ERR_ITEM_NAMES = 86,  // "{0}" how many recordings, "{1}" a list of them, one a line
    T_ERR_ITEM_NAMES_NO_LABEL = 87,  // "{0}" how many recordings, "{1}" a list of them, one a line
    T_MORE_ITEMS = 88,  // "{0}" takes how many more
    T_RESULT_GONE = 89,
    T_LOG_RESULT_GONE = 90,  // "{0}" takes the result folder
    T_LOG_FILE = 91,  // "{0}" takes the run's log file
    T_LOG_NO_LOG_FILES = 92,  // "{0}" takes the logs folder
    T_MENU_OPEN_LOG = 93,
    T_POWER_REASON_RUN = 94,  // "{0}" takes the recording's name
    T_POWER_REASON_QUEUE = 95,  // "{0}" the position, "{1}" how many in all
    T_MENU_QUEUE = 96,
    T_MENU_STOP_AFTER = 97,
    T_MENU_WHEN_DONE = 98,
    T_MENU_DO_NOTHING = 99,
    T_MENU_SLEEP = 100,
    T_MENU_SHUT_DOWN = 101,
    T_COUNTDOWN_SLEEP = 102,  // "{0}" takes the seconds left
    T_COUNTDOWN_SHUT_DOWN = 103,  // "{0}" takes the seconds left
    T_BTN_SLEEP_NOW = 104,
    T_BTN_SHUT_DOWN_NOW = 105,
    T_LOG_STAYS_ON = 106,
    T_LOG_SLEEPING = 107,
    T_LOG_SHUTTING_DOWN = 108,
    T_LOG_WHEN_DONE_REFUSED = 109,
    T_LOG_STOP_AFTER = 110,
    T_LOG_GO_ON = 111,
    T_LOG_SESSION_END = 112,
    T_LOG_RESUMED = 113,
    T_MENU_OPEN_PROGRAM_FOLDER = 114,
    T_ERR_NOTHING_WAITS = 115,
    T_VERB_QUEUE = 116,  // Explorer's verb on recordings and folders; also the string resource IDS_VERB_QUEUE
    T_LOG_CLOSED_DURING_RUN = 117,  // the last line of a run's log file when the window closes during it
    TEXT_COUNT
};

enum TipId : int {
    TIP_INPUT = 0,
    TIP_OUTPUT = 1,
    TIP_LABEL = 2,
    TIP_SPEAKERS = 3,
    TIP_CLIPS = 4,
    TIP_OK = 5,
    TIP_CANCEL = 6,
    TIP_SETTINGS = 7,
    TIP_KEY_ID = 8,
    TIP_KEY_SECRET = 9,
    TIP_APPKEY = 10,
    TIP_REGION = 11,
    TIP_BUCKET = 12,
    TIP_LANG = 13,
    TIP_COUNT
};

struct LanguageInfo {
    const char* code;           // stored as ui_lang
    const wchar_t* displayName; // always in the language itself
};

// In LanguageIndex order: zh, en, ja, ko, de, fr.
extern const LanguageInfo LANGUAGES[LANGUAGE_COUNT];

// The UI language of the running program; set by loading the configuration
// and by confirming the settings dialog, always 0..5.
extern LanguageIndex currentLanguage;

const wchar_t* uiText(TextId id);
const wchar_t* tipText(TipId id);
const wchar_t* uiTextIn(LanguageIndex language, TextId id);
const wchar_t* tipTextIn(LanguageIndex language, TipId id);

// Exact, case-sensitive match on the six codes; anything else is Chinese (0).
LanguageIndex languageIndexFromCode(std::string_view code);

// The first "{0}" of text replaced by value; later ones and texts without it stay.
std::wstring fillPlaceholder(std::wstring_view text, std::wstring_view value);
// "{0}", "{1}", ... replaced by the values in turn, each where it first
// follows the value before: texts give their placeholders in order.
std::wstring fillPlaceholders(std::wstring_view text, std::initializer_list<std::wstring_view> values);
std::wstring fillPlaceholders(std::wstring_view text, const std::vector<std::wstring>& values);

// A message box captioned with the application title of the current
// language; the second form fills the text's "{0}" with value.
int showMessage(HWND owner, TextId text, UINT flags);
int showMessage(HWND owner, TextId text, std::wstring_view value, UINT flags);
int showMessage(HWND owner, TextId text, const std::vector<std::wstring>& values, UINT flags);
