// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/item_kind.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/app_state.h"

namespace lt {

namespace {

constexpr std::size_t kAnchorMax = 259;

struct KindRow
{
    const char* anchor1;
    const char* anchor2;
    const char* caption;
};

// Kind 4 takes its anchors from the user string; its row only keeps the table complete.
constexpr std::array<KindRow, 8> kKinds{{
    {"http://", "ftp://", "http, ftp"},
    {"mailto:", "news:", "mailto, news"},
    {"gopher://", "wais://", "gopher, wais"},
    {"telnet://", "telnet://", "telnet"},
    {"", "", ""},
    {"function", "function", "Javascript functions"},
    {"@", "@", "Emails"},
    {".", ".", "IP's"},
}};

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool HexTextValid(const std::string& text)
{
    if (text.size() % 2 != 0)
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return HexDigitValue(c) >= 0; });
}

std::string HexBytes(const std::string& text)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < text.size() && bytes.size() < kAnchorMax; i += 2) {
        // A stray non-hex character counts as 0; such text is flagged invalid anyway.
        const int hi = std::max(HexDigitValue(text[i]), 0);
        const int lo = std::max(HexDigitValue(text[i + 1]), 0);
        bytes.push_back(static_cast<char>(hi * 16 + lo));
    }
    return bytes;
}

std::string PlainHex(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    char buf[4];
    for (char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(c));
        out += buf;
    }
    return out;
}

std::string SpacedHex(const std::string& bytes)
{
    std::string out;
    char buf[4];
    for (char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", static_cast<unsigned char>(c));
        out += buf;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

void Fold(std::string& text, const CharTables& tables)
{
    for (char& c : text)
        c = static_cast<char>(tables.caseFoldMap[static_cast<unsigned char>(c)]);
}

} // namespace

void SelectItemKind(AppState& app)
{
    SearchSettings& s = app.settings;
    if (s.itemKind < 0 || s.itemKind > 7)
        s.itemKind = kItemHttpFtp;
    KindAnchors& a = app.anchors;
    const KindRow& row = kKinds[static_cast<std::size_t>(s.itemKind)];
    a.hexText.clear();
    a.hexSpaced.clear();
    a.hexValid = false;

    if (s.itemKind != kItemUser) {
        a.anchor1 = row.anchor1;
        a.anchor2 = row.anchor2;
        a.caption = std::string("Search for: ") + row.caption;
        return;
    }

    const std::string& user = s.userStrings[0];
    if (s.userHex) {
        a.hexValid = HexTextValid(user);
        a.anchor1 = HexBytes(user);
        a.hexSpaced = SpacedHex(a.anchor1);
        a.hexText = user;
    } else {
        a.anchor1 = user.substr(0, kAnchorMax);
        a.hexText = PlainHex(a.anchor1);
        a.hexValid = true;
    }
    a.anchor2 = a.anchor1;
    a.caption = "Search for: " + user;
}

bool PrepareScan(AppState& app)
{
    SelectItemKind(app);
    const SearchSettings& s = app.settings;
    ScanParams& p = app.scan;
    const int kind = s.itemKind;
    const bool hexUser = kind == kItemUser && s.userHex;

    // 1. Anchors, folded unless the search is case-sensitive or a byte search.
    p.itemKind = kind;
    p.anchor1 = app.anchors.anchor1;
    p.anchor2 = app.anchors.anchor2;
    p.anchor3 = (kind == kItemHttpFtp && s.findHttps) ? "https://" : "";
    if (!hexUser && !s.caseSensitive) {
        Fold(p.anchor1, app.tables);
        Fold(p.anchor2, app.tables);
        Fold(p.anchor3, app.tables);
    }
    p.anchorLen = static_cast<int>(p.anchor1.size());

    const bool fileSearchList = app.listState.kind == kListFileSearch;
    // 2.
    p.warnOmitted = s.duplicatesPolicy != 0 || (p.anchorLen < s.minimalLength && kind >= 4 && fileSearchList);
    // 3.
    p.topLevelOnly = s.onlyTopLevelDomains && (kind == 0 || kind == 2 || kind == 3) && fileSearchList;
    // 4.
    p.singleAnchorChar = (p.anchorLen == 1 && kind != kItemIp) ? static_cast<unsigned char>(p.anchor1[0]) : 0;
    // 5.
    p.emailMode = p.singleAnchorChar == '@' || kind == kItemEmail;
    // 6.
    p.minLength = s.minimalLength;
    if (kind == kItemEmail)
        p.minLength = std::max(p.minLength, 5);
    if (kind == kItemIp)
        p.minLength = std::max(p.minLength, 7);
    // 7. Hex bytes are compared exactly: folding the text but not the unfolded bytes would
    // never match a byte that has a lower-case form.
    p.foldCase = (!s.caseSensitive || kind == kItemJavascript) && !hexUser;
    // 8.
    p.prefixMode = (s.userPrefix || kind == kItemJavascript || hexUser) && kind != kItemEmail;
    // 9.
    p.entireLineMode = s.userEntireLine && kind == kItemUser && !s.userUrlLike && !p.prefixMode;
    // 10.
    p.hexMode = hexUser;
    // 11. The folder search switches this on for "Search all non binary files"; other drivers
    // read every byte.
    p.nonBinaryOnly = false;

    return p.anchorLen >= 1 && p.anchorLen < 248;
}

} // namespace lt
