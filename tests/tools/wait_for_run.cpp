// Waits until the running front-end shows an active run on screen: the
// input field filled and disabled, the start lines in the log, and the
// window painted since. Used by the run and screenshot commands before they
// take a picture. Exit code 0 when it did, 1 after 30 seconds.
#include <windows.h>

namespace {

LRESULT textLength(HWND window)
{
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    return static_cast<LRESULT>(length);
}

bool runVisible()
{
    HWND window = FindWindowW(L"VeradurAzazorariDER", nullptr);
    if (window == nullptr) {
        return false;
    }
    HWND input = GetDlgItem(window, 1008);
    HWND log = GetDlgItem(window, 1011);
    if (input == nullptr || log == nullptr || IsWindowEnabled(input) || textLength(input) == 0) {
        return false;
    }
    // The hint and the two start lines, each at least a time stamp long.
    return SendMessageW(log, EM_GETLINECOUNT, 0, 0) >= 4;
}

} // namespace

int wmain()
{
    for (int attempt = 0; attempt < 300; ++attempt) {
        if (runVisible()) {
            HWND window = FindWindowW(L"VeradurAzazorariDER", nullptr);
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            Sleep(300); // the log paints on its own thread
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
