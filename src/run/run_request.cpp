#include "run/run_request.h"

#include "run/engine_contract.h"

#include <cwchar>
#include <filesystem>

namespace {

bool isSeparator(wchar_t unit)
{
    return unit == L'\\' || unit == L'/';
}

bool isDriveLetter(wchar_t unit)
{
    return (unit >= L'A' && unit <= L'Z') || (unit >= L'a' && unit <= L'z');
}

// A drive ("C:") or a network prefix ("\\server"); 0 when there is none.
size_t rootNameLength(std::wstring_view path)
{
    if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == L':') {
        return 2;
    }
    if (path.size() >= 3 && isSeparator(path[0]) && isSeparator(path[1]) && !isSeparator(path[2])) {
        size_t end = 2;
        while (end < path.size() && !isSeparator(path[end])) {
            ++end;
        }
        return end;
    }
    return 0;
}

} // namespace

RunRequest makeRunRequest(std::wstring_view inputText, std::wstring_view outputText, std::wstring_view labelText,
    int speakerIndex, int checkState)
{
    RunRequest request;
    request.inputPath = inputText;
    request.outputRoot = outputText.empty() ? std::wstring(DEFAULT_OUTPUT_ROOT) : std::wstring(outputText);
    request.label = labelText;
    request.speakerCount = speakerIndex + 2;
    request.makeClips = checkState == 1; // BST_CHECKED
    return request;
}

std::wstring quoteArgument(std::wstring_view value)
{
    std::wstring quoted;
    quoted.reserve(value.size() + 2);
    quoted += L'"';
    size_t backslashes = 0;
    for (const wchar_t unit : value) {
        if (unit == L'\\') {
            ++backslashes;
            continue;
        }
        if (unit == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted += unit;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring buildCommandLine(std::wstring_view enginePath, const RunRequest& request)
{
    std::wstring line = quoteArgument(enginePath);
    line += L' ';
    line += quoteArgument(request.inputPath);
    line += ARG_OUT_ROOT;
    line += quoteArgument(request.outputRoot);
    line += ARG_LABEL;
    line += quoteArgument(request.label);
    line += ARG_SPEAKERS;
    line += std::to_wstring(request.speakerCount);
    if (request.makeClips) {
        line += ARG_CLIPS;
    }
    return line;
}

bool accountComplete(const std::array<std::string, 5>& values)
{
    for (const std::string& value : values) {
        if (value.empty()) {
            return false;
        }
    }
    return true;
}

std::wstring fileStem(std::wstring_view path)
{
    const size_t root = rootNameLength(path);
    size_t nameStart = root;
    for (size_t at = root; at < path.size(); ++at) {
        if (isSeparator(path[at])) {
            nameStart = at + 1;
        }
    }
    std::wstring_view name = path.substr(nameStart);
    // An alternate data stream name is not part of the file name.
    if (const size_t colon = name.find(L':'); colon != std::wstring_view::npos) {
        name = name.substr(0, colon);
    }
    if (name.size() <= 1 || name == L"..") {
        return std::wstring(name);
    }
    if (name.back() == L'.') {
        return std::wstring(name.substr(0, name.size() - 1));
    }
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos || dot == 0) {
        return std::wstring(name);
    }
    return std::wstring(name.substr(0, dot));
}

std::wstring joinPath(std::wstring_view left, std::wstring_view right)
{
    // The Windows build of std::filesystem follows the platform's append
    // rules: absolute or other-drive right parts replace, rooted ones keep
    // only the drive, and "\" is the separator written.
    return (std::filesystem::path(left) / std::filesystem::path(right)).wstring();
}

std::wstring runFolderName(const RunRequest& request)
{
    return request.label.empty() ? fileStem(request.inputPath) : request.label;
}

std::wstring dateFolderName(int year, int month, int day)
{
    wchar_t buffer[32];
    swprintf(buffer, 32, L"%04d-%02d-%02d", year, month, day);
    return buffer;
}

std::wstring deriveOutputFolder(std::wstring_view outputRoot, std::wstring_view dateFolder,
    std::wstring_view runFolder)
{
    return joinPath(joinPath(outputRoot, dateFolder), runFolder);
}
