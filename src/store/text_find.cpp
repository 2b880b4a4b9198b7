// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text_find.h"

#include <cstdint>

#include "core/cp1252.h"
#include "store/utf8_text.h"

namespace lt {
namespace {

constexpr uint8_t Cp1252Upper(uint8_t c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<uint8_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<uint8_t>(c - 32);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
    }
}

} // namespace

std::string FoldForFind(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            out += static_cast<char>(Cp1252Upper(b));
            ++pos;
            continue;
        }
        const std::size_t n = utf8::Decode(text, pos, cp);
        if (n == 0) {
            out += text[pos++];
            continue;
        }
        const uint8_t byte = UnicodeToCp1252(cp);
        if (byte == 0) {
            out.append(text.substr(pos, n));
        } else {
            // Every Windows-1252 letter and its capital take the same number of UTF-8 bytes.
            utf8::Append(out, Cp1252ToUnicode(Cp1252Upper(byte)));
        }
        pos += n;
    }
    return out;
}

TextFindResult FindNextInText(std::string_view text, std::string_view needle, std::size_t from)
{
    TextFindResult result;
    if (needle.empty() || text.empty())
        return result;
    if (from > text.size())
        from = text.size();
    const std::string folded = FoldForFind(text);
    const std::string key = FoldForFind(needle);
    std::size_t at = std::string_view(folded).find(key, from);
    if (at == std::string_view::npos && from > 0) {
        result.wrapped = true;
        at = std::string_view(folded).find(key);
    }
    if (at != std::string_view::npos) {
        result.found = true;
        result.pos = at;
        result.length = key.size();
    }
    return result;
}

} // namespace lt
