// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as prefs.js, replaces its typed URLs with ones taken from the input, and
// checks that the rewrite keeps every other line and reads back as written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "sources/prefs_js.h"

namespace {

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

// The lines of `text` that are not history lines.
std::vector<std::string_view> OtherLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (end < text.size() && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!lt::IsPrefsHistoryLine(line))
            lines.push_back(line);
        pos = end + 1;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> urls = lt::ReadPrefsTypedUrls(text);
    Check(urls.size() <= 256);
    for (const std::string& url : urls)
        Check(!url.empty() && url.size() <= 259);

    // New rows: pieces of the input without line breaks, blanks at the ends, or NUL, as list cells are.
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < size && rows.size() < 4; i += 7) {
        std::string row(text.substr(i, 7));
        for (char& c : row)
            if (c == '\n' || c == '\r' || c == '\0' || c == ' ' || c == '\t')
                c = '_';
        rows.push_back(row);
    }
    std::string out;
    if (!lt::ReplacePrefsTypedUrls(text, rows, out))
        return 0;
    Check(lt::ReadPrefsTypedUrls(out) == rows);
    Check(OtherLines(out) == OtherLines(text));
    return 0;
}
