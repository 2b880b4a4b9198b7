// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/delete_empty_lines.h"

#include "core/app_state.h"
#include "core/messages.h"
#include "list/delete_with_job.h"

namespace lt {

bool RowIsEmpty(const ResultRow& row)
{
    for (const std::string& cell : row.cells)
        if (cell.find_first_not_of(" \t") != std::string::npos)
            return false;
    return true;
}

long DeleteEmptyLines(AppState& app)
{
    if (app.jobs.Running())
        return 0;
    const std::vector<std::size_t> selected = app.list.SelectedRows();
    const long remembered = selected.empty() ? app.list.FocusedRow() : static_cast<long>(selected.front());
    const DeleteOutcome out = DeleteRowsWhere(app.list, RowIsEmpty, remembered);
    app.status.ShowRowCount(static_cast<long>(app.list.RowCount()));
    if (out.deleted == 0)
        ShowMessage(app, "No items found !");
    return out.deleted;
}

} // namespace lt
