#include "util/app_icon.h"

#include "util/dpi.h"
#include "util/resource_ids.h"

AppIcons loadAppIcons(HINSTANCE instance, unsigned dpi)
{
    const auto load = [instance](int width, int height) {
        return UniqueIcon(
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, width, height, 0)));
    };
    return AppIcons{load(systemMetric(SM_CXICON, dpi), systemMetric(SM_CYICON, dpi)),
        load(systemMetric(SM_CXSMICON, dpi), systemMetric(SM_CYSMICON, dpi))};
}

void setWindowIcons(HWND window, const AppIcons& icons)
{
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.big.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.small.get()));
}
