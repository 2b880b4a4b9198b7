// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/item_builder.h"

#include <algorithm>
#include <cstdio>

#include "search/block_reader.h"
#include "search/char_tables.h"
#include "search/entities.h"
#include "search/scan_params.h"
#include "search/search_settings.h"

namespace lt {

namespace {

constexpr std::size_t kBuffer = 260;
constexpr std::size_t kMaxItem = 257;

struct BracketPair
{
    uint8_t open;
    uint8_t close;
};
// The last pair repeats 0xBB; since 0xBB is already the closing byte of the pair before it,
// it is always taken as that closing bracket.
constexpr BracketPair kPairs[] = {{'<', '>'}, {'[', ']'}, {'(', ')'}, {'{', '}'}, {0xAB, 0xBB}, {0xBB, 0xBB}};
constexpr int kPairCount = 6;

bool Contains(const std::string& s, char c)
{
    return s.find(c) != std::string::npos;
}

bool IsHexDigit(uint8_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

void TrimLeadingBlanks(std::string& s)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    s.erase(0, i);
}

// The "aabbcc" pattern: `x` doubles the last byte while the two runs before were doubles too.
// `b` holds the bytes taken so far in the order they were taken.
bool TriplePairs(const std::string& b, uint8_t x)
{
    const std::size_t n = b.size();
    if (n < 5)
        return false;
    const auto at = [&](std::size_t back) { return static_cast<uint8_t>(b[n - back]); };
    return x == at(1) && at(2) == at(3) && at(4) == at(5) && x != at(2) && at(2) != at(4);
}

// Length of the run of `x` at the end of `b`.
std::size_t TrailingRun(const std::string& b, uint8_t x)
{
    std::size_t run = 0;
    while (run < b.size() && static_cast<uint8_t>(b[b.size() - 1 - run]) == x)
        ++run;
    return run;
}

} // namespace

std::string SpacedHex(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() * 3);
    char cell[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(cell, sizeof cell, "%02X", static_cast<uint8_t>(bytes[i]));
        if (i > 0)
            out += ' ';
        out += cell;
    }
    return out;
}

int ItemBuilder::PairOf(uint8_t c, bool& opening) const
{
    const int pairs = m_p.emailMode ? 1 : kPairCount;
    for (int i = 0; i < pairs; ++i) {
        if (c == kPairs[i].open && kPairs[i].open != kPairs[i].close) {
            opening = true;
            return i;
        }
        if (c == kPairs[i].close) {
            opening = false;
            return i;
        }
    }
    return -1;
}

bool ItemBuilder::Restarts(uint8_t c) const
{
    if (m_p.anchor1.empty())
        return false;
    const uint8_t folded = m_p.foldCase ? m_t.caseFoldMap[c] : c;
    return folded == static_cast<uint8_t>(m_p.anchor1[0]);
}

void ItemBuilder::PercentDecode(std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && IsHexDigit(static_cast<uint8_t>(text[i + 1])) &&
            IsHexDigit(static_cast<uint8_t>(text[i + 2]))) {
            out += static_cast<char>(HexValue(static_cast<uint8_t>(text[i + 1])) * 16 +
                                     HexValue(static_cast<uint8_t>(text[i + 2])));
            i += 2;
        } else {
            out += text[i];
        }
    }
    text.swap(out);
}

bool ItemBuilder::BackPart(BlockReader& r, uint64_t anchorStart, uint64_t lineStart, std::size_t anchorLen,
                           std::string& back) const
{
    back.clear();
    if (m_p.entireLineMode && lineStart <= anchorStart && anchorStart - lineStart < 244) {
        for (uint64_t i = lineStart; i < anchorStart; ++i) {
            const int c = r.At(i);
            if (c < 0)
                break;
            back += static_cast<char>(c);
        }
        return true;
    }
    if (m_p.prefixMode)
        return true;

    const uint8_t single = m_p.singleAnchorChar;
    const std::size_t room = anchorLen < kBuffer ? kBuffer - anchorLen : 0;
    std::size_t maxBack = std::min<std::size_t>(80, room);
    maxBack = maxBack > 0 ? maxBack - 1 : 0;
    if (maxBack > anchorStart)
        maxBack = static_cast<std::size_t>(anchorStart);

    // Collected nearest first; `b` is reversed into reading order afterwards.
    std::string b;
    // How often each byte occurs in `b`, for the repeat limit (kept from the eleventh byte on).
    uint16_t counts[256];
    int closings[kPairCount] = {};
    int nonAlnumRun = 0;
    bool cutAtScheme = false;
    for (std::size_t n = 0; n < maxBack; ++n) {
        const int got = r.At(anchorStart - 1 - n);
        if (got < 0)
            break;
        const auto x = static_cast<uint8_t>(got);
        const uint8_t last = n > 0 ? static_cast<uint8_t>(b[n - 1]) : 0;
        if (!m_t.itemChars[x] || (single && (x == single || !m_t.printableUrlChars[x])))
            break;
        if (x == '>')
            break;
        if (x == ' ' && n >= 3) {
            // The first "ftp" (else "http") in reading order is the last "ptf" ("ptth") in `b`;
            // the back part then begins with it.
            std::size_t at = b.rfind("ptf");
            std::size_t length = 3;
            if (at == std::string::npos && n >= 4) {
                at = b.rfind("ptth");
                length = 4;
            }
            if (at != std::string::npos) {
                b.resize(at + length);
                cutAtScheme = true;
                break;
            }
        }
        if (m_t.sentencePunct[x] && n > 0 && last == ' ')
            break;
        if (m_p.emailMode) {
            if (!m_t.emailChars[x])
                break;
            if (x == '.' && (n == 0 || last == '.'))
                break;
            if (x == '"' && n > 0) {
                // A quoted local part keeps its opening quote.
                if (b[0] == '"')
                    b += static_cast<char>(x);
                break;
            }
        }
        if (!m_t.alnumChars[x] && nonAlnumRun >= 4)
            break;
        if (n > 0 && x == last) {
            if (single && TrailingRun(b, x) + 1 >= 5)
                break;
            if (TriplePairs(b, x)) {
                b.clear();
                break;
            }
        }
        if (n == 11) {
            std::fill(std::begin(counts), std::end(counts), uint16_t{0});
            for (const char c : b)
                ++counts[static_cast<uint8_t>(c)];
        }
        if (n > 10 && counts[x] + 1u > m_t.repeatLimit[n + 1])
            break;
        bool opening = false;
        const int pair = PairOf(x, opening);
        if (pair >= 0) {
            if (opening) {
                if (closings[pair] == 0)
                    break;
                --closings[pair];
            } else {
                ++closings[pair];
            }
        }
        b += static_cast<char>(x);
        if (n >= 11)
            ++counts[x];
        nonAlnumRun = m_t.alnumChars[x] ? 0 : nonAlnumRun + 1;
    }
    (void)cutAtScheme;
    back.assign(b.rbegin(), b.rend());

    if (m_p.itemKind == kItemEmail) {
        if (back.size() < 2 || back.size() > 64)
            return false;
        if (Contains(back, '%')) {
            PercentDecode(back);
            std::size_t cut = 0;
            for (std::size_t i = 0; i < back.size(); ++i)
                if (!m_t.emailChars[static_cast<uint8_t>(back[i])])
                    cut = i + 1;
            back.erase(0, cut);
        }
    }
    if (!m_p.emailMode && back.size() == 1 && static_cast<uint8_t>(back[0]) >= 128)
        back.clear();
    DecodeEntities(back);
    BalanceBrackets(back);

    const auto quotes = std::count(back.begin(), back.end(), '"');
    if (quotes % 2 == 1)
        back.erase(0, back.find('"') + 1);
    if (m_p.emailMode) {
        for (;;) {
            const auto left = std::count(back.begin(), back.end(), '"');
            if (left < 2 || (left == 2 && back[0] == '"'))
                break;
            const std::size_t first = back.find('"');
            back.erase(0, back.find('"', first + 1) + 1);
        }
    }
    LeadTrim(back);
    const std::size_t maxLen = anchorLen + 3 < kBuffer ? kBuffer - anchorLen - 3 : 0;
    // Keep the bytes next to the anchor so the item stays one piece of the data.
    if (back.size() > maxLen)
        back.erase(0, back.size() - maxLen);
    return true;
}

void ItemBuilder::BalanceBrackets(std::string& text) const
{
    for (int round = 0; round < 2080; ++round) {
        bool changed = false;
        int opened[kPairCount] = {};
        for (std::size_t i = 0; i < text.size() && !changed; ++i) {
            bool opening = false;
            const int pair = PairOf(static_cast<uint8_t>(text[i]), opening);
            if (pair < 0)
                continue;
            if (!opening) {
                if (opened[pair] == 0) {
                    text.erase(0, i + 1);
                    changed = true;
                } else {
                    --opened[pair];
                }
                continue;
            }
            int opens = 0, closes = 0;
            std::size_t lastClose = 0;
            for (std::size_t j = i; j < text.size(); ++j) {
                bool o = false;
                if (PairOf(static_cast<uint8_t>(text[j]), o) != pair)
                    continue;
                if (o) {
                    ++opens;
                } else {
                    ++closes;
                    lastClose = j;
                }
            }
            if (opens > closes) {
                text.erase(0, i + 1);
                changed = true;
            } else if (closes > opens) {
                text.erase(0, lastClose + 1);
                changed = true;
            } else {
                ++opened[pair];
            }
        }
        if (!changed)
            return;
        TrimLeadingBlanks(text);
    }
}

void ItemBuilder::LeadTrim(std::string& text) const
{
    for (int round = 0; round < 260 && !text.empty(); ++round) {
        uint8_t m = m_t.leadTrimMap[static_cast<uint8_t>(text[0])];
        if (m_p.emailMode && (m == '.' || Contains(text, ';') || !m_t.emailChars[m]))
            m = 0;
        bool keep;
        switch (m) {
        case '(': keep = Contains(text, ')'); break;
        case '<': keep = Contains(text, '>'); break;
        case '[': keep = Contains(text, ']'); break;
        case '{': keep = Contains(text, '}'); break;
        default: keep = m != 0; break;
        }
        if (keep)
            return;
        std::size_t n = 1;
        while (n < text.size() && text[n] == ' ')
            ++n;
        text.erase(0, n);
    }
}

void ItemBuilder::TailTrim(std::string& text) const
{
    for (int round = 0; round < 260 && !text.empty(); ++round) {
        uint8_t m = m_t.tailTrimMap[static_cast<uint8_t>(text.back())];
        if (m_p.emailMode && (text.size() == 1 || m == '.' || m == '-' || !m_t.emailChars[m] ||
                              Contains(text, ';') || Contains(text, '&')))
            m = 0;
        bool keep;
        switch (m) {
        case ')': keep = Contains(text, '('); break;
        case '>': keep = Contains(text, '<'); break;
        case ']': keep = Contains(text, '['); break;
        case '}': keep = Contains(text, '{'); break;
        default: keep = m != 0; break;
        }
        if (keep)
            return;
        text.pop_back();
    }
}

ForwardRead ItemBuilder::ReadForward(BlockReader& r, uint64_t start, std::size_t limit, std::size_t backLen,
                                     bool binary) const
{
    ForwardRead fr;
    std::string& b = fr.bytes;
    const uint8_t single = m_p.singleAnchorChar;
    uint16_t counts[256]; // how often each byte occurs in `b`, kept from the 43rd byte on
    int open = 0;
    int nonAlnumRun = 0;
    uint64_t pos = start;
    limit = std::min(limit, kBuffer);
    while (b.size() < limit) {
        const int got = r.At(pos);
        if (got < 0)
            break;
        ++pos;
        auto x = static_cast<uint8_t>(got);
        if (fr.restart == 0 && Restarts(x))
            fr.restart = pos;
        const std::size_t n = b.size();
        const uint8_t prev = n > 0 ? static_cast<uint8_t>(b[n - 1]) : 0;
        if (!m_t.itemChars[x]) {
            // Inside an open bracket a line break or tab near the start stands for a blank.
            if ((x == '\r' || x == '\n' || x == '\t') && n < 64 && open > 0) {
                x = ' ';
                if (prev == ' ')
                    continue;
            } else {
                break;
            }
        }
        if (x == ' ' && n > 0 && m_t.sentencePunct[prev] && backLen > 64)
            break;
        if (single && (x == single || !m_t.printableUrlChars[x]))
            break;
        if (x == '<')
            break;
        if (m_p.emailMode) {
            if (!m_t.emailChars[x])
                break;
            if (n == 0 && (!m_t.alnumChars[x] || x == '&'))
                break;
            if (x == '"')
                break;
            if (x == '-' && prev == '.')
                break;
            if ((x == '.' || x == ',') && prev == '-')
                break;
            if ((x == '-' || x == ',' || x == '.') && prev == ',')
                break;
            if (x == '.' && prev == '_')
                break;
        }
        if (binary && !m_t.alnumChars[x] && nonAlnumRun >= 4)
            break;
        if (n == 43) {
            std::fill(std::begin(counts), std::end(counts), uint16_t{0});
            for (const char c : b)
                ++counts[static_cast<uint8_t>(c)];
        }
        if (n > 42 && counts[x] + 1u > m_t.repeatLimit[std::min<std::size_t>(n + 1, 260)])
            break;
        if (n > 0 && x == prev) {
            if (single && TrailingRun(b, x) + 1 >= 5)
                break;
            if (TriplePairs(b, x)) {
                b.clear();
                break;
            }
        }
        bool opening = false;
        const int pair = PairOf(x, opening);
        if (pair >= 0 && !opening && n >= 65 && open <= 0)
            break;
        if (pair >= 0)
            open += opening ? 1 : -1;
        if (n == 15)
            b.reserve(limit); // one allocation instead of a growth in steps
        b += static_cast<char>(x);
        if (n >= 43)
            ++counts[x];
        nonAlnumRun = m_t.alnumChars[x] ? 0 : nonAlnumRun + 1;
    }
    fr.end = pos;
    return fr;
}

ForwardRead ItemBuilder::ReadFunction(BlockReader& r, uint64_t start, std::size_t limit) const
{
    ForwardRead fr;
    std::string& b = fr.bytes;
    bool inArgs = false;
    uint64_t pos = start;
    limit = std::min(limit, kBuffer);
    while (b.size() < limit) {
        const int got = r.At(pos);
        if (got < 0)
            break;
        ++pos;
        const auto x = static_cast<uint8_t>(got);
        if (fr.restart == 0 && Restarts(x))
            fr.restart = pos;
        if (inArgs && x == ')') {
            b += ')';
            break;
        }
        if (x == '(') {
            if (b.empty())
                break;
            inArgs = true;
        } else if (x == '.' || x == '<') {
            b.clear();
            break;
        } else if (!inArgs) {
            if (b.size() >= 64) {
                b.clear();
                break;
            }
            if (x == ' ' && r.At(pos) != '(') {
                b.clear();
                break;
            }
        }
        b += static_cast<char>(x);
    }
    fr.end = pos;
    return fr;
}

ForwardRead ItemBuilder::ReadLine(BlockReader& r, uint64_t start, std::size_t limit) const
{
    ForwardRead fr;
    uint64_t pos = start;
    limit = std::min(limit, kBuffer);
    while (fr.bytes.size() < limit) {
        const int got = r.At(pos);
        if (got < 0)
            break;
        ++pos;
        if (fr.restart == 0 && Restarts(static_cast<uint8_t>(got)))
            fr.restart = pos;
        if (got == '\r' || got == '\n')
            break;
        fr.bytes += static_cast<char>(got);
    }
    fr.end = pos;
    return fr;
}

ForwardRead ItemBuilder::ReadRaw(BlockReader& r, uint64_t start, std::size_t count) const
{
    ForwardRead fr;
    uint64_t pos = start;
    while (fr.bytes.size() < count) {
        const int got = r.At(pos);
        if (got < 0)
            break;
        ++pos;
        if (fr.restart == 0 && Restarts(static_cast<uint8_t>(got)))
            fr.restart = pos;
        fr.bytes += static_cast<char>(got);
    }
    fr.end = pos;
    return fr;
}

bool ItemBuilder::FinishForward(std::string& f) const
{
    if (m_p.itemKind == kItemEmail) {
        if (f.size() < 3)
            return false;
        if (std::count_if(f.begin(), f.end(), [](char c) { return static_cast<uint8_t>(c) > 'A'; }) < 2)
            return false;
        if (Contains(f, '%'))
            PercentDecode(f);
        for (std::size_t i = 0; i < f.size(); ++i)
            if (!m_t.emailChars[static_cast<uint8_t>(f[i])]) {
                f.resize(i);
                break;
            }
    }
    const std::size_t lt = f.find("&lt;");
    if (lt != std::string::npos)
        f.resize(lt);
    DecodeEntities(f);
    if (f.size() > 3) {
        for (std::size_t i = 0; i < f.size(); ++i) {
            if (f[i] != '<')
                continue;
            if ((i + 1 < f.size() && f[i + 1] == '/') || (i + 2 < f.size() && f[i + 2] == '>')) {
                f.resize(i);
                break;
            }
        }
    }
    for (char q : {'"', '\''}) {
        if (!Contains(f, q))
            continue;
        if (!m_p.emailMode) {
            if (std::count(f.begin(), f.end(), q) % 2 == 1)
                f.resize(f.rfind(q));
        } else {
            f.resize(f.find(q));
        }
    }
    TailTrim(f);
    return true;
}

std::string ItemBuilder::Assemble(const std::string& backIn, const std::string& anchor, std::string forward) const
{
    std::string back = m_p.prefixMode ? std::string() : backIn;
    if (m_p.prefixMode && anchor.size() + 3 < kBuffer && forward.size() > kBuffer - anchor.size() - 3)
        forward.resize(kBuffer - anchor.size() - 3);
    const std::size_t fixed = back.size() + anchor.size();
    if (fixed >= kMaxItem)
        forward.clear();
    else if (fixed + forward.size() > kMaxItem)
        forward.resize(kMaxItem - fixed);

    const auto hasOpenBrace = [&] {
        return Contains(back, '{') || Contains(anchor, '{') || Contains(forward, '{');
    };
    while (!forward.empty()) {
        const auto b = static_cast<uint8_t>(forward.back());
        if (b == ' ' || b == ':' || b == ';') {
            forward.pop_back();
        } else if (b == '>') {
            forward.pop_back();
            // A tagged item loses its "<" with the ">", but never a byte of the anchor.
            if (!back.empty() && back[0] == '<')
                back.erase(0, 1);
        } else if (b == '}' && !hasOpenBrace()) {
            forward.pop_back();
        } else if (m_t.tailTrimMap[b] == 0) {
            forward.pop_back();
        } else {
            break;
        }
    }
    std::string item = back + anchor + forward;
    if (item.size() > kMaxItem)
        item.resize(kMaxItem);
    return item;
}

std::string ItemBuilder::AssembleLine(const std::string& back, const std::string& anchor, const std::string& forward)
{
    std::string item = back + anchor + forward;
    if (item.size() > kMaxItem)
        item.resize(kMaxItem);
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t a = 0;
    while (a < item.size() && blank(item[a]))
        ++a;
    std::size_t z = item.size();
    while (z > a && blank(item[z - 1]))
        --z;
    return item.substr(a, z - a);
}

bool ItemBuilder::Acceptable(const std::string& item) const
{
    if (item.empty() || item.size() > 259 || item.size() < static_cast<std::size_t>(std::max(m_p.minLength, 1)))
        return false;
    if (m_p.itemKind != kItemEmail)
        return true;
    const std::size_t n = item.size();
    if (m_t.leadTrimMap[static_cast<uint8_t>(item[0])] == 0)
        return false;
    if (n >= 2 && item[n - 2] == '.')
        return false;
    if (Contains(item, '&'))
        return false;
    const std::size_t at = item.find('@');
    if (at == std::string::npos || item.find('.', at + 1) == std::string::npos)
        return false;
    if (n >= 5 && item[n - 4] == '.') {
        std::string ext = item.substr(n - 3);
        for (char& c : ext)
            c = static_cast<char>(m_t.caseFoldMap[static_cast<uint8_t>(c)]);
        if (ext == "exe" || ext == "dll" || ext == "txt" || ext == "hlp")
            return false;
    }
    return true;
}

} // namespace lt
