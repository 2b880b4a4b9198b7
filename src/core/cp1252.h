// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace lt {

// Lower-case form of a Windows-1252 byte; fixed, so that results never depend on the host locale.
constexpr uint8_t Cp1252Lower(uint8_t c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<uint8_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<uint8_t>(c + 32);
    switch (c) {
    case 0x8A: return 0x9A; // S caron
    case 0x8C: return 0x9C; // OE
    case 0x8E: return 0x9E; // Z caron
    case 0x9F: return 0xFF; // Y diaeresis
    default: return c;
    }
}

// Case-insensitive comparison of two byte strings through Cp1252Lower: <0, 0 or >0.
constexpr int Cp1252CompareNoCase(std::string_view a, std::string_view b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const uint8_t x = Cp1252Lower(static_cast<uint8_t>(a[i]));
        const uint8_t y = Cp1252Lower(static_cast<uint8_t>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

constexpr bool Cp1252EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && Cp1252CompareNoCase(a, b) == 0;
}

// Unicode code point of a Windows-1252 byte (undefined bytes map to themselves, as Windows does).
constexpr char32_t Cp1252ToUnicode(uint8_t c)
{
    constexpr char32_t k80[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                  0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    return (c >= 0x80 && c < 0xA0) ? k80[c - 0x80] : static_cast<char32_t>(c);
}

// The Windows-1252 byte of a code point, or 0 when the code page has none.
constexpr uint8_t UnicodeToCp1252(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<uint8_t>(u);
    for (int i = 0; i < 32; ++i) {
        const auto c = static_cast<uint8_t>(0x80 + i);
        if (Cp1252ToUnicode(c) == u && u >= 0x100)
            return c;
    }
    return 0;
}

} // namespace lt
