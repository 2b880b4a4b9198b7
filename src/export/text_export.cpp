// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include "core/app_state.h"
#include "core/messages.h"
#include "export/export_columns.h"
#include "export/export_common.h"
#include "export/export_file.h"
#include "export/grouped_layout.h"
#include "export/list_export.h"

namespace lt {

namespace {

bool HasSearchDescription(const AppState& app, int kind)
{
    const int listKind = app.listState.kind;
    return kind <= 1 && (listKind == kListFileSearch || listKind == kListInetSaved || listKind == kListInetRead);
}

} // namespace

bool ExportText(AppState& app, const ResultList& list, const std::string& path, bool selectedOnly, int kind,
                ExistingFile existing)
{
    if (!ExportMayStart(app, list, path, selectedOnly, kind))
        return false;
    const ExportColumns columns = PlanExportColumns(app.exportSettings, list, kind);

    // Unattended runs have no one to ask: the output file is replaced.
    if (existing == ExistingFile::Ask && app.startup.Unattended())
        existing = ExistingFile::Replace;
    bool appending = false;
    if (RegularFileExists(path)) {
        if (existing == ExistingFile::Ask) {
            const MsgAnswer answer = app.ui.ShowMessage(WrapPathForMessage(path) + "\nalready exists !", "Save as",
                                                        {MsgButtons::ReplaceAppendCancel, MsgIcon::Question});
            if (answer == MsgAnswer::Append)
                appending = true;
            else if (answer != MsgAnswer::Replace)
                return false;
        } else {
            appending = existing == ExistingFile::Append;
        }
    }

    ExportFile file;
    if (!file.Open(path, appending ? ExportFile::Mode::Append : ExportFile::Mode::Replace)) {
        ReportCannotOpen(app, path);
        return false;
    }
    if (appending)
        file.Write("\r\n");
    if (HasSearchDescription(app, kind)) {
        std::string head;
        AppendOneLine(head, app.search.description);
        file.Write(head + "\r\n\r\n");
    }

    GroupedLayout layout(columns, app.listState.kind == kListParsedText && app.listState.parseTextFileMode);
    long rowsWithText = 0;
    std::string chunk;
    list.ForEachRow([&](std::size_t, const ResultRow& row) {
        if (selectedOnly && !row.selected)
            return;
        chunk.clear();
        if (layout.AddRow(row, chunk))
            ++rowsWithText;
        file.Write(chunk); // buffered by the file
    });
    if (!file.Close()) {
        ReportCannotWrite(app, path);
        return false;
    }
    if (!selectedOnly && rowsWithText > 0)
        ShowMessage(app, std::to_string(rowsWithText) + " Item(s) saved !");
    return true;
}

} // namespace lt
