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

enum class FileState { Usable, Missing, Unusable, Unreadable };

struct FileContents {
    FileState state;
    AppConfig document; // when usable
    std::string bytes;  // when unusable, for the backup
};

AppConfig parseConfig(const std::string& bytes)
{
    // The callback's depth counts the containers already open around the
    // one starting, so the outermost object is at depth 0.
    const AppConfig::parser_callback_t limitDepth = [](int depth, AppConfig::parse_event_t event, AppConfig&) {
        const bool opening = event == AppConfig::parse_event_t::object_start
            || event == AppConfig::parse_event_t::array_start;
        if (opening && depth >= MAX_NESTING) {
            throw std::length_error("configuration nested too deeply");
        }
        return true;
    };
    AppConfig parsed = AppConfig::parse(bytes, limitDepth, true, false);
    // Fails on a top level that is no object and on a ui_lang of another type.
    parsed.value("ui_lang", "zh");
    return parsed;
}

FileContents readConfigFile(const std::wstring& path)
{
    FileContents contents{FileState::Unreadable, AppConfig(), std::string()};
    const ReadResult read = readWholeFile(path, contents.bytes);
    if (read == ReadResult::Missing) {
        contents.state = FileState::Missing;
    } else if (read == ReadResult::Ok) {
        try {
            contents.document = parseConfig(contents.bytes);
            contents.state = FileState::Usable;
        } catch (const std::exception&) {
            contents.state = FileState::Unusable;
        }
    }
    return contents;
}

// The document a change starts from, or nothing when the file must not be
// written over: one that cannot be read, or whose backup failed.
std::optional<AppConfig> startingDocument(const std::wstring& path, FileContents& contents)
{
    switch (contents.state) {
    case FileState::Usable:
        return std::move(contents.document);
    case FileState::Missing:
        return defaultConfig();
    case FileState::Unusable:
        if (!keepNumberedBackup(path, contents.bytes).empty()) {
            return defaultConfig();
        }
        return std::nullopt;
    case FileState::Unreadable:
        break;
    }
    return std::nullopt;
}

} // namespace

AppConfig loadConfigFile(const std::wstring& path)
{
    FileContents contents = readConfigFile(path);
    if (contents.state == FileState::Usable) {
        currentLanguage = languageIndexFromCode(contents.document.value("ui_lang", "zh"));
        return std::move(contents.document);
    }
    if (std::optional<AppConfig> defaults = startingDocument(path, contents)) {
        saveConfigFile(*defaults, path);
    }
    AppConfig defaults = defaultConfig();
    currentLanguage = languageIndexFromCode(defaults["ui_lang"].get<std::string>());
    return defaults;
}

AppConfig loadConfig()
{
    return loadConfigFile(configFilePath());
}

std::optional<AppConfig> updateConfigFile(const std::wstring& path, const ConfigChange& change)
{
    FileContents contents = readConfigFile(path);
    std::optional<AppConfig> document = startingDocument(path, contents);
    if (!document) {
        return std::nullopt;
    }
    change(*document);
    if (!saveConfigFile(*document, path)) {
        return std::nullopt;
    }
    return document;
}

std::optional<AppConfig> updateConfig(const ConfigChange& change)
{
    return updateConfigFile(configFilePath(), change);
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
