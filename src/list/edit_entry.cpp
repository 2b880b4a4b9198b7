// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/edit_entry.h"

#include "core/app_state.h"
#include "core/cp1252.h"
#include "list/add_result_row.h"
#include "list/view_edit.h"

namespace lt {
namespace {

std::string Cut(std::string text)
{
    if (text.size() > kMaxCellLength)
        text.resize(kMaxCellLength);
    return text;
}

bool InPlace(const ResultList& list, std::size_t i)
{
    const std::string text = list.GetCell(i, 0);
    if (i > 0 && Cp1252CompareNoCase(list.GetCell(i - 1, 0), text) > 0)
        return false;
    if (i + 1 < list.RowCount() && Cp1252CompareNoCase(text, list.GetCell(i + 1, 0)) > 0)
        return false;
    return true;
}

// Edits one result-list row; returns its new index.
std::size_t EditResultRow(AppState& app, std::size_t row, const std::string& first, const std::string& second)
{
    ResultList& list = app.list;
    ResultRow old = list.Row(row);
    const bool firstChanged = old.Cell(0) != first;
    if (old.Cell(1) != second && list.ColumnCount() > 1)
        list.SetCell(row, 1, second);
    if (!firstChanged)
        return row;
    std::size_t at = row;
    if (app.listState.kind != kListFavorites) {
        // Inserted again, so that the row takes its sorted place; the cells travel with it, and
        // a row equal to another is kept rather than refused as a duplicate.
        ResultRow moved = list.Row(row);
        if (moved.cells.empty())
            moved.cells.resize(1);
        moved.cells[0] = first;
        moved.icon = IconForText(app, first);
        list.DeleteRow(row);
        at = list.InsertRow(std::move(moved));
    } else {
        list.SetCell(row, 0, first);
    }
    if (app.sorting.mainSortedByUrl.load() && !InPlace(list, at))
        app.sorting.mainSortedByUrl.store(false);
    return at;
}

} // namespace

long EditEntryCommand(AppState& app, std::size_t row, const std::string& firstText, const std::string& secondText)
{
    if (app.jobs.Running() || firstText.empty())
        return -1;
    const std::string first = Cut(firstText);
    const std::string second = Cut(secondText);
    ResultList& list = EditedList(app);
    if (row >= list.RowCount())
        return -1;
    const ResultRow old = list.Row(row);
    if (old.Cell(0) == first && old.Cell(1) == second)
        return -1;
    long at = static_cast<long>(row);
    if (EditingDomainList(app)) {
        list.SetCell(row, 0, first);
        list.SetCell(row, 1, second);
        long mirrored = -1;
        app.list.ForEachRow([&](std::size_t i, const ResultRow& r) {
            if (mirrored < 0 && r.param == old.param)
                mirrored = static_cast<long>(i);
        });
        if (mirrored >= 0)
            EditResultRow(app, static_cast<std::size_t>(mirrored), first, second);
    } else {
        at = static_cast<long>(EditResultRow(app, row, first, second));
    }
    if (app.domain.exists && old.Cell(0) != first)
        RefreshDomainTree(app);
    list.SetFocusedRow(at);
    if (&list == &app.list)
        app.sorting.lastShownRow.store(at);
    return at;
}

} // namespace lt
