// Stand-in for the speaker-separation engine vuruzuz_odurevazu.exe, for the
// demo and the tests. It accepts the real engine's command line, checks it,
// prints progress and writes an honest note of what it received into the
// result folder. It performs no separation and says so.
//
// For tests its behaviour can be scripted through the environment, which it
// inherits through the front-end:
//   STANDIN_RECORD=<file>   write the raw command line and argv there (JSON)
//   STANDIN_DELAY_MS=<n>    pause between progress lines (default 150)
//   STANDIN_SCRIPT=<steps>  do these steps instead of the normal work; steps
//                           are separated by ';' or new lines:
//     hex:<hex bytes>       write these bytes in one write ("e4 b8" or "e4b8")
//     text:<utf-8 text>     write the text and a line feed
//     lines:<count>:<width> write count numbered lines of width bytes each
//     long:<bytes>          write one line of that many bytes, no line feed
//     zero                  a write of zero bytes
//     sleep:<ms>            pause
//     child:<ms>            start a helper that holds the output for ms
//                           (0: until killed) and outlives this process
//     await:<file>          wait (at most two minutes) until the file exists,
//                           so a test can act between two steps
//     hang                  wait until killed
//     exit:<code>           end now with this exit code (decimal, unsigned)
// A recording whose bytes are "standin:<steps>" runs those steps instead of
// the normal work, so each item of a queue can be given its own.
#include "config/config.h"
#include "run/run_request.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

#include <nlohmann/json.hpp>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

HANDLE output()
{
    return GetStdHandle(STD_OUTPUT_HANDLE);
}

void writeBytes(std::string_view bytes)
{
    DWORD written = 0;
    WriteFile(output(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void say(const std::wstring& text)
{
    writeBytes(wideToUtf8(text) + "\n");
}

std::wstring environment(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

void record(int argc, wchar_t** argv)
{
    const std::wstring file = environment(L"STANDIN_RECORD");
    if (file.empty()) {
        return;
    }
    nlohmann::json note;
    note["command_line"] = wideToUtf8(GetCommandLineW());
    note["argv"] = nlohmann::json::array();
    for (int index = 0; index < argc; ++index) {
        note["argv"].push_back(wideToUtf8(argv[index]));
    }
    std::ofstream(std::filesystem::path(file), std::ios::binary) << note.dump(2);
}

std::string hexBytes(std::string_view text)
{
    std::string bytes;
    std::string digits;
    for (const char unit : text) {
        if (std::isxdigit(static_cast<unsigned char>(unit))) {
            digits += unit;
            if (digits.size() == 2) {
                bytes += static_cast<char>(std::strtoul(digits.c_str(), nullptr, 16));
                digits.clear();
            }
        }
    }
    return bytes;
}

void writeNumberedLines(unsigned long count, unsigned long width)
{
    // Buffered in large writes, as a fast engine would.
    std::string block;
    for (unsigned long line = 1; line <= count; ++line) {
        char head[32];
        const int length = std::snprintf(head, sizeof head, "line %08lu ", line);
        std::string text(head, static_cast<size_t>(length));
        if (text.size() < width) {
            text.append(width - text.size(), 'x');
        }
        block += text;
        block += '\n';
        if (block.size() >= 65536) {
            writeBytes(block);
            block.clear();
        }
    }
    writeBytes(block);
}

void startHelper(const std::wstring& milliseconds)
{
    std::wstring self(32768, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    std::wstring commandLine = L"\"" + self + L"\" --standin-helper " + milliseconds;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION started = {};
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", nullptr);
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
            &startup, &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
}

int runScript(const std::string& script)
{
    size_t start = 0;
    while (start <= script.size()) {
        size_t end = script.find_first_of(";\n", start);
        if (end == std::string::npos) {
            end = script.size();
        }
        const std::string step = script.substr(start, end - start);
        start = end + 1;
        const size_t colon = step.find(':');
        const std::string verb = step.substr(0, colon);
        const std::string argument = colon == std::string::npos ? std::string() : step.substr(colon + 1);
        if (verb == "hex") {
            writeBytes(hexBytes(argument));
        } else if (verb == "text") {
            writeBytes(argument + "\n");
        } else if (verb == "lines") {
            const size_t second = argument.find(':');
            writeNumberedLines(std::strtoul(argument.c_str(), nullptr, 10),
                second == std::string::npos ? 80 : std::strtoul(argument.c_str() + second + 1, nullptr, 10));
        } else if (verb == "long") {
            unsigned long left = std::strtoul(argument.c_str(), nullptr, 10);
            const std::string block(65536, 'x');
            while (left > 0) {
                const unsigned long size = left < block.size() ? left : static_cast<unsigned long>(block.size());
                writeBytes(std::string_view(block.data(), size));
                left -= size;
            }
        } else if (verb == "zero") {
            writeBytes({});
        } else if (verb == "sleep") {
            Sleep(std::strtoul(argument.c_str(), nullptr, 10));
        } else if (verb == "child") {
            startHelper(utf8ToWide(argument.empty() ? "0" : argument));
        } else if (verb == "await") {
            const std::wstring file = utf8ToWide(argument);
            for (int waited = 0; waited < 120000 && GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES;
                 waited += 20) {
                Sleep(20);
            }
        } else if (verb == "hang") {
            Sleep(INFINITE);
        } else if (verb == "exit") {
            return static_cast<int>(std::strtoul(argument.c_str(), nullptr, 10));
        }
    }
    return 0;
}

// Reads the shared configuration without ever writing it: that is the front-end's.
AppConfig readConfig()
{
    std::string bytes;
    if (readWholeFile(executableDirectory() + L"\\aliyun_config.json", bytes) != ReadResult::Ok) {
        return AppConfig::object();
    }
    try {
        return AppConfig::parse(bytes, nullptr, true, false);
    } catch (const std::exception&) {
        return AppConfig::object();
    }
}

struct EngineArguments {
    RunRequest request;
    bool valid = false;
    std::wstring problem;
};

EngineArguments parseArguments(int argc, wchar_t** argv)
{
    EngineArguments parsed;
    if (argc < 2) {
        parsed.problem = L"missing input file";
        return parsed;
    }
    parsed.request.inputPath = argv[1];
    bool root = false, label = false, speakers = false;
    for (int index = 2; index < argc; ++index) {
        const std::wstring option = argv[index];
        const bool hasValue = index + 1 < argc;
        if (option == L"--out-root" && hasValue) {
            parsed.request.outputRoot = argv[++index];
            root = true;
        } else if (option == L"--label" && hasValue) {
            parsed.request.label = argv[++index];
            label = true;
        } else if (option == L"--spk-num" && hasValue) {
            wchar_t* end = nullptr;
            const std::wstring value = argv[++index];
            parsed.request.speakerCount = static_cast<int>(std::wcstol(value.c_str(), &end, 10));
            if (value.empty() || *end != L'\0') {
                parsed.problem = L"--spk-num needs a number, got \"" + value + L"\"";
                return parsed;
            }
            speakers = true;
        } else if (option == L"--clips") {
            parsed.request.makeClips = true;
        } else {
            parsed.problem = L"unknown argument \"" + option + L"\"";
            return parsed;
        }
    }
    if (!root || !label || !speakers) {
        parsed.problem = L"--out-root, --label and --spk-num are all required";
        return parsed;
    }
    parsed.valid = true;
    return parsed;
}

int work(const RunRequest& request)
{
    const std::wstring delayText = environment(L"STANDIN_DELAY_MS");
    const DWORD delay = delayText.empty() ? 150 : std::wcstoul(delayText.c_str(), nullptr, 10);

    const AppConfig config = readConfig();
    for (const char* key : {"access_key_id", "access_key_secret", "appkey", "region", "oss_bucket"}) {
        if (configText(config, key).empty()) {
            say(L"ERROR: the account value " + utf8ToWide(key) + L" is missing in aliyun_config.json");
            return 3;
        }
    }
    if (!pathExists(request.inputPath)) {
        say(L"ERROR: input file not found: " + request.inputPath);
        return 2;
    }
    if (request.speakerCount < 2 || request.speakerCount > 10) {
        say(L"ERROR: the number of speakers must be 2 to 10, got " + std::to_wstring(request.speakerCount));
        return 2;
    }

    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring folder = deriveOutputFolder(
        request.outputRoot, dateFolderName(now.wYear, now.wMonth, now.wDay), runFolderName(request));
    const std::wstring steps[] = {
        L"Stand-in engine: this demo performs no speaker separation.",
        L"Input: " + request.inputPath,
        L"Speakers: " + std::to_wstring(request.speakerCount) + L", per-sentence clips: "
            + (request.makeClips ? L"yes" : L"no"),
        L"Region: " + utf8ToWide(configText(config, "region")) + L", bucket: "
            + utf8ToWide(configText(config, "oss_bucket")),
        L"[1/4] Converting (skipped by the stand-in) / 转码",
        L"[2/4] Uploading (skipped by the stand-in) / 上传",
        L"[3/4] Recognising (skipped by the stand-in) / 認識 / 인식",
        L"[4/4] Writing a note of what was received to " + folder,
    };
    for (const std::wstring& step : steps) {
        say(step);
        Sleep(delay);
    }
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(folder), ignored);
    nlohmann::json note;
    note["engine"] = "stand-in: no separation was performed";
    note["input"] = wideToUtf8(request.inputPath);
    note["out_root"] = wideToUtf8(request.outputRoot);
    note["label"] = wideToUtf8(request.label);
    note["speakers"] = request.speakerCount;
    note["clips"] = request.makeClips;
    std::ofstream(std::filesystem::path(folder) / L"stand-in-result.json", std::ios::binary) << note.dump(2) << "\n";
    say(L"Finished (stand-in).");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wstring(argv[1]) == L"--standin-helper") {
        const DWORD milliseconds = std::wcstoul(argv[2], nullptr, 10);
        Sleep(milliseconds == 0 ? INFINITE : milliseconds);
        return 0;
    }
    record(argc, argv);
    const std::wstring script = environment(L"STANDIN_SCRIPT");
    if (!script.empty()) {
        return runScript(wideToUtf8(script));
    }
    const EngineArguments parsed = parseArguments(argc, argv);
    if (!parsed.valid) {
        say(L"ERROR: " + parsed.problem);
        say(L"usage: vuruzuz_odurevazu.exe \"<input>\" --out-root \"<folder>\" --label \"<label>\" --spk-num <2-10> "
            L"[--clips]");
        return 2;
    }
    // A recording that holds "standin:<steps>" runs those steps: one item
    // of a queue can fail or wait while the others work.
    std::string bytes;
    if (readWholeFile(parsed.request.inputPath, bytes) == ReadResult::Ok && bytes.rfind("standin:", 0) == 0) {
        return runScript(bytes.substr(8));
    }
    return work(parsed.request);
}
