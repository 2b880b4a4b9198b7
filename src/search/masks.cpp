// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/masks.h"

#include "core/cp1252.h"

namespace lt {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

void AddMask(std::string mask, std::vector<std::string>& masks)
{
    while (!mask.empty() && IsBlank(mask.back()))
        mask.pop_back();
    if (!mask.empty() && mask.size() <= kMaxMaskLength)
        masks.push_back(std::move(mask));
}

} // namespace

int ParseMasks(std::string_view text, std::vector<std::string>& masks)
{
    masks.clear();
    std::string lowered;
    lowered.reserve(text.size());
    for (char c : text) {
        if (c == ';' || c == ',')
            c = ' ';
        lowered.push_back(static_cast<char>(Cp1252Lower(static_cast<uint8_t>(c))));
    }

    std::size_t pos = 0;
    for (int taken = 0; taken < kMaxMasks; ++taken) {
        while (pos < lowered.size() && IsBlank(lowered[pos]))
            ++pos;
        if (pos >= lowered.size())
            break;
        if (taken == kMaxMasks - 1) {
            // The twelfth mask is whatever is left, blanks and all.
            AddMask(lowered.substr(pos), masks);
            break;
        }
        std::size_t end = pos;
        while (end < lowered.size() && !IsBlank(lowered[end]))
            ++end;
        AddMask(lowered.substr(pos, end - pos), masks);
        pos = end;
    }
    return static_cast<int>(masks.size());
}

std::string JoinMasks(const std::vector<std::string>& masks)
{
    std::string joined;
    for (const auto& mask : masks) {
        if (!joined.empty())
            joined.push_back(' ');
        joined += mask;
    }
    return joined;
}

bool HasAllFilesMask(const std::vector<std::string>& masks)
{
    for (const auto& mask : masks)
        if (mask == "*.*")
            return true;
    return false;
}

bool MaskMatch(std::string_view mask, std::string_view name)
{
    auto lower = [](char c) { return Cp1252Lower(static_cast<uint8_t>(c)); };
    std::size_t m = 0;
    std::size_t n = 0;
    while (m < mask.size()) {
        const char c = mask[m];
        if (c == '*') {
            // Question marks right behind the star each take one byte before the jump.
            for (++m; m < mask.size() && (mask[m] == '*' || mask[m] == '?'); ++m) {
                if (mask[m] == '?') {
                    if (n >= name.size())
                        return false;
                    ++n;
                }
            }
            if (m == mask.size()) {
                n = name.size();
                break;
            }
            const uint8_t want = lower(mask[m]);
            while (n < name.size() && lower(name[n]) != want)
                ++n;
            continue;
        }
        if (n >= name.size())
            return false;
        if (c != '?' && lower(c) != lower(name[n]))
            return false;
        ++m;
        ++n;
    }
    return n == name.size();
}

bool MatchesAnyMask(const std::vector<std::string>& masks, std::string_view name)
{
    for (const auto& mask : masks)
        if (MaskMatch(mask, name))
            return true;
    return false;
}

} // namespace lt
