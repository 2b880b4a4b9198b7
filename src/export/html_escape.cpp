// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/html_escape.h"

namespace lt {

void AppendHtmlEscaped(std::string& out, std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t special = text.find_first_of("&<>\"\r\n", start);
        if (special == std::string_view::npos) {
            out.append(text.substr(start));
            return;
        }
        out.append(text.substr(start, special - start));
        switch (text[special]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\r':
        case '\n': out += ' '; break; // a cell stays one line, also in an attribute
        default: out += "&quot;"; break;
        }
        start = special + 1;
    }
}

std::string HtmlEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendHtmlEscaped(out, text);
    return out;
}

} // namespace lt
