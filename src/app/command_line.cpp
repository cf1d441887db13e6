#include "app/command_line.h"

#include "util/handles.h"

#include <windows.h>
#include <shellapi.h>

std::optional<std::wstring> findAutostartPath(const std::vector<std::wstring>& arguments)
{
    for (size_t index = 1; index + 1 < arguments.size(); ++index) {
        if (arguments[index] == L"--autostart") {
            return arguments[index + 1];
        }
    }
    return std::nullopt;
}

std::wstring autostartPathFromCommandLine(const wchar_t* commandLine)
{
    int count = 0;
    UniqueLocal<LPWSTR> split(CommandLineToArgvW(commandLine, &count));
    if (split == nullptr) {
        return {};
    }
    std::vector<std::wstring> arguments(split.get(), split.get() + count);
    return findAutostartPath(arguments).value_or(std::wstring());
}
