#include "support/message_boxes.h"

namespace {

HWND findMessageBox(DWORD processId, HWND owner)
{
    for (HWND window : topLevelWindows()) {
        if (processOf(window) == processId && classOf(window) == L"#32770" && IsWindowVisible(window)
            && (owner == nullptr || GetWindow(window, GW_OWNER) == owner)) {
            return window;
        }
    }
    return nullptr;
}

// 32-bit pixels of a bitmap that draw fills.
std::vector<DWORD> pixelsOf(int width, int height, const std::function<void(HDC)>& draw)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    draw(memory);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > deadline) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

std::vector<HWND> topLevelWindows()
{
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

DWORD processOf(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

std::wstring classOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring textOf(HWND window)
{
    LRESULT length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000,
            reinterpret_cast<PDWORD_PTR>(&length))) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
        5000, reinterpret_cast<PDWORD_PTR>(&copied));
    text.resize(static_cast<size_t>(copied));
    return text;
}

LPCWSTR identifyIcon(HWND iconControl)
{
    // Icon handles do not cross processes under Wine, so the icon is told by
    // its look: the control's pixels against each standard icon drawn alike.
    RECT rect;
    GetWindowRect(iconControl, &rect);
    const int size = 32;
    const std::vector<DWORD> shown = pixelsOf(size, size, [&](HDC target) {
        HDC screen = GetDC(nullptr);
        BitBlt(target, 0, 0, size, size, screen, rect.left, rect.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
    const DWORD background = shown.front();
    LPCWSTR best = nullptr;
    unsigned long long bestDistance = ~0ull;
    for (LPCWSTR candidate : {IDI_WARNING, IDI_ERROR, IDI_QUESTION, IDI_INFORMATION}) {
        const std::vector<DWORD> drawn = pixelsOf(size, size, [&](HDC target) {
            HBRUSH brush = CreateSolidBrush(RGB(GetBValue(background), GetGValue(background), GetRValue(background)));
            RECT all = {0, 0, size, size};
            FillRect(target, &all, brush);
            DeleteObject(brush);
            DrawIconEx(target, 0, 0, LoadIconW(nullptr, candidate), size, size, 0, nullptr, DI_NORMAL);
        });
        unsigned long long distance = 0;
        for (size_t index = 0; index < shown.size(); ++index) {
            for (int shift = 0; shift < 24; shift += 8) {
                const int a = static_cast<int>((shown[index] >> shift) & 0xFF);
                const int b = static_cast<int>((drawn[index] >> shift) & 0xFF);
                distance += static_cast<unsigned long long>((a - b) * (a - b));
            }
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

MessageBoxSeen waitForMessageBox(DWORD processId, DWORD timeoutMs, HWND owner)
{
    MessageBoxSeen seen;
    waitUntil([&] { return (seen.box = findMessageBox(processId, owner)) != nullptr; }, timeoutMs);
    if (seen.box == nullptr) {
        return seen;
    }
    Sleep(100); // let it finish laying itself out
    seen.caption = textOf(seen.box);
    seen.owner = GetWindow(seen.box, GW_OWNER);
    seen.hasCancel = GetDlgItem(seen.box, IDCANCEL) != nullptr;
    RedrawWindow(seen.box, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (HWND child = GetWindow(seen.box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(classOf(child).c_str(), L"Static") != 0) {
            continue;
        }
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            seen.icon = identifyIcon(child);
        } else if (seen.text.empty()) {
            seen.text = textOf(child);
        }
    }
    return seen;
}

void answerMessageBox(const MessageBoxSeen& box, int button)
{
    PostMessageW(box.box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
        reinterpret_cast<LPARAM>(GetDlgItem(box.box, button)));
    waitUntil([&] { return !IsWindow(box.box); }, 5000);
}
