// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/cell_pass.h"

#include <cstdio>

#include "core/cp1252.h"
#include "list/result_list.h"

namespace lt {

bool InAscendingPlace(const std::vector<ResultRow>& rows, std::size_t i)
{
    const std::string& text = rows[i].Cell(0);
    if (i > 0 && Cp1252CompareNoCase(rows[i - 1].Cell(0), text) > 0)
        return false;
    if (i + 1 < rows.size() && Cp1252CompareNoCase(text, rows[i + 1].Cell(0)) > 0)
        return false;
    return true;
}

CellPassOutcome RunCellPass(ResultList& list, const ColumnMask& columns, bool selectedOnly, const CellEditor& edit,
                            bool checkOrder, const StopCheck& stop, const ProgressCheck& progress)
{
    CellPassOutcome out;
    int last = -1;
    for (int c = 0; c < 6; ++c)
        if (columns[c])
            last = c;
    if (last < 0)
        return out;
    const int columnCount = list.ColumnCount();
    if (last >= columnCount)
        last = columnCount - 1;
    list.Modify([&](std::vector<ResultRow>& rows) {
        const std::size_t n = rows.size();
        std::string cell;
        for (std::size_t i = 0; i < n; ++i) {
            if ((i & 4095) == 0) {
                if (stop && stop()) {
                    out.stopped = true;
                    break;
                }
                if (progress)
                    progress(i, n);
            }
            ResultRow& row = rows[i];
            if (selectedOnly && !row.selected)
                continue;
            bool rowChanged = false;
            bool firstColumnChanged = false;
            for (int c = last; c >= 0; --c) {
                if (!columns[c])
                    continue;
                cell = row.Cell(c);
                if (!edit(cell, c))
                    continue;
                if (cell.size() > kMaxCellLength)
                    cell.resize(kMaxCellLength);
                if (static_cast<int>(row.cells.size()) <= c)
                    row.cells.resize(c + 1);
                if (row.cells[c] == cell)
                    continue;
                row.cells[c] = cell;
                rowChanged = true;
                firstColumnChanged |= c == 0;
            }
            if (!rowChanged)
                continue;
            ++out.changed;
            if (out.firstChanged < 0)
                out.firstChanged = static_cast<long>(i);
            out.changedRows.push_back(i);
            if (checkOrder && firstColumnChanged && !out.orderBroken && !InAscendingPlace(rows, i))
                out.orderBroken = true;
        }
        if (progress)
            progress(n, n);
    });
    return out;
}

std::string ItemsModifiedText(long count)
{
    if (count <= 0)
        return "No items modified !";
    if (count == 1)
        return "One item modified !";
    char text[48];
    std::snprintf(text, sizeof text, "%ld items modified !", count);
    return text;
}

std::string UrlsModifiedText(long count)
{
    if (count <= 0)
        return "No items modified !";
    if (count == 1)
        return "One url modified !";
    char text[48];
    std::snprintf(text, sizeof text, "%ld urls modified !", count);
    return text;
}

} // namespace lt
