// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace lt {

// The text window's font as the INI file keeps it: the face (FT1) and ten integers (FT2), each
// followed by ";": height, width, weight, italic flags, character set, output precision, clipping
// precision, quality, pitch and family, and a value of the owning window (kept as read).
struct TextFont
{
    enum Field { kHeight, kWidth, kWeight, kItalicFlags, kCharSet, kOutPrecision, kClipPrecision, kQuality,
                 kPitchFamily, kOwnerValue, kFieldCount };
    // Bits of the italic flags.
    static constexpr int kItalic = 1, kUnderline = 2, kStrikeOut = 4;

    std::string face;
    std::array<int, kFieldCount> values{};

    bool Bold() const { return values[kWeight] >= 700; }
    // The height in points on a 96 dpi screen (a height of -12 is 9 points); 0 when none is set.
    double Points() const;
    void SetPoints(double points);
};

// The stored font: an empty face gives "Courier New"; an empty, "0;" or malformed field list
// (anything but ten integers each followed by ";") gives "-12;0;400;0;0;3;2;1;49;0;".
TextFont ReadTextFont(std::string_view face, std::string_view fields);

// The FT2 text of a font: "-12;0;400;0;0;3;2;1;49;0;".
std::string TextFontFieldsText(const TextFont& font);

} // namespace lt
