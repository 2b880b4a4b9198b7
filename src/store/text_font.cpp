// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text_font.h"

#include <charconv>
#include <cmath>

#include "store/options.h"

namespace lt {
namespace {

bool ParseFields(std::string_view fields, std::array<int, TextFont::kFieldCount>& values)
{
    std::size_t pos = 0;
    for (int& value : values) {
        const std::size_t end = fields.find(';', pos);
        if (end == std::string_view::npos || end == pos)
            return false;
        const char* first = fields.data() + pos;
        const char* last = fields.data() + end;
        const auto [ptr, ec] = std::from_chars(first, last, value);
        if (ec != std::errc() || ptr != last)
            return false;
        pos = end + 1;
    }
    return pos == fields.size();
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

TextFont ReadTextFont(std::string_view face, std::string_view fields)
{
    TextFont font;
    font.face = face.empty() ? std::string(kDefaultTextFontFace) : std::string(face);
    if (!ParseFields(fields, font.values) || fields == "0;")
        ParseFields(kDefaultTextFontFields, font.values);
    return font;
}

std::string TextFontFieldsText(const TextFont& font)
{
    std::string out;
    for (const int value : font.values) {
        out += std::to_string(value);
        out += ';';
    }
    return out;
}

} // namespace lt
