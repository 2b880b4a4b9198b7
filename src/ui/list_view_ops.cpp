// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/list_view_ops.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

#include <algorithm>

#include "core/app_state.h"
#include "list/add_result_row.h"
#include "list/column_fit.h"
#include "list/list_kind.h"
#include "platform/file_info.h"
#include "ui/cell_text.h"

namespace lt {

namespace {

constexpr std::size_t kMaxSelectionBytes = 8192;

} // namespace

std::string SelectionFromPaths(const QStringList& paths)
{
    if (paths.isEmpty())
        return {};
    if (paths.size() == 1)
        return EncodePath(paths.front());
    const QString folder = QFileInfo(paths.front()).absolutePath();
    std::string selection = EncodePath(folder);
    selection.push_back('\0');
    for (const QString& path : paths) {
        const QFileInfo info(path);
        const std::string name = EncodePath(info.absolutePath() == folder ? info.fileName() : info.absoluteFilePath());
        // Room for this name, its terminator and the final empty name.
        if (selection.size() + name.size() + 2 > kMaxSelectionBytes)
            break;
        selection += name;
        selection.push_back('\0');
    }
    selection.push_back('\0');
    return selection;
}

std::string DroppedNamesCaption(const QStringList& paths)
{
    std::string caption;
    for (qsizetype i = 0; i < paths.size() && i < 3; ++i) {
        if (i > 0)
            caption.push_back(' ');
        caption += '"' + EncodePath(QFileInfo(paths[i]).fileName()) + '"';
    }
    if (paths.size() > 3)
        caption += " ...";
    return caption;
}

void AddFileListRows(AppState& app, const QStringList& paths)
{
    const AutoSort previous = app.list.GetAutoSort();
    app.list.SetAutoSort(AutoSort::Off);
    for (const QString& path : paths) {
        const std::string name = EncodePath(QFileInfo(path).absoluteFilePath());
        FileFacts facts;
        if (!ReadFileFacts(name, facts) || facts.isDirectory)
            continue;
        ResultRow row;
        row.cells = {name, FileDateText(facts.writeTime), FileDateText(facts.creationTime),
                     FileDateText(facts.accessTime), std::to_string(facts.size)};
        row.icon = IconForText(app, name);
        row.param = static_cast<uint32_t>(++app.listState.paramCounter);
        ++app.listState.rowSerial;
        app.list.InsertRow(std::move(row));
    }
    app.list.SetAutoSort(previous);
    app.status.ShowRowCount(-1);
}

void ClearResults(AppState& app)
{
    app.search.searchCaption.clear();
    app.search.targetText.clear();
    app.search.droppedCaption.clear();
    app.status.ClearStatus(-1);
    app.domain.viewShown = false;
    const int kind = app.listState.kind;
    const bool fileKind = kind == kListFileSearch || kind == kListFileList || kind == kListParsedText;
    if (!fileKind) {
        SwitchListKind(app, kListFileSearch);
    } else {
        ClearResultList(app);
    }
    ApplyListKind(app, 2);
}

void FitListColumns(AppState& app, const QTableView& view, int column, int mode)
{
    const std::vector<ColumnState> columns = app.list.Columns();
    const int count = static_cast<int>(columns.size());
    if (count == 0)
        return;
    if (column == -2) {
        FitColumns(app, -2, 0);
        return;
    }
    const QFontMetrics metrics(view.font());
    // Content widths from the rows that can be measured quickly: the first few thousand and the
    // visible page, so that a list of a million rows fits at once.
    const std::size_t rows = app.list.RowCount();
    const std::size_t first = static_cast<std::size_t>(std::max(0, view.rowAt(0)));
    std::vector<int> widths(static_cast<std::size_t>(count), 0);
    for (int c = 0; c < count; ++c) {
        if (column >= 0 && c != column)
            continue;
        int width = metrics.horizontalAdvance(DecodeBytes(columns[static_cast<std::size_t>(c)].header)) + 24;
        auto measure = [&](std::size_t r) {
            int w = metrics.horizontalAdvance(DecodeBytes(app.list.GetCell(r, c))) + 12;
            if (c == 0)
                w += view.iconSize().width() + 6;
            width = std::max(width, w);
        };
        for (std::size_t r = 0; r < rows && r < 2000; ++r)
            measure(r);
        for (std::size_t r = std::max<std::size_t>(first, 2000); r < rows && r < first + 100; ++r)
            measure(r);
        widths[static_cast<std::size_t>(c)] = width;
    }
    FitColumns(app, column, mode, widths);
}

} // namespace lt
