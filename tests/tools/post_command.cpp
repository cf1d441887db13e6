// Posts WM_COMMAND with the given id to the running front-end's main window,
// as a click would; used to take screenshots of the settings dialog.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        return 2;
    }
    const int id = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (HWND window = FindWindowW(L"VeradurAzazorariDER", nullptr); window != nullptr) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
