// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lt {

// The text with "&", "<", ">" and the double quote written as character references, so that a
// text taken from the data can stand in an HTML page or inside a quoted attribute unchanged in
// meaning. CR and LF become blanks (a cell is one line); every other byte is kept.
std::string HtmlEscape(std::string_view text);

// Appends HtmlEscape(text) to `out`.
void AppendHtmlEscaped(std::string& out, std::string_view text);

} // namespace lt
