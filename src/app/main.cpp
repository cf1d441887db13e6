// Program entry of the front-end.
#include "app/main_window.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return runApplication(instance, GetCommandLineW());
}
