#include "config/config.h"

#include "text/catalogue.h"
#include "util/files.h"
#include "util/paths.h"

AppConfig settingsConfig;

std::wstring configFilePath()
{
    return executableDirectory() + L"\\aliyun_config.json";
}

AppConfig defaultConfig()
{
    return AppConfig{
        {"access_key_id", ""},
        {"access_key_secret", ""},
        {"appkey", ""},
        {"region", ""},
        {"oss_bucket", ""},
        {"ffmpeg_path", "embedded"},
        {"ui_lang", "zh"},
        {"last_input", ""},
        {"last_output", ""},
    };
}

std::string serializeConfig(const AppConfig& config)
{
    try {
        return config.dump(2, ' ', false, AppConfig::error_handler_t::strict);
    } catch (const std::exception&) {
        // Only text that came from neither the parser nor a UTF-16
        // conversion could get here; keep the rest of the document.
        return config.dump(2, ' ', false, AppConfig::error_handler_t::replace);
    }
}

bool saveConfigFile(const AppConfig& config, const std::wstring& path)
{
    return writeWholeFileSafely(path, serializeConfig(config));
}

namespace {

// Deeper documents are refused: saving one again (every run launch does)
// would recurse once per level and could overflow the stack.
constexpr int MAX_NESTING = 256;

AppConfig parseConfig(const std::string& bytes)
{
    const AppConfig::parser_callback_t limitDepth = [](int depth, AppConfig::parse_event_t, AppConfig&) {
        if (depth > MAX_NESTING) {
            throw std::length_error("configuration nested too deeply");
        }
        return true;
    };
    return AppConfig::parse(bytes, limitDepth, true, false);
}

} // namespace

AppConfig loadConfigFile(const std::wstring& path)
{
    std::string bytes;
    const ReadResult read = readWholeFile(path, bytes);
    if (read == ReadResult::Ok) {
        try {
            AppConfig parsed = parseConfig(bytes);
            const std::string code = parsed.value("ui_lang", "zh");
            currentLanguage = languageIndexFromCode(code);
            return parsed;
        } catch (const std::exception&) {
            // The defaults replace an unusable file below; its exact bytes
            // are kept first so the account values can be recovered by hand.
            writeWholeFileSafely(path + L".bak", bytes);
        }
    }
    AppConfig defaults = defaultConfig();
    // A file that is there but cannot be read (locked, access denied) cannot
    // be backed up, so it is not overwritten either.
    if (read != ReadResult::Unreadable) {
        saveConfigFile(defaults, path);
    }
    currentLanguage = languageIndexFromCode(defaults["ui_lang"].get<std::string>());
    return defaults;
}

AppConfig loadConfig()
{
    return loadConfigFile(configFilePath());
}

void saveConfig(const AppConfig& config)
{
    saveConfigFile(config, configFilePath());
}

std::string configText(const AppConfig& config, const char* key)
{
    if (!config.is_object()) {
        return {};
    }
    const auto member = config.find(key);
    if (member == config.end() || !member->is_string()) {
        return {};
    }
    return member->get<std::string>();
}
