// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/folder_export.h"

#include <algorithm>

#include "core/app_state.h"
#include "core/messages.h"
#include "export/export_common.h"
#include "export/export_file.h"
#include "list/domain_tree.h"

namespace lt {

namespace {

constexpr int kMaxIndentLevels = 20;

void WalkFolder(const AppState& app, int node, int level, bool& rowsSinceFolder, long& rows, std::string& out)
{
    const DomainNode& folder = app.domain.tree.Node(node);
    const std::string indent(static_cast<std::size_t>(2 * std::min(level, kMaxIndentLevels)), ' ');
    if (rowsSinceFolder && level > 0)
        out += "\r\n";
    out += indent + folder.label + "\r\n\r\n";
    rowsSinceFolder = false;
    const auto& columns = app.exportSettings.columns;
    const std::string header1 = app.secondList.ColumnCount() > 1 ? app.secondList.Column(1).header : "";
    const std::string header2 = app.secondList.ColumnCount() > 2 ? app.secondList.Column(2).header : "";
    const auto shown = CollectFolderRows(app, MakeFolderQuery(app.domain.tree, node), [] { return false; });
    if (shown) {
        for (const ResultRow& row : *shown) {
            out += indent + "  " + row.Cell(0) + "\r\n";
            if (columns[1] && !row.Cell(1).empty())
                out += indent + header1 + ": " + row.Cell(1) + "\r\n";
            if (columns[2] && !row.Cell(2).empty())
                out += indent + "    " + header2 + " : " + row.Cell(2) + "\r\n";
            ++rows;
            rowsSinceFolder = true;
        }
    }
    for (const int child : folder.children)
        WalkFolder(app, child, level + 1, rowsSinceFolder, rows, out);
}

} // namespace

std::string FolderExportText(const AppState& app, int node, long& rows)
{
    rows = 0;
    std::string out;
    if (node < 0 || static_cast<std::size_t>(node) >= app.domain.tree.Size())
        return out;
    bool rowsSinceFolder = false;
    WalkFolder(app, node, 0, rowsSinceFolder, rows, out);
    return out;
}

long CopyFolderToClipboard(AppState& app, int node)
{
    long rows = 0;
    const std::string text = FolderExportText(app, node, rows);
    if (rows == 0)
        return 0;
    app.ui.SetClipboardText(text);
    const bool urls = app.listState.kind == kListFileSearch && app.settings.itemKind < 4;
    ShowMessage(app, std::to_string(rows) + (urls ? " Url(s) copied !" : " Item(s) copied !"));
    return rows;
}

bool SaveFolder(AppState& app, int node, const std::string& path)
{
    long rows = 0;
    const std::string text = FolderExportText(app, node, rows);
    if (rows == 0 || path.empty())
        return false;
    bool appending = false;
    if (RegularFileExists(path)) {
        const MsgAnswer answer =
            app.ui.ShowMessage(WrapPathForMessage(path) + "\nalready exists !", "Save as",
                               {MsgButtons::ReplaceAppendCancel, MsgIcon::Question});
        if (answer == MsgAnswer::Append)
            appending = true;
        else if (answer != MsgAnswer::Replace)
            return false;
    }
    ExportFile file;
    if (!file.Open(path, appending ? ExportFile::Mode::Append : ExportFile::Mode::Replace)) {
        ReportCannotOpen(app, path);
        return false;
    }
    if (appending)
        file.Write("\r\n");
    file.Write(text);
    if (!file.Close()) {
        ReportCannotWrite(app, path);
        return false;
    }
    return true;
}

} // namespace lt
