#include "support/standin.h"

UniqueHandle startStandIn(const std::wstring& enginePath, HANDLE output, const std::wstring& script, HANDLE job)
{
    std::wstring commandLine = L"\"" + enginePath + L"\" x";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION started = {};
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", script.c_str());
    const BOOL created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
        CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &started);
    SetEnvironmentVariableW(L"STANDIN_SCRIPT", nullptr);
    if (!created) {
        return nullptr;
    }
    if (job != nullptr) {
        AssignProcessToJobObject(job, started.hProcess);
    }
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    return UniqueHandle(started.hProcess);
}
