#include "support/log_text.h"

#include <cwchar>

std::vector<std::wstring> splitLog(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        const std::wstring line = text.substr(start, end - start);
        lines.push_back(line.size() >= 11 && line[0] == L'[' ? line.substr(11) : line);
        start = end + 2;
    }
    return lines;
}

std::wstring numberedLine(size_t n)
{
    wchar_t text[32];
    swprintf(text, 32, L"line %08zu ", n);
    return text;
}
