// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/hit_rates.h"

#include <cstdio>
#include <unordered_map>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "core/progress.h"
#include "list/domain_tree.h"
#include "list/list_state.h"
#include "list/result_list.h"
#include "list/sort_command.h"

namespace lt {

namespace {

constexpr int kHitsWidth = 58;

std::string Folded(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(Cp1252Lower(static_cast<uint8_t>(c)));
    return out;
}

std::string CountText(long count)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%4ld", count);
    return buffer;
}

void SetCell(ResultRow& row, int column, std::string text)
{
    if (static_cast<int>(row.cells.size()) <= column)
        row.cells.resize(column + 1);
    row.cells[column] = std::move(text);
}

void RunHitRateJob(AppState& app, bool perColumn, long remembered)
{
    HitRateOutcome outcome;
    const std::size_t n = app.list.RowCount();
    Progress progress = Progress::ForRows(app, n);
    app.list.Modify([&](std::vector<ResultRow>& rows) {
        outcome = MergeHitRates(
            rows, perColumn, remembered, [&app] { return app.jobs.Code() == 0; },
            [&progress](uint64_t done, uint64_t) { progress.Advance(done); });
    });
    progress.End();
    app.status.ShowRowCount(outcome.rows);
    if (outcome.total != outcome.rows) {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%ld hits totally", outcome.total);
        app.status.SetStatusText(buffer, 1);
    }
    if (app.domain.viewShown) {
        app.domain.refreshPending.store(true);
    } else if (outcome.remembered >= 0) {
        app.list.SetSelectedRows({static_cast<std::size_t>(outcome.remembered)});
        app.list.SetFocusedRow(outcome.remembered);
        app.sorting.lastShownRow.store(outcome.remembered);
    }
    app.jobs.jobCode.store(0);
}

} // namespace

HitRateOutcome MergeHitRates(std::vector<ResultRow>& rows, bool perColumn, long remembered, const StopCheck& stop,
                             const ProgressCheck& progress)
{
    HitRateOutcome out;
    std::vector<ResultRow> merged;
    merged.reserve(rows.size());
    std::vector<long> counts;
    std::unordered_map<std::string, std::size_t> groups; // counted text -> merged row, within a run
    std::size_t runStart = 0; // first merged row of the current column-0 run
    std::size_t i = 0;
    for (; i < rows.size(); ++i) {
        if ((i & 0x3FF) == 0 && i > 0) {
            if (stop && stop()) {
                out.stopped = true;
                break;
            }
            if (progress)
                progress(i, rows.size());
        }
        ResultRow& row = rows[i];
        const bool sameRun = !merged.empty() && Cp1252EqualsNoCase(merged[runStart].Cell(0), row.Cell(0));
        if (!sameRun) {
            runStart = merged.size();
            groups.clear();
        }
        std::size_t target = merged.size();
        if (perColumn) {
            const auto [it, added] = groups.emplace(Folded(row.Cell(kCountedColumn)), merged.size());
            target = it->second;
            if (added)
                target = merged.size();
        } else if (sameRun) {
            target = runStart;
        }
        if (static_cast<long>(i) == remembered)
            out.remembered = static_cast<long>(target);
        if (target == merged.size()) {
            merged.push_back(std::move(row));
            counts.push_back(1);
        } else {
            ++counts[target];
        }
    }
    for (std::size_t k = 0; k < merged.size(); ++k) {
        SetCell(merged[k], kHitsColumn, CountText(counts[k]));
        out.total += counts[k];
    }
    // Rows not reached by a stopped job stay as they were.
    for (std::size_t k = i; k < rows.size(); ++k) {
        if (static_cast<long>(k) == remembered)
            out.remembered = static_cast<long>(merged.size());
        merged.push_back(std::move(rows[k]));
    }
    rows.swap(merged);
    out.rows = static_cast<long>(rows.size());
    if (progress)
        progress(rows.size(), rows.size());
    return out;
}

void ArrangeHitRateColumns(std::vector<ResultRow>& rows, std::vector<ColumnState>& columns, int column)
{
    ColumnState hits;
    hits.header = "Hits";
    hits.type = kColHits;
    hits.width = kHitsWidth;
    std::vector<int> keep; // old column for each new one; -1 for the new count column
    if (column < 0) {
        keep = {0, -1};
    } else if (column == 1) {
        keep = {0, -1, 1};
    } else {
        keep = {0, -1, column};
    }
    std::vector<ColumnState> newColumns;
    for (const int old : keep)
        newColumns.push_back(old < 0 ? hits : (old < static_cast<int>(columns.size()) ? columns[old] : ColumnState{}));
    if (column >= 2 && static_cast<int>(columns.size()) > 1) {
        // The count takes the place of column 1.
        newColumns[1].width = columns[1].width;
    }
    for (ResultRow& row : rows) {
        std::vector<std::string> cells;
        cells.reserve(keep.size());
        for (const int old : keep)
            cells.push_back(old < 0 ? std::string() : row.Cell(old));
        row.cells = std::move(cells);
    }
    columns = std::move(newColumns);
}

bool HitRates(AppState& app, int column)
{
    ResultList& list = app.list;
    if (list.RowCount() <= 1 || app.jobs.Running())
        return false;
    const int columnCount = list.ColumnCount();
    if (column == 0 || column >= columnCount)
        return false;
    if (app.listState.kind == kListFileSearch && app.scan.warnOmitted) {
        // Once per search: the flag comes back with the next search's parameters.
        app.scan.warnOmitted = false;
        const MsgAnswer answer =
            ShowMessage(app, kOmittedWarning, "LinkTrawl", {MsgButtons::ContinueCancel, MsgIcon::Warning});
        if (answer != MsgAnswer::Continue)
            return false;
    }

    // The row to select again: remembered by its place after the columns and the presort.
    std::vector<ColumnState> columns = list.Columns();
    if (app.listState.hitRateMode == 0)
        app.listState.savedColumns = columns;
    list.Modify([&](std::vector<ResultRow>& rows) { ArrangeHitRateColumns(rows, columns, column); });
    list.SetColumns(columns);
    app.listState.hitRateMode = column < 0 ? 2 : 1;

    if (!ListSortedByColumn0(list)) {
        const bool many = list.RowCount() > 300;
        if (many)
            app.status.SetStatusText(" Sorting items ...", 1);
        SortByColumn0Now(app, list);
        if (many)
            app.status.ClearStatus(1);
    }
    // Selection flags travel with the rows; the focus follows the presort.
    const std::vector<std::size_t> selected = list.SelectedRows();
    long remembered = selected.empty() ? list.FocusedRow() : static_cast<long>(selected.front());
    const bool perColumn = column > 0;
    return StartJob(app, kJobRemoveDupes,
                    [perColumn, remembered](AppState& a) { RunHitRateJob(a, perColumn, remembered); });
}

} // namespace lt
