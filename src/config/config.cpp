#include "config/config.h"

#include "text/catalogue.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

#include <windows.h>

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

enum class FileState { Usable, Missing, Unusable, Unreadable, Locked };

struct FileContents {
    FileState state;
    AppConfig document; // when usable
    std::string bytes;  // as read, for a backup
    // Usable, but not as it stood: a member of the wrong type was dropped
    // (repaired), or the text was UTF-16 (converted). Kept as a backup
    // before it is written over.
    bool repaired = false;
    bool converted = false;
};

// Members whose type the program relies on; one of another type is dropped,
// not the whole file. Other members of another type read as empty text.
constexpr const char* TYPED_MEMBERS[] = {"ui_lang"};

// Notepad's "Unicode": UTF-16 with a byte-order mark, turned into UTF-8.
std::optional<std::string> fromUtf16(const std::string& bytes)
{
    const bool little = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const bool big = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    if ((!little && !big) || bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        text += static_cast<wchar_t>(little ? first | (second << 8) : (first << 8) | second);
    }
    return wideToUtf8(text);
}

AppConfig parseConfig(const std::string& bytes, bool& repaired)
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
    if (!parsed.is_object()) {
        throw std::invalid_argument("configuration is no object");
    }
    for (const char* member : TYPED_MEMBERS) {
        if (const auto found = parsed.find(member); found != parsed.end() && !found->is_string()) {
            parsed.erase(found);
            repaired = true;
        }
    }
    return parsed;
}

FileContents readConfigFile(const std::wstring& path)
{
    FileContents contents{FileState::Unreadable, AppConfig(), std::string()};
    ReadResult read = readWholeFile(path, contents.bytes);
    // A backup or sync tool holds a file only for a moment.
    for (int attempt = 0; attempt < 10 && read == ReadResult::Locked; ++attempt) {
        Sleep(100);
        read = readWholeFile(path, contents.bytes);
    }
    if (read == ReadResult::Missing) {
        contents.state = FileState::Missing;
    } else if (read == ReadResult::Locked) {
        contents.state = FileState::Locked;
    } else if (read == ReadResult::Ok) {
        try {
            const std::optional<std::string> converted = fromUtf16(contents.bytes);
            contents.converted = converted.has_value();
            contents.document = parseConfig(converted.value_or(contents.bytes), contents.repaired);
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
        if ((contents.repaired || contents.converted) && keepNumberedBackup(path, contents.bytes).empty()) {
            return std::nullopt;
        }
        return std::move(contents.document);
    case FileState::Missing:
        return defaultConfig();
    case FileState::Unusable:
        if (!keepNumberedBackup(path, contents.bytes).empty()) {
            return defaultConfig();
        }
        return std::nullopt;
    case FileState::Unreadable:
    case FileState::Locked:
        break;
    }
    return std::nullopt;
}

} // namespace

LoadedConfig loadConfigFileReport(const std::wstring& path)
{
    FileContents contents = readConfigFile(path);
    LoadedConfig loaded;
    if (contents.state == FileState::Usable && !contents.repaired) {
        currentLanguage = languageIndexFromCode(contents.document.value("ui_lang", "zh"));
        loaded.config = std::move(contents.document);
        return loaded;
    }
    if (contents.state == FileState::Locked || contents.state == FileState::Unreadable) {
        // Out of reach, not empty: nothing is written, the language stays.
        loaded.config = defaultConfig();
        loaded.problem = contents.state == FileState::Locked ? ConfigProblem::InUse : ConfigProblem::None;
        return loaded;
    }
    const bool wasUsable = contents.state == FileState::Usable;
    const bool wasMissing = contents.state == FileState::Missing;
    // What was usable of a repaired file stays; anything else starts again.
    const std::string original = contents.bytes;
    std::optional<AppConfig> document = startingDocument(path, contents);
    if (document) {
        saveConfigFile(*document, path);
        if (!wasMissing) {
            loaded.problem = ConfigProblem::Reset;
            loaded.backup = keepNumberedBackup(path, original); // finds the backup just written
        }
    }
    loaded.config = document && wasUsable ? std::move(*document) : defaultConfig();
    currentLanguage = languageIndexFromCode(loaded.config.value("ui_lang", "zh"));
    return loaded;
}

AppConfig loadConfigFile(const std::wstring& path)
{
    return loadConfigFileReport(path).config;
}

LoadedConfig loadConfigReport()
{
    return loadConfigFileReport(configFilePath());
}

AppConfig loadConfig()
{
    return loadConfigReport().config;
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

bool configFlag(const AppConfig& config, const char* key, bool fallback)
{
    if (!config.is_object()) {
        return fallback;
    }
    const auto member = config.find(key);
    return member != config.end() && member->is_boolean() ? member->get<bool>() : fallback;
}
