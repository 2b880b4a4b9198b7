// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/row_compare.h"

#include <cstdlib>
#include <limits>

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include "core/cp1252.h"
#include "list/result_list.h"

namespace lt {

namespace {

int Sign(long long v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// Width differences do not count: full-width ASCII forms and the ideographic blank are read as
// their plain forms before collation.
char16_t FoldWidth(char32_t u)
{
    if (u >= 0xFF01 && u <= 0xFF5E)
        return static_cast<char16_t>(u - 0xFEE0);
    if (u == 0x3000)
        return u' ';
    return static_cast<char16_t>(u);
}

void AppendCodePoint(std::u16string& out, char32_t u)
{
    if (u >= 0x10000) {
        u -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (u >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (u & 0x3FF)));
    } else {
        out.push_back(FoldWidth(u));
    }
}

// Length of the UTF-8 sequence at `i` and its code point, or 0 when it is not valid UTF-8.
int Utf8Sequence(std::string_view s, std::size_t i, char32_t& cp)
{
    const auto c = static_cast<uint8_t>(s[i]);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    int len = 0;
    char32_t min = 0;
    if ((c & 0xE0) == 0xC0) {
        len = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (int k = 1; k < len; ++k) {
        const auto d = static_cast<uint8_t>(s[i + k]);
        if ((d & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

int CompareSkipping(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    for (;;) {
        while (i < a.size() && (a[i] == '-' || a[i] == '\''))
            ++i;
        while (j < b.size() && (b[j] == '-' || b[j] == '\''))
            ++j;
        if (i == a.size() || j == b.size())
            return (i == a.size() ? 0 : 1) - (j == b.size() ? 0 : 1);
        const uint8_t x = Cp1252Lower(static_cast<uint8_t>(a[i]));
        const uint8_t y = Cp1252Lower(static_cast<uint8_t>(b[j]));
        if (x != y)
            return x < y ? -1 : 1;
        ++i, ++j;
    }
}

int CompareDotted(std::string_view a, std::string_view b)
{
    int64_t x[4], y[4];
    DottedNumbers(a, x);
    DottedNumbers(b, y);
    for (int k = 0; k < 4; ++k) {
        if (x[k] != y[k])
            return y[k] < x[k] ? -1 : 1; // b - a: the larger address first
    }
    return 0;
}

} // namespace

bool IsValidUtf8(std::string_view text)
{
    char32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
        const int n = Utf8Sequence(text, i, cp);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::u16string DecodeCellText(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    if (IsValidUtf8(text)) {
        char32_t cp = 0;
        for (std::size_t i = 0; i < text.size();) {
            i += Utf8Sequence(text, i, cp);
            AppendCodePoint(out, cp);
        }
    } else {
        for (const char c : text)
            AppendCodePoint(out, Cp1252ToUnicode(static_cast<uint8_t>(c)));
    }
    return out;
}

int64_t CellNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

std::string_view TrailingDigits(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && !(text[end - 1] >= '0' && text[end - 1] <= '9'))
        --end;
    std::size_t begin = end;
    while (begin > 0 && text[begin - 1] >= '0' && text[begin - 1] <= '9')
        --begin;
    return text.substr(begin, end - begin);
}

int CompareDigitRuns(std::string_view a, std::string_view b)
{
    while (!a.empty() && a.front() == '0')
        a.remove_prefix(1);
    while (!b.empty() && b.front() == '0')
        b.remove_prefix(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return Sign(c);
}

void DottedNumbers(std::string_view text, int64_t out[4])
{
    std::size_t pos = 0;
    for (int k = 0; k < 4; ++k) {
        out[k] = pos < text.size() ? CellNumber(text.substr(pos)) : 0;
        const std::size_t dot = text.find('.', pos);
        pos = dot == std::string_view::npos ? text.size() : dot + 1;
    }
}

bool UsesLocaleComparison(const CompareParams& p)
{
    if (p.mode != kSortColumn && p.mode != kSortEnding)
        return false;
    if (p.hitsHeader || (p.column == 0 && p.columnType == kColIp))
        return false;
    return p.columnType != kColOffset && p.columnType != kColLine && p.columnType != kColSize;
}

namespace detail {

std::string Reversed(std::string_view text) { return std::string(text.rbegin(), text.rend()); }

int CompareBeforeLocale(const CompareParams& p, std::string_view a, std::string_view b, int aIcon, int bIcon,
                        bool& decided)
{
    decided = true;
    std::string ra, rb;
    if (p.mode == kSortEnding) {
        ra = Reversed(a), rb = Reversed(b);
        a = ra, b = rb;
    }
    if (a.empty() || b.empty())
        return (a.empty() ? 1 : 0) - (b.empty() ? 1 : 0);

    const auto directed = [&](int r) { return p.directionReversed && p.mode != kSortEnding ? -r : r; };
    switch (p.mode) {
    case kSortLength: {
        const int r = Sign(static_cast<long long>(b.size()) - static_cast<long long>(a.size()));
        return p.lengthReversed ? -r : r;
    }
    case kSortTrailing: {
        const int r = CompareDigitRuns(TrailingDigits(b), TrailingDigits(a));
        return p.trailingReversed ? -r : r;
    }
    case kSortSymbol: {
        const int r = Sign(aIcon - bIcon);
        return p.symbolReversed ? -r : r;
    }
    default: break;
    }
    if (p.hitsHeader) {
        const int64_t x = CellNumber(a), y = CellNumber(b);
        return directed(x == y ? 0 : (y < x ? -1 : 1));
    }
    if (p.column == 0 && p.columnType == kColIp)
        return directed(CompareDotted(a, b));
    const int lengthOrder = Sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
    if (p.columnType == kColOffset)
        return directed(lengthOrder != 0 ? lengthOrder : CompareSkipping(a, b));
    if (p.columnType == kColLine || p.columnType == kColSize) {
        const int sign = p.columnType == kColLine ? 1 : -1; // sizes: the longest and largest first
        if (lengthOrder != 0)
            return directed(sign * lengthOrder);
        const int64_t x = CellNumber(a), y = CellNumber(b);
        return directed(sign * (x == y ? 0 : (x < y ? -1 : 1)));
    }
    decided = false;
    return 0;
}

int FinishLocale(const CompareParams& p, int localeResult)
{
    int r = Sign(localeResult);
    if (p.mode == kSortEnding)
        return p.endingReversed ? r : -r;
    if (p.columnType == kColDate || p.column >= 4)
        r = -r; // newest or largest first
    return p.directionReversed ? -r : r;
}

} // namespace detail

int CompareCells(const CompareParams& params, const LocaleCollator& collator, std::string_view a,
                 std::string_view b, int aIcon, int bIcon)
{
    return CompareCellsWith(params, a, b, aIcon, bIcon, [&] {
        if (params.mode == kSortEnding)
            return collator.Compare(detail::Reversed(a), detail::Reversed(b));
        return collator.Compare(a, b);
    });
}

struct LocaleCollator::Impl
{
    UCollator* collator = nullptr;
};

LocaleCollator::LocaleCollator(const std::string& locale) : m_impl(std::make_unique<Impl>())
{
    std::string name = locale;
    const std::size_t cut = name.find_first_of(".@");
    if (cut != std::string::npos)
        name.resize(cut);
    if (name == "C" || name == "POSIX")
        name.clear();
    UErrorCode status = U_ZERO_ERROR;
    m_impl->collator = ucol_open(name.c_str(), &status);
    if (U_FAILURE(status)) {
        m_impl->collator = nullptr;
        return;
    }
    ucol_setStrength(m_impl->collator, UCOL_TERTIARY);
}

LocaleCollator::~LocaleCollator()
{
    if (m_impl->collator)
        ucol_close(m_impl->collator);
}

std::string LocaleCollator::UserLocale()
{
    for (const char* name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return {};
}

int LocaleCollator::Compare(std::string_view a, std::string_view b) const
{
    const std::u16string x = DecodeCellText(a), y = DecodeCellText(b);
    if (!m_impl->collator)
        return Sign(x.compare(y));
    const UCollationResult r =
        ucol_strcoll(m_impl->collator, reinterpret_cast<const UChar*>(x.data()), static_cast<int32_t>(x.size()),
                     reinterpret_cast<const UChar*>(y.data()), static_cast<int32_t>(y.size()));
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

std::string LocaleCollator::SortKey(std::string_view text) const
{
    const std::u16string x = DecodeCellText(text);
    if (!m_impl->collator) {
        // Without a collator: the code units, big-endian, so that byte order is code-unit order.
        std::string key;
        for (const char16_t u : x)
            key.push_back(static_cast<char>(u >> 8)), key.push_back(static_cast<char>(u & 0xFF));
        return key;
    }
    const auto* src = reinterpret_cast<const UChar*>(x.data());
    const auto len = static_cast<int32_t>(x.size());
    std::string key(x.size() * 4 + 16, '\0');
    int32_t need = ucol_getSortKey(m_impl->collator, src, len, reinterpret_cast<uint8_t*>(key.data()),
                                   static_cast<int32_t>(key.size()));
    if (need > static_cast<int32_t>(key.size())) {
        key.resize(need);
        need = ucol_getSortKey(m_impl->collator, src, len, reinterpret_cast<uint8_t*>(key.data()), need);
    }
    key.resize(need > 0 ? need - 1 : 0); // without the terminating zero
    return key;
}

} // namespace lt
