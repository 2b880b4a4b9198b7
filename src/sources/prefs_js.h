// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lt {

// Netscape's typed-URL history in a prefs.js (or Unix preferences.js) text: the lines
//   user_pref("browser.url_history.URL_<n>", "<JavaScript string>");

// The URLs of the history lines in file order, JavaScript escapes undone and blanks trimmed, at
// most 256; an empty one ends the list. Other preferences are never taken for URLs.
std::vector<std::string> ReadPrefsTypedUrls(std::string_view text);

// Whether a line (without its line end) sets a "browser.url_history.URL_<n>" preference.
bool IsPrefsHistoryLine(std::string_view line);

// `text` with every history line dropped and one line for each URL (up to the first empty one)
// where the first history line was, in that line's line end; all other lines stay as they were.
// False, `out` untouched, when the text has no history line: such a file is left as it is.
bool ReplacePrefsTypedUrls(std::string_view text, const std::vector<std::string>& urls, std::string& out);

// `text` as the inside of a double-quoted JavaScript string.
std::string JsStringEscape(std::string_view text);

} // namespace lt
