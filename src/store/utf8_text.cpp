// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/utf8_text.h"

namespace lt::utf8 {

std::size_t Decode(std::string_view text, std::size_t pos, char32_t& cp)
{
    if (pos >= text.size())
        return 0;
    const auto b0 = static_cast<unsigned char>(text[pos]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t lowest = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        value = b0 & 0x1F;
        lowest = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        value = b0 & 0x0F;
        lowest = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        value = b0 & 0x07;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - pos < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (b & 0x3F);
    }
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    cp = value;
    return length;
}

bool IsValid(std::string_view text)
{
    std::size_t pos = 0;
    char32_t cp = 0;
    while (pos < text.size()) {
        // ASCII runs are the common case of page sources.
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t n = Decode(text, pos, cp);
        if (n == 0)
            return false;
        pos += n;
    }
    return true;
}

void Append(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::size_t Utf16Length(std::string_view text)
{
    std::size_t units = 0;
    std::size_t pos = 0;
    char32_t cp = 0;
    while (pos < text.size()) {
        const std::size_t n = Decode(text, pos, cp);
        if (n == 0) {
            ++units;
            ++pos;
            continue;
        }
        units += cp >= 0x10000 ? 2 : 1;
        pos += n;
    }
    return units;
}

} // namespace lt::utf8
