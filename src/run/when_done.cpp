#include "run/when_done.h"

#include "util/handles.h"

#include <windows.h>
#include <powrprof.h>

namespace {

bool equalIgnoringCase(std::wstring_view left, const wchar_t* right)
{
    return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right, -1, TRUE) == CSTR_EQUAL;
}

// A program may shut Windows down only with the privilege enabled in its token.
bool enableShutdownPrivilege()
{
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) {
        return false;
    }
    const UniqueHandle token(opened);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
        return false;
    }
    return AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)
        && GetLastError() == ERROR_SUCCESS;
}

bool act(WhenDone what)
{
    switch (what) {
    case WhenDone::Nothing:
        return true;
    case WhenDone::Sleep:
        // Sleep, not hibernate; wake events stay allowed.
        return SetSuspendState(FALSE, FALSE, FALSE) != FALSE;
    case WhenDone::ShutDown:
        // Other programs are asked, not forced: their unsaved work is theirs
        // to keep. The countdown before was the grace period.
        return enableShutdownPrivilege()
            && InitiateShutdownW(nullptr, nullptr, 0, SHUTDOWN_POWEROFF,
                   SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED)
            == ERROR_SUCCESS;
    }
    return false;
}

} // namespace

WhenDoneAction performWhenDone = act;

std::optional<WhenDone> whenDoneFromText(std::wstring_view text)
{
    if (equalIgnoringCase(text, L"sleep")) {
        return WhenDone::Sleep;
    }
    if (equalIgnoringCase(text, L"shutdown")) {
        return WhenDone::ShutDown;
    }
    if (equalIgnoringCase(text, L"nothing")) {
        return WhenDone::Nothing;
    }
    return std::nullopt;
}
