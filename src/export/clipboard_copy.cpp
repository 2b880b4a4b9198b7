// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include "core/app_state.h"
#include "core/messages.h"
#include "export/export_columns.h"
#include "export/export_common.h"
#include "export/grouped_layout.h"
#include "export/list_export.h"

namespace lt {

namespace {

constexpr std::size_t kWaitCursorRows = 400;

enum class CopyRefusal { None, Silent, ColumnsMissing };

struct ClipboardCopy
{
    std::string text;
    long rows = 0;
    CopyRefusal refusal = CopyRefusal::None;
};

ExportColumns ClipboardColumns(const AppState& app, const ResultList& list, int kind, int columnKey)
{
    if (columnKey == 0)
        return PlanExportColumns(app.exportSettings, list, kind);
    if (columnKey >= '1' && columnKey <= '8')
        return SingleExportColumn(list, columnKey - '1');
    return SingleExportColumn(list, 0);
}

ClipboardCopy BuildClipboardCopy(const AppState& app, const ResultList& list, int rowChoice, int kind,
                                 int columnKey)
{
    ClipboardCopy copy;
    const int columnCount = list.ColumnCount();
    const std::size_t rowCount = list.RowCount();
    if (!ExportMayRun(app, kind) || columnCount < 1 || columnCount > kExportFlagCount || rowCount == 0) {
        copy.refusal = CopyRefusal::Silent;
        return copy;
    }
    // A column key names its column itself; only the export flags need the check.
    if (columnKey == 0 && !ExportColumnsAvailable(app.exportSettings, list, kind)) {
        copy.refusal = CopyRefusal::ColumnsMissing;
        return copy;
    }
    const long focused = list.FocusedRow();
    if ((rowChoice == 1 && list.SelectedRows().empty()) ||
        (rowChoice == 2 && (focused < 0 || static_cast<std::size_t>(focused) >= rowCount))) {
        copy.refusal = CopyRefusal::Silent;
        return copy;
    }

    const ExportColumns columns = ClipboardColumns(app, list, kind, columnKey);
    GroupedLayout layout(columns, app.listState.kind == kListParsedText && app.listState.parseTextFileMode);
    if (rowChoice == 2) {
        if (layout.AddRow(list.Row(static_cast<std::size_t>(focused)), copy.text))
            copy.rows = 1;
        return copy;
    }
    list.ForEachRow([&](std::size_t, const ResultRow& row) {
        if (rowChoice == 1 && !row.selected)
            return;
        if (layout.AddRow(row, copy.text))
            ++copy.rows;
    });
    return copy;
}

} // namespace

std::string ListClipboardText(AppState& app, const ResultList& list, int rowChoice, int kind, int columnKey)
{
    return BuildClipboardCopy(app, list, rowChoice, kind, columnKey).text;
}

long CopyListToClipboard(AppState& app, const ResultList& list, int rowChoice, int kind, int columnKey)
{
    const std::size_t rowsToCopy = rowChoice == 1 ? list.SelectedRows().size() : list.RowCount();
    const bool waitCursor = rowChoice != 2 && rowsToCopy > kWaitCursorRows;
    if (waitCursor)
        app.ui.SetWaitCursor(true);
    ClipboardCopy copy = BuildClipboardCopy(app, list, rowChoice, kind, columnKey);
    if (copy.refusal == CopyRefusal::None)
        app.ui.SetClipboardText(copy.text);
    if (waitCursor)
        app.ui.SetWaitCursor(false);
    if (copy.refusal == CopyRefusal::ColumnsMissing) {
        ShowMessage(app, kColumnsMissingText, "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
        return 0;
    }
    if (copy.refusal != CopyRefusal::None)
        return 0;
    if (rowChoice == 0 && copy.rows > 0)
        ShowMessage(app, std::to_string(copy.rows) + " Item(s) copied !");
    return copy.rows;
}

} // namespace lt
