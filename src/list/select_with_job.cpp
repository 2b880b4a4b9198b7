// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/select_with_job.h"

#include <cstdio>

#include "core/app_state.h"
#include "core/messages.h"
#include "list/result_list.h"
#include "list/view_edit.h"

namespace lt {

SelectOutcome SelectRowsWith(ResultList& list, const WordMatchParams& params, const StopCheck& stop)
{
    SelectOutcome out;
    if (WordMatchRefused(params))
        return out;
    const WordMatcher matcher(params);
    list.Modify([&](std::vector<ResultRow>& rows) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if ((i & 4095) == 0 && stop && stop()) {
                out.stopped = true;
                break;
            }
            if (matcher.Matches(rows[i])) {
                rows[i].selected = true;
                ++out.selected;
                if (out.first < 0)
                    out.first = static_cast<long>(i);
            } else if (!params.addToSelection) {
                rows[i].selected = false;
            }
        }
    });
    return out;
}

std::string SelectEndText(long count)
{
    if (count <= 0)
        return "No items found !";
    if (count == 1)
        return "One item selected!";
    char text[48];
    std::snprintf(text, sizeof text, "%ld items selected !", count);
    return text;
}

bool StartSelectWithJob(AppState& app, const WordMatchParams& params)
{
    if (WordMatchRefused(params))
        return false;
    return StartJob(app, kJobListEdit, [params](AppState& a) {
        ResultList& list = EditedList(a);
        const SelectOutcome out = SelectRowsWith(list, params, [&a] { return a.jobs.Code() == 0; });
        if (out.first >= 0) {
            list.SetFocusedRow(out.first);
            if (&list == &a.list)
                a.sorting.lastShownRow.store(out.first);
        }
        a.status.ShowRowCount(static_cast<long>(list.RowCount()));
        a.jobs.jobCode.store(0);
        ShowMessage(a, SelectEndText(out.selected));
    });
}

} // namespace lt
