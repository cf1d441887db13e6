#include "app/command_line.h"

#include "util/handles.h"
#include "util/paths.h"

#include <windows.h>
#include <shellapi.h>

StartPaths startPathsFrom(const std::vector<std::wstring>& arguments)
{
    StartPaths paths;
    for (size_t index = 1; index < arguments.size(); ++index) {
        const std::wstring& argument = arguments[index];
        if (argument == L"--autostart") {
            if (index + 1 < arguments.size()) {
                paths.autostart.push_back(arguments[++index]);
            }
        } else if (argument == L"--when-done") {
            if (index + 1 < arguments.size()) {
                paths.whenDone = whenDoneFromText(arguments[++index]);
            }
        } else if (argument == L"--resume") {
            paths.resume = true;
        } else if (argument == L"--new-window") {
            paths.newWindow = true;
        } else if (!argument.empty() && argument[0] != L'-') {
            paths.added.push_back(argument);
        }
    }
    return paths;
}

std::wstring handedOverText(const StartPaths& paths)
{
    std::wstring text;
    const auto add = [&text](wchar_t kind, const std::wstring& value) {
        text += kind;
        text += L'\t';
        text += value;
        text += L'\n';
    };
    for (const std::wstring& path : paths.autostart) {
        add(L'A', fullPath(path));
    }
    for (const std::wstring& path : paths.added) {
        add(L'P', fullPath(path));
    }
    if (paths.whenDone) {
        add(L'W', *paths.whenDone == WhenDone::Sleep ? L"sleep" : *paths.whenDone == WhenDone::ShutDown ? L"shutdown" : L"nothing");
    }
    if (paths.resume) {
        add(L'R', L"resume");
    }
    return text;
}

std::optional<StartPaths> startPathsFromHandedOver(std::wstring_view text)
{
    StartPaths paths;
    while (!text.empty()) {
        const size_t end = text.find(L'\n');
        if (end == std::wstring_view::npos) {
            return std::nullopt; // every record ends its line
        }
        const std::wstring_view record = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (record.size() < 3 || record[1] != L'\t') {
            return std::nullopt;
        }
        const std::wstring value(record.substr(2));
        switch (record[0]) {
        case L'A':
            paths.autostart.push_back(value);
            break;
        case L'P':
            paths.added.push_back(value);
            break;
        case L'W':
            paths.whenDone = whenDoneFromText(value);
            break;
        case L'R':
            paths.resume = true;
            break;
        default:
            return std::nullopt;
        }
    }
    return paths;
}

StartPaths startPathsFromCommandLine(const wchar_t* commandLine)
{
    int count = 0;
    UniqueLocal<LPWSTR> split(CommandLineToArgvW(commandLine, &count));
    if (split == nullptr) {
        return {};
    }
    return startPathsFrom(std::vector<std::wstring>(split.get(), split.get() + count));
}
