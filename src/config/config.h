// The configuration file aliyun_config.json beside the executable: account
// values, UI language and the last used paths. Shared with the engine, which
// reads the account values from it. Nothing caches it: every reader loads it
// fresh and every change is written back at once.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

using AppConfig = nlohmann::json;

// The document the settings dialog edits; reloaded each time it opens.
extern AppConfig settingsConfig;

std::wstring configFilePath();
AppConfig defaultConfig();

// Reads the file and sets currentLanguage from ui_lang. A missing or unusable
// file is replaced by the defaults (an unusable one is first kept as
// aliyun_config.json.bak). Never reports an error.
AppConfig loadConfig();
void saveConfig(const AppConfig& config);

// The same on a file of the caller's choosing.
AppConfig loadConfigFile(const std::wstring& path);
bool saveConfigFile(const AppConfig& config, const std::wstring& path);

// Indent 2, members in key order, raw UTF-8, no final line end.
std::string serializeConfig(const AppConfig& config);

// A string member's text. Absent members, members of another type and
// documents that are no object all read as the empty text.
std::string configText(const AppConfig& config, const char* key);
