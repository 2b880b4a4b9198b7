// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/delete_with_job.h"

#include "core/app_state.h"
#include "core/messages.h"
#include "core/progress.h"
#include "list/result_list.h"
#include "list/view_edit.h"

namespace lt {

DeleteOutcome DeleteRowsWhere(ResultList& list, const std::function<bool(const ResultRow&)>& pred, long remembered,
                              const StopCheck& stop)
{
    DeleteOutcome out;
    list.Modify([&](std::vector<ResultRow>& rows) {
        std::size_t keep = 0;
        long deletedAbove = 0;
        std::size_t i = 0;
        for (; i < rows.size(); ++i) {
            if ((i & 4095) == 0 && stop && stop()) {
                out.stopped = true;
                break;
            }
            if (pred(rows[i])) {
                out.params.insert(rows[i].param);
                ++out.deleted;
                if (static_cast<long>(i) < remembered)
                    ++deletedAbove;
                continue;
            }
            if (keep != i)
                rows[keep] = std::move(rows[i]);
            ++keep;
        }
        // A stop keeps the rows not reached.
        for (; i < rows.size(); ++i, ++keep)
            if (keep != i)
                rows[keep] = std::move(rows[i]);
        rows.resize(keep);
        if (remembered >= 0 && !rows.empty()) {
            long at = remembered - deletedAbove;
            if (at >= static_cast<long>(rows.size()))
                at = static_cast<long>(rows.size()) - 1;
            out.remembered = at;
        }
    });
    return out;
}

DeleteOutcome DeleteRowsWith(ResultList& list, const WordMatchParams& params, long remembered, const StopCheck& stop)
{
    if (WordMatchRefused(params))
        return {};
    const WordMatcher matcher(params);
    return DeleteRowsWhere(
        list, [&matcher](const ResultRow& row) { return matcher.Matches(row); }, remembered, stop);
}

bool StartDeleteWithJob(AppState& app, const WordMatchParams& params)
{
    if (WordMatchRefused(params))
        return false;
    ResultList& list = EditedList(app);
    const std::vector<std::size_t> selected = list.SelectedRows();
    const long remembered = selected.empty() ? list.FocusedRow() : static_cast<long>(selected.front());
    return StartJob(app, kJobFileList, [params, remembered](AppState& a) {
        const bool domainList = EditingDomainList(a);
        ResultList& edited = EditedList(a);
        Progress progress(a, edited.RowCount(), edited.RowCount() > 80);
        const DeleteOutcome out = DeleteRowsWith(edited, params, remembered, [&a] { return a.jobs.Code() == 0; });
        progress.End();
        if (domainList)
            DeleteFromResultList(a, out.params);
        NoteEditEnded(a, false, out.deleted > 0);
        a.status.ShowRowCount(static_cast<long>(edited.RowCount()));
        SelectShownRow(a, edited, out.remembered);
        a.jobs.jobCode.store(0);
        if (out.deleted == 0)
            ShowMessage(a, "No items found !");
    });
}

} // namespace lt
