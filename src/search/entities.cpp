// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/entities.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "core/cp1252.h"

namespace lt {

namespace {

constexpr std::size_t kMaxText = 259;

struct Entity
{
    std::string_view name;
    unsigned char byte;
};

// Tried in this order at each "&"; "&nbsp;" comes before its unterminated form "&nbsp".
constexpr std::array<Entity, 91> kEntityTable{{
    {"&nbsp;", 0x20},   {"&quot;", 0x22},   {"&gt;", 0x3E},     {"&lt;", 0x3C},     {"&amp;", 0x26},
    {"&reg;", 0xAE},    {"&copy;", 0xA9},   {"&aacute;", 0xE1}, {"&Aacute;", 0xC1}, {"&agrave;", 0xE0},
    {"&Agrave;", 0xC0}, {"&acirc;", 0xE2},  {"&Acirc;", 0xC2},  {"&aring;", 0xE5},  {"&Aring;", 0xC5},
    {"&atilde;", 0xE3}, {"&Atilde;", 0xC3}, {"&auml;", 0xE4},   {"&Auml;", 0xC4},   {"&eacute;", 0xE9},
    {"&Eacute;", 0xC9}, {"&egrave;", 0xE8}, {"&Egrave;", 0xC8}, {"&ecirc;", 0xEA},  {"&Ecirc;", 0xCA},
    {"&euml;", 0xEB},   {"&Euml;", 0xCB},   {"&iacute;", 0xED}, {"&Iacute;", 0xCD}, {"&igrave;", 0xEC},
    {"&Igrave;", 0xCC}, {"&icirc;", 0xEE},  {"&Icirc;", 0xCE},  {"&iuml;", 0xEF},   {"&Iuml;", 0xCF},
    {"&oacute;", 0xF3}, {"&Oacute;", 0xD3}, {"&ocirc;", 0xF4},  {"&Ocirc;", 0xD4},  {"&ouml;", 0xF6},
    {"&Ouml;", 0xD6},   {"&oslash;", 0xF8}, {"&Oslash;", 0xD8}, {"&otilde;", 0xF5}, {"&Otilde;", 0xD5},
    {"&uacute;", 0xFA}, {"&Uacute;", 0xDA}, {"&ugrave;", 0xF9}, {"&Ugrave;", 0xD9}, {"&ucirc;", 0xFB},
    {"&Ucirc;", 0xDB},  {"&uuml;", 0xFC},   {"&Uuml;", 0xDC},   {"&yacute;", 0xFD}, {"&Yacute;", 0xDD},
    {"&yuml;", 0xFF},   {"&ccedil;", 0xE7}, {"&Ccedil;", 0xC7}, {"&ntilde;", 0xF1}, {"&Ntilde;", 0xD1},
    {"&szlig;", 0xDF},  {"&eth;", 0xF0},    {"&ETH;", 0xD0},    {"&aelig;", 0xE6},  {"&AElig;", 0xC6},
    {"&THORN;", 0xDE},  {"&thorn;", 0xFE},  {"&acute;", 0xB4},  {"&laquo;", 0xAB},  {"&raquo;", 0xBB},
    {"&micro;", 0xB5},  {"&sup1;", 0xB9},   {"&sup2;", 0xB2},   {"&sup3;", 0xB3},   {"&iquest;", 0xBF},
    {"&iexcl;", 0xA1},  {"&pound;", 0xA3},  {"&yen;", 0xA5},    {"&frac12;", 0xBD}, {"&frac14;", 0xBC},
    {"&frac34;", 0xBE}, {"&deg;", 0xB0},    {"&times;", 0xD7},  {"&divide;", 0xF7}, {"&cent;", 0xA2},
    {"&brvbar;", 0xA6}, {"&cedil;", 0xB8},  {"&Ograve;", 0xD2}, {"&ograve;", 0xF2}, {"&para;", 0xB6},
    {"&nbsp", 0x20},
}};

// The short list used on URLs; "&nbsp;" (byte 0) ends the URL.
constexpr std::array<Entity, 9> kUrlEntityTable{{
    {"&auml;", 0xE4},
    {"&ouml;", 0xF6},
    {"&uuml;", 0xFC},
    {"&Auml;", 0xC4},
    {"&Ouml;", 0xD6},
    {"&Uuml;", 0xDC},
    {"&amp;", 0x26},
    {"&acute;", 0xB4},
    {"&nbsp;", 0x00},
}};

void Bound(std::string& text)
{
    if (text.size() > kMaxText)
        text.resize(kMaxText);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The byte a numeric reference stands for, or -1 when the reference stays as it is.
int ReferenceByte(uint32_t value)
{
    if (value == 8364)
        return 0x80;
    if (value >= 65536 || value < 32)
        return -1; // control values (tab, line feed and carriage return too) never enter a text
    if (value <= 255)
        return static_cast<int>(value);
    const uint8_t mapped = UnicodeToCp1252(static_cast<char32_t>(value));
    return mapped != 0 ? mapped : '?';
}

// The length of the numeric reference at the start of `in` and the byte it stands for, or 0 when
// there is none to decode.
std::size_t NumericReference(std::string_view in, int& byte)
{
    if (in.size() < 3 || in[0] != '&' || in[1] != '#')
        return 0;
    uint32_t value = 0;
    std::size_t j = 2;
    if (in[2] == 'x' || in[2] == 'X') {
        // "&#x3C;": up to six hexadecimal digits.
        j = 3;
        while (j < in.size() && j < 9 && HexValue(in[j]) >= 0) {
            value = value * 16 + static_cast<uint32_t>(HexValue(in[j]));
            ++j;
        }
        if (j == 3)
            return 0;
    } else {
        while (j < in.size() && j < 8 && IsDigit(in[j])) {
            value = value * 10 + static_cast<uint32_t>(in[j] - '0');
            ++j;
        }
        if (j == 2)
            return 0;
    }
    byte = ReferenceByte(value);
    if (byte < 0)
        return 0;
    if (j < in.size() && in[j] == ';')
        ++j;
    return j;
}

// One left-to-right pass replacing numeric references (when `numeric`) and the entities of
// `table`; what a replacement writes is never looked at again. A table byte of 0 cuts the text
// at the entity.
void Replace(std::string& text, bool numeric, const Entity* table, std::size_t tableSize)
{
    std::string out;
    out.reserve(text.size());
    const std::string_view in(text);
    std::size_t i = 0;
    while (i < in.size()) {
        const std::size_t amp = in.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(in.substr(i));
            break;
        }
        out.append(in.substr(i, amp - i));
        const std::string_view rest = in.substr(amp);
        int byte = 0;
        if (const std::size_t length = numeric ? NumericReference(rest, byte) : 0; length > 0) {
            out.push_back(static_cast<char>(byte));
            i = amp + length;
            continue;
        }
        const Entity* hit = nullptr;
        for (std::size_t k = 0; k < tableSize; ++k) {
            if (rest.starts_with(table[k].name)) {
                hit = &table[k];
                break;
            }
        }
        if (hit == nullptr) {
            out.push_back('&');
            i = amp + 1;
        } else if (hit->byte == 0) {
            text = std::move(out);
            return;
        } else {
            out.push_back(static_cast<char>(hit->byte));
            i = amp + hit->name.size();
        }
    }
    text = std::move(out);
}

// True when the text may hold a named entity: an "&" with a ";" 3 to 7 bytes after it, or
// "&nbsp"; at most 32 ampersands are looked at.
bool MayHoldEntity(std::string_view text)
{
    if (text.find("&nbsp") != std::string_view::npos)
        return true;
    std::size_t from = 0;
    for (int examined = 0; examined < 32; ++examined) {
        const std::size_t amp = text.find('&', from);
        if (amp == std::string_view::npos)
            return false;
        for (std::size_t k = 3; k <= 7 && amp + k < text.size(); ++k) {
            if (text[amp + k] == ';')
                return true;
        }
        from = amp + 1;
    }
    return false;
}

bool HasAmpersandThenSemicolon(std::string_view text)
{
    const std::size_t amp = text.find('&');
    return amp != std::string_view::npos && text.find(';', amp + 1) != std::string_view::npos;
}

} // namespace

void DecodeNumericRefs(std::string& text)
{
    Bound(text);
    if (text.find("&#") != std::string::npos)
        Replace(text, true, nullptr, 0);
}

void DecodeEntities(std::string& text)
{
    Bound(text);
    if (MayHoldEntity(text))
        Replace(text, true, kEntityTable.data(), kEntityTable.size());
    else
        DecodeNumericRefs(text);
}

void CleanUrl(std::string& text, int mode, int itemKind)
{
    Bound(text);
    if (mode == 1) {
        DecodeEntities(text);
        CollapseBlanks(text);
        return;
    }
    const std::size_t quot = text.find("&quot;");
    if (quot != std::string::npos)
        text.resize(quot);
    if (HasAmpersandThenSemicolon(text))
        Replace(text, false, kUrlEntityTable.data(), kUrlEntityTable.size());
    if (itemKind == 1)
        DecodeNumericRefs(text);
}

void CollapseBlanks(std::string& text)
{
    Bound(text);
    std::size_t w = 0;
    for (std::size_t r = 0; r < text.size(); ++r) {
        if (text[r] == ' ' && w > 0 && text[w - 1] == ' ')
            continue;
        text[w++] = text[r];
    }
    text.resize(w);
}

std::string CutToHost(const std::string& url)
{
    std::string out = url.substr(0, kMaxText);
    const std::size_t slash = out.find('/');
    if (slash == std::string::npos || out.size() - slash < 4 || out[slash + 1] != '/')
        return out;
    const std::size_t end = out.find('/', slash + 2);
    if (end != std::string::npos)
        out.resize(end);
    return out;
}

void CutAtLtEntity(std::string& text)
{
    const std::size_t lt = text.find("&lt;");
    if (lt != std::string::npos)
        text.resize(lt);
    Bound(text);
}

} // namespace lt
