// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/delete_selected.h"

#include "core/app_state.h"
#include "list/delete_with_job.h"
#include "list/view_edit.h"

namespace lt {

long DeleteSelected(AppState& app)
{
    if (app.jobs.Running())
        return 0;
    ResultList& list = EditedList(app);
    const std::vector<std::size_t> selected = list.SelectedRows();
    if (selected.empty())
        return 0;
    const bool domainList = EditingDomainList(app);
    const long first = static_cast<long>(selected.front());
    DeleteOutcome out = DeleteRowsWhere(list, [](const ResultRow& row) { return row.selected; }, first);
    if (domainList)
        DeleteFromResultList(app, out.params);
    app.status.ShowRowCount(static_cast<long>(list.RowCount()));
    SelectShownRow(app, list, out.remembered);
    if (app.domain.exists)
        RefreshDomainTree(app);
    return out.deleted;
}

} // namespace lt
