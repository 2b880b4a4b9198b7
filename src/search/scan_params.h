// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace lt {

// The anchors and caption of the chosen item kind (filled by SelectItemKind).
struct KindAnchors
{
    std::string anchor1;     // raw bytes; may hold NUL in Hex mode
    std::string anchor2;
    std::string caption;     // "Search for: ..."
    std::string hexText;     // the user string as two hex digits a byte (Ascii mode)
    std::string hexSpaced;   // "4A 6F" form of the user bytes (Hex mode)
    bool hexValid = false;
};

// Filter word tables built from the "Search Options" lines (at most 18 words each).
struct FilterWords
{
    std::vector<std::string> must;
    std::vector<std::string> mustNot;
};

// Scan parameters derived from SearchSettings before every search; the scanners read only these.
struct ScanParams
{
    int itemKind = 0;
    std::string anchor1;   // folded to lower case when foldCase holds (Ascii only)
    std::string anchor2;
    std::string anchor3;   // "https://" for kind 0 when that anchor is on; empty otherwise
    int anchorLen = 0;     // length of anchor 1
    bool foldCase = true;
    bool prefixMode = false;
    bool entireLineMode = false;
    bool hexMode = false;
    unsigned char singleAnchorChar = 0;
    bool emailMode = false;
    int minLength = 6;
    bool topLevelOnly = false;
    bool nonBinaryOnly = false;
    bool warnOmitted = false;
};

} // namespace lt
