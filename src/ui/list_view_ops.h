// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <string>

class QTableView;

namespace lt {

struct AppState;

// The selection form of several files: one path as it is; otherwise the first file's folder, then
// NUL-separated names (the full path for a file of another folder), ended by an empty name.
// At most 8192 bytes with the terminators; names that do not fit are left out.
std::string SelectionFromPaths(const QStringList& paths);

// The status caption of dropped files: up to three names in double quotes separated by a blank,
// then " ..." when there are more.
std::string DroppedNamesCaption(const QStringList& paths);

// Adds the files to the file list (ListKind 15) with their dates and size, in the order given.
void AddFileListRows(AppState& app, const QStringList& paths);

// "C&lear Results": captions and status texts emptied, the domain view left, a non-file kind
// switched back to the file-search list, the rows cleared and the kind's columns applied again.
void ClearResults(AppState& app);

// "R&esize List columns" with the widths measured in the view: column >= 0 fits (or restores)
// that column; -1 all columns in `mode` 0 (contents), 1 (Shift) or 2 (Ctrl); -2 gives the free
// width to the main column.
void FitListColumns(AppState& app, const QTableView& view, int column, int mode = 0);

} // namespace lt
