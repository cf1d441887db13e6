// The configuration file aliyun_config.json beside the executable: account
// values, UI language and the last used paths. Shared with the engine, which
// reads the account values from it. Nothing caches it: every reader loads it
// fresh and every change is written back at once.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <optional>
#include <string>

using AppConfig = nlohmann::json;

// The document the settings dialog edits; reloaded each time it opens.
extern AppConfig settingsConfig;

std::wstring configFilePath();
AppConfig defaultConfig();

// Reads the file and sets currentLanguage from ui_lang. A missing file is
// created with the defaults; an unusable one is kept first under a backup
// name of its own (aliyun_config.json.bak, then .2.bak, ...) and then
// replaced by the defaults. A member of the wrong type costs that member
// only (the file is kept the same way first). A UTF-16 file with a
// byte-order mark is read as the text it is, and written as UTF-8 at the
// next save after a backup. A file that another program holds is tried
// again for about a second. A file that cannot be read, or whose backup
// cannot be written, is left as it is and the defaults are used in memory
// only (the language stays as it was).
AppConfig loadConfig();
AppConfig loadConfigFile(const std::wstring& path);

// The same, and what the user should be told about it.
enum class ConfigProblem {
    None,
    Reset, // the file was unusable, or a member had the wrong type: kept as backup, then repaired
    InUse, // another program held it for a second: nothing read, nothing written, the language kept
};
struct LoadedConfig {
    AppConfig config;
    ConfigProblem problem = ConfigProblem::None;
    std::wstring backup; // where the file was kept, when reset
};
LoadedConfig loadConfigReport();
LoadedConfig loadConfigFileReport(const std::wstring& path);

// Sets the members the caller owns (change sets them) on the file as it
// stands now, so that whatever else it holds survives: members written
// meanwhile by others, unknown ones, and the whole file when it could not
// be read. A missing or unusable file starts from the defaults, as loading
// would. Returns the document written, or nothing when the file cannot be
// read or written (then it is left as it was).
using ConfigChange = std::function<void(AppConfig&)>;
std::optional<AppConfig> updateConfig(const ConfigChange& change);
std::optional<AppConfig> updateConfigFile(const std::wstring& path, const ConfigChange& change);

// Writes the whole document; false when the bytes did not reach the file.
bool saveConfigFile(const AppConfig& config, const std::wstring& path);

// Indent 2, members in key order, raw UTF-8, no final line end.
std::string serializeConfig(const AppConfig& config);

// A string member's text. Absent members, members of another type and
// documents that are no object all read as the empty text.
std::string configText(const AppConfig& config, const char* key);

// A true/false member, or the fallback when it is absent or of another type
// (keep_awake, which users set by hand: false lets the computer sleep
// during runs).
bool configFlag(const AppConfig& config, const char* key, bool fallback);
