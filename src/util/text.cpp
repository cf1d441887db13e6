#include "util/text.h"

#include <windows.h>

#include <climits>

namespace {

// The converters take signed 32-bit counts; longer text is cut rather than
// handed over with a wrapped-around length.
int platformLength(size_t length)
{
    return length > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
}

// The platform's two calls: the size, then the text. Empty for empty input
// and for input the flags make the platform refuse.
std::wstring toWide(UINT codePage, DWORD flags, std::string_view bytes)
{
    if (bytes.empty()) {
        return {};
    }
    const int inputLength = platformLength(bytes.size());
    const int needed = MultiByteToWideChar(codePage, flags, bytes.data(), inputLength, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed > 0 ? needed : 0), L'\0');
    if (needed > 0) {
        MultiByteToWideChar(codePage, flags, bytes.data(), inputLength, wide.data(), needed);
    }
    return wide;
}

} // namespace

std::wstring utf8ToWide(std::string_view utf8)
{
    return toWide(CP_UTF8, 0, utf8);
}

std::string wideToUtf8(std::wstring_view wide)
{
    if (wide.empty()) {
        return {};
    }
    const int inputLength = platformLength(wide.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), inputLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), inputLength, utf8.data(), needed, nullptr, nullptr);
    }
    return utf8;
}

std::wstring decodeOutputLine(std::string_view bytes, unsigned fallbackCodePage)
{
    if (fallbackCodePage != CP_UTF8) {
        // Refused (empty) when the line is not valid UTF-8.
        if (std::wstring wide = toWide(CP_UTF8, MB_ERR_INVALID_CHARS, bytes); !wide.empty()) {
            return wide;
        }
        if (std::wstring wide = toWide(fallbackCodePage, 0, bytes); !wide.empty()) {
            return wide;
        }
    }
    return utf8ToWide(bytes);
}
