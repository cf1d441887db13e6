#include "text/kept_log.h"

#include "util/files.h"

#include <windows.h>

#include <climits>

std::string_view keepLine(KeptLog& log, std::wstring_view shownLine)
{
    if (shownLine.empty()) {
        return {};
    }
    const int length = shownLine.size() > INT_MAX / 4 ? INT_MAX / 4 : static_cast<int>(shownLine.size());
    // At most three bytes of UTF-8 for each UTF-16 unit; only a line that
    // might not fit is measured exactly.
    size_t most = static_cast<size_t>(length) * 3;
    const auto room = [&] { return log.blocks.empty() ? 0 : log.blocks.back().capacity() - log.blocks.back().size(); };
    if (most > room()) {
        most = static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, shownLine.data(), length, nullptr, 0, nullptr, nullptr));
        if (most > room()) {
            log.blocks.emplace_back();
            log.blocks.back().reserve(most > KeptLog::BLOCK ? most : KeptLog::BLOCK);
        }
    }
    std::string& block = log.blocks.back();
    const size_t start = block.size();
    block.resize(start + most); // within the reserved room: no reallocation
    const int written = WideCharToMultiByte(CP_UTF8, 0, shownLine.data(), length, block.data() + start,
        static_cast<int>(most), nullptr, nullptr);
    block.resize(start + static_cast<size_t>(written > 0 ? written : 0));
    log.bytes += block.size() - start;
    ++log.lines;
    return std::string_view(block).substr(start);
}

void clearKeptLog(KeptLog& log)
{
    log = KeptLog{};
}

std::string keptText(const KeptLog& log)
{
    std::string text;
    text.reserve(log.bytes);
    for (const std::string& block : log.blocks) {
        text += block;
    }
    return text;
}

bool saveKeptLog(const KeptLog& log, const std::wstring& path)
{
    const ContentSource produce = [](const void* source, void* file, PieceWriter write) {
        for (const std::string& block : static_cast<const KeptLog*>(source)->blocks) {
            if (!write(file, block.data(), block.size())) {
                return false;
            }
        }
        return true;
    };
    return replaceFileWith(path, &log, produce);
}
