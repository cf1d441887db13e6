#include "app/command_line.h"

#include "util/handles.h"

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

StartPaths startPathsFromCommandLine(const wchar_t* commandLine)
{
    int count = 0;
    UniqueLocal<LPWSTR> split(CommandLineToArgvW(commandLine, &count));
    if (split == nullptr) {
        return {};
    }
    return startPathsFrom(std::vector<std::wstring>(split.get(), split.get() + count));
}
