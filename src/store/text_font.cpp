// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text_font.h"

#include <charconv>
#include <cmath>

#include "store/options.h"

namespace lt {
namespace {

bool ParseSpec(std::string_view spec, std::array<int, TextFont::kFieldCount>& values)
{
    std::size_t pos = 0;
    for (int& value : values) {
        const std::size_t end = spec.find(';', pos);
        if (end == std::string_view::npos || end == pos)
            return false;
        const char* first = spec.data() + pos;
        const char* last = spec.data() + end;
        const auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || ptr != last)
            return false;
        pos = end + 1;
    }
    return pos == spec.size();
}

} // namespace

double TextFont::Points() const
{
    return std::abs(values[kHeight]) * 72.0 / 96.0;
}

void TextFont::SetPoints(double points)
{
    values[kHeight] = -static_cast<int>(std::lround(points * 96.0 / 72.0));
}

TextFont ReadTextFont(std::string_view face, std::string_view spec)
{
    TextFont font;
    font.face = face.empty() ? std::string(kDefaultTextFontFace) : std::string(face);
    if (!ParseSpec(spec, font.values) || spec == "0;")
        ParseSpec(kDefaultTextFontSpec, font.values);
    return font;
}

std::string TextFontSpecText(const TextFont& font)
{
    std::string out;
    for (const int value : font.values) {
        out += std::to_string(value);
        out += ';';
    }
    return out;
}

} // namespace lt
