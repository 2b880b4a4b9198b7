// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shorten_at_separators.h"

#include <vector>

namespace lt {

std::string ShortenAtSeparators(std::string_view text, char separator, std::size_t maximum)
{
    const std::size_t length = text.size();
    if (length < maximum)
        return std::string(text);
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < length; ++i)
        if (text[i] == separator)
            at.push_back(i);
    // Keeping the text up to cut point c and from the last separator on must fit.
    const std::size_t last = at.empty() ? std::string_view::npos : at.back();
    auto fits = [&](std::size_t c) { return length - last + c < maximum; };
    std::size_t cut = 0;
    if (last != std::string_view::npos) {
        for (const std::size_t nth : {6u, 5u, 4u}) {
            if (at.size() >= nth && fits(at[nth - 1])) {
                cut = at[nth - 1];
                break;
            }
        }
        if (cut == 0 && last > 6 && fits(6))
            cut = 6;
    }
    if (cut > 0)
        return std::string(text.substr(0, cut)) + "..." + std::string(text.substr(last));
    if (length > maximum + 3 && maximum >= 3)
        return std::string(text.substr(0, maximum - 3)) + "...";
    return std::string(text);
}

} // namespace lt
