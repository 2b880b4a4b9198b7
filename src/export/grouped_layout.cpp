// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/grouped_layout.h"

#include "export/export_common.h"

namespace lt {

GroupedLayout::GroupedLayout(const ExportColumns& columns, bool keepEmptyFirst)
    : m_columns(columns), m_keepEmptyFirst(keepEmptyFirst)
{
}

bool GroupedLayout::AddRow(const ResultRow& row, std::string& out)
{
    const std::size_t count = m_columns.textOrder.size();
    bool hadText = false;
    bool firstWritten = false;
    for (std::size_t place = 0; place < count; ++place) {
        const int column = m_columns.textOrder[place];
        const std::string& text = row.Cell(column);
        std::string& previous = m_previous[static_cast<std::size_t>(column)];
        const bool differs = text != previous;
        previous = text;
        if (!text.empty())
            hadText = true;
        if (place == 0) {
            if (text.empty() && !m_keepEmptyFirst)
                continue;
            if (count == 1 || differs) {
                AppendOneLine(out, text);
                out += "\r\n";
                firstWritten = true;
            }
            continue;
        }
        if (text.empty() || !(firstWritten || differs))
            continue;
        out += "  ";
        if (count > 2) {
            out += m_columns.headers[static_cast<std::size_t>(column)];
            out += ": ";
        }
        AppendOneLine(out, text);
        out += "\r\n";
    }
    return hadText;
}

} // namespace lt
