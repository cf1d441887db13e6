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

} // namespace

std::wstring utf8ToWide(std::string_view utf8)
{
    if (utf8.empty()) {
        return {};
    }
    const int inputLength = platformLength(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inputLength, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed > 0 ? needed : 0), L'\0');
    if (needed > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inputLength, wide.data(), needed);
    }
    return wide;
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
    if (bytes.empty()) {
        return {};
    }
    const int inputLength = platformLength(bytes.size());
    const bool utf8 = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), inputLength, nullptr, 0) > 0;
    if (utf8 || fallbackCodePage == CP_UTF8) {
        return utf8ToWide(bytes);
    }
    const int needed = MultiByteToWideChar(fallbackCodePage, 0, bytes.data(), inputLength, nullptr, 0);
    if (needed <= 0) {
        return utf8ToWide(bytes);
    }
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(fallbackCodePage, 0, bytes.data(), inputLength, wide.data(), needed);
    return wide;
}
