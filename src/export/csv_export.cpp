// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include "core/app_state.h"
#include "core/messages.h"
#include "export/export_columns.h"
#include "export/export_common.h"
#include "export/export_file.h"
#include "export/list_export.h"

namespace lt {

bool ExportCsv(AppState& app, const ResultList& list, const std::string& path, bool selectedOnly, int kind)
{
    if (!ExportMayStart(app, list, path, selectedOnly, kind))
        return false;
    const ExportColumns columns = PlanExportColumns(app.exportSettings, list, kind);
    // A delimiter byte of 0 would end the field text for any reader of the file.
    const char delimiter = app.exportSettings.delimiter != '\0' ? app.exportSettings.delimiter : ';';

    ExportFile file;
    if (!file.Open(path, ExportFile::Mode::Replace)) {
        ReportCannotOpen(app, path);
        return false;
    }
    long lines = 0;
    std::string line;
    list.ForEachRow([&](std::size_t, const ResultRow& row) {
        if (selectedOnly && !row.selected)
            return;
        line.clear();
        for (std::size_t i = 0; i < columns.listOrder.size(); ++i) {
            AppendOneLine(line, row.Cell(columns.listOrder[i]));
            if (i + 1 < columns.listOrder.size())
                line += delimiter;
        }
        if (line.empty())
            return;
        line += "\r\n";
        file.Write(line); // buffered by the file
        ++lines;
    });
    if (!file.Close()) {
        ReportCannotWrite(app, path);
        return false;
    }
    if (!selectedOnly && lines > 0)
        ShowMessage(app, std::to_string(lines) + " Item(s) copied !");
    return true;
}

} // namespace lt
