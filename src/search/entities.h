// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

// Character references and URL clean-up shared by the scanners, the crawler and the HTML tools.
// Every function works in place and keeps texts within 259 bytes.

// "&#NNN;" references: Windows-1252 bytes; code points the code page lacks become "?".
void DecodeNumericRefs(std::string& text);
// Numeric references, then the named entities, in one pass (replacement text is not decoded again).
void DecodeEntities(std::string& text);
// mode 0 (URLs): cut at "&quot;", the short URL entity list ("&nbsp;" ends the URL); for
// `itemKind` 1 numeric references too. mode 1 (titles): DecodeEntities and CollapseBlanks.
void CleanUrl(std::string& text, int mode, int itemKind = 0);
// Runs of two or more blanks become one.
void CollapseBlanks(std::string& text);
// "http://host/path" becomes "http://host"; anything else is returned unchanged.
std::string CutToHost(const std::string& url);
// Cuts the text at its first "&lt;" (forward parts of items, before DecodeEntities).
void CutAtLtEntity(std::string& text);

} // namespace lt
