// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/view_edit.h"

#include <unordered_map>

#include "core/app_state.h"
#include "core/messages.h"
#include "core/progress.h"
#include "list/result_list.h"

namespace lt {

bool EditingDomainList(const AppState& app)
{
    return app.domain.exists && app.domain.viewShown.load();
}

ResultList& EditedList(AppState& app)
{
    return EditingDomainList(app) ? app.secondList : app.list;
}

bool MirrorToResultList(AppState& app, const std::vector<std::size_t>& domainRows)
{
    if (domainRows.empty())
        return false;
    std::unordered_map<uint32_t, ResultRow> byParam;
    byParam.reserve(domainRows.size());
    for (const std::size_t i : domainRows)
        if (i < app.secondList.RowCount()) {
            ResultRow row = app.secondList.Row(i);
            byParam.emplace(row.param, std::move(row));
        }
    const bool check = app.sorting.mainSortedByUrl.load();
    bool broken = false;
    app.list.Modify([&](std::vector<ResultRow>& rows) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto found = byParam.find(rows[i].param);
            if (found == byParam.end())
                continue;
            ResultRow& row = rows[i];
            const bool firstChanged = row.Cell(0) != found->second.Cell(0);
            for (int c = 0; c < 3; ++c) {
                if (static_cast<int>(row.cells.size()) <= c)
                    row.cells.resize(c + 1);
                row.cells[c] = found->second.Cell(c);
            }
            if (check && firstChanged && !broken && !InAscendingPlace(rows, i))
                broken = true;
        }
    });
    return broken;
}

void DeleteFromResultList(AppState& app, const std::unordered_set<uint32_t>& params)
{
    if (params.empty())
        return;
    app.list.Modify([&](std::vector<ResultRow>& rows) {
        std::erase_if(rows, [&](const ResultRow& row) { return params.contains(row.param); });
    });
}

void NoteEditEnded(AppState& app, bool orderBroken, bool resultListChanged)
{
    if (orderBroken)
        app.sorting.mainSortedByUrl.store(false);
    // The tree's folders hold row ranges of the result list.
    if (resultListChanged && app.domain.exists)
        app.domain.refreshPending.store(true);
}

void SelectShownRow(AppState& app, ResultList& list, long row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= list.RowCount())
        return;
    list.SetSelectedRows({static_cast<std::size_t>(row)});
    list.SetFocusedRow(row);
    if (&list == &app.list)
        app.sorting.lastShownRow.store(row);
}

bool StartCellEditJob(AppState& app, CellEditJob job, std::function<std::string(long)> endText)
{
    return StartJob(app, kJobListEdit, [job = std::move(job), endText = std::move(endText)](AppState& a) {
        const bool domainList = EditingDomainList(a);
        ResultList& list = EditedList(a);
        Progress progress = Progress::ForRows(a, list.RowCount());
        const CellPassOutcome out = job(
            list, !domainList && a.sorting.mainSortedByUrl.load(), [&a] { return a.jobs.Code() == 0; },
            [&progress](uint64_t done, uint64_t) { progress.Advance(done); });
        progress.End();
        bool broken = out.orderBroken;
        if (domainList)
            broken = MirrorToResultList(a, out.changedRows);
        NoteEditEnded(a, broken, out.changed > 0);
        a.status.ShowRowCount(static_cast<long>(list.RowCount()));
        SelectShownRow(a, list, out.firstChanged);
        a.jobs.jobCode.store(0);
        ShowMessage(a, endText(out.changed));
    });
}

} // namespace lt
