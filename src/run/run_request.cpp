#include "run/run_request.h"

#include "run/engine_contract.h"

#include <cwchar>
#include <cwctype>

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

bool hasDrive(std::wstring_view path)
{
    return path.size() >= 2 && isDriveLetter(path[0]) && path[1] == L':';
}

bool sameDrive(std::wstring_view left, std::wstring_view right)
{
    return hasDrive(left) && hasDrive(right) && towupper(left[0]) == towupper(right[0]);
}

bool isBlank(wchar_t unit)
{
    return unit == L' ' || unit == L'\t';
}

} // namespace

std::wstring cleanPathField(std::wstring_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') {
        text = text.substr(1, text.size() - 2);
    }
    return std::wstring(text);
}

bool isValidFolderName(std::wstring_view name)
{
    if (name.empty() || name.size() > 255 || name == L"." || name == L"..") {
        return false;
    }
    for (const wchar_t unit : name) {
        if (unit < 32 || std::wstring_view(L"<>:\"/\\|?*").find(unit) != std::wstring_view::npos) {
            return false;
        }
    }
    if (name.back() == L'.' || name.back() == L' ') {
        return false;
    }
    return !isDeviceName(name);
}

bool isDeviceName(std::wstring_view name)
{
    // Device names stay devices whatever extension follows them.
    std::wstring base(name.substr(0, name.find(L'.')));
    while (!base.empty() && base.back() == L' ') {
        base.pop_back();
    }
    for (wchar_t& unit : base) {
        unit = towupper(unit);
    }
    static constexpr std::wstring_view DEVICES[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const std::wstring_view device : DEVICES) {
        if (base == device) {
            return true;
        }
    }
    const bool numbered = base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0);
    const wchar_t digit = numbered ? base[3] : 0;
    return numbered && ((digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3');
}

bool namesDevice(std::wstring_view path)
{
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !isSeparator(path[end])) {
            ++end;
        }
        if (end > start && isDeviceName(path.substr(start, end - start))) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::wstring exitCodeText(unsigned exitCode)
{
    std::wstring text = std::to_wstring(exitCode);
    if (exitCode >= 0x80000000u) {
        wchar_t hex[16];
        swprintf(hex, 16, L"0x%08X", exitCode);
        text += L" (" + std::wstring(hex) + L")";
    }
    return text;
}

RunRequest makeRunRequest(std::wstring_view inputText, std::wstring_view outputText, std::wstring_view labelText,
    int speakerIndex, int checkState)
{
    RunRequest request;
    request.inputPath = cleanPathField(inputText);
    request.outputRoot = cleanPathField(outputText);
    if (request.outputRoot.empty()) {
        request.outputRoot = DEFAULT_OUTPUT_ROOT;
    }
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
    const bool rightHasDrive = hasDrive(right);
    if (!right.empty() && !isSeparator(right[0]) && !rightHasDrive) {
        std::wstring joined(left);
        const bool bareDrive = left.size() == 2 && hasDrive(left);
        if (!left.empty() && !isSeparator(left.back()) && !bareDrive) {
            joined += L'\\';
        }
        joined += right;
        return joined;
    }
    // An absolute right part (a drive and a separator, or a network name)
    // replaces the left part, as does one on another drive.
    const bool network = right.size() >= 2 && isSeparator(right[0]) && isSeparator(right[1]);
    if (network || (rightHasDrive && right.size() > 2 && isSeparator(right[2]))) {
        return std::wstring(right);
    }
    if (rightHasDrive) {
        if (!sameDrive(left, right)) {
            return std::wstring(right);
        }
        return joinPath(left, right.substr(2));
    }
    if (!right.empty()) {
        // Rooted: the left part's drive or network name, then the right part.
        return std::wstring(left.substr(0, rootNameLength(left))) + std::wstring(right);
    }
    const bool bareDrive = left.size() == 2 && hasDrive(left);
    if (left.empty() || bareDrive || isSeparator(left.back())) {
        return std::wstring(left);
    }
    return std::wstring(left) + L'\\';
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

LaunchPlan planLaunch(const RunRequest& request, std::wstring_view enginePath, std::wstring_view dateFolder)
{
    LaunchPlan plan;
    plan.commandLine = buildCommandLine(enginePath, request);
    plan.outputFolder = deriveOutputFolder(request.outputRoot, dateFolder, runFolderName(request));
    // The label names one folder below the date; anything else would put
    // the results outside the output root or nowhere at all.
    plan.labelValid = request.label.empty() || isValidFolderName(request.label);
    plan.fits = plan.commandLine.size() < COMMAND_LINE_LIMIT;
    return plan;
}
