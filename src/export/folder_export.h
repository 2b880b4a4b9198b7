// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

struct AppState;

// The text of a domain-tree folder and its subfolders: each folder's name indented by two blanks
// per level below the first (at most 20 levels), its rows below it with the ticked export columns
// 2 and 3 under their headers. `rows` receives the number of rows written.
std::string FolderExportText(const AppState& app, int node, long& rows);

// "&Copy folder to Clipboard": the folder text on the clipboard and "%d Url(s) copied !" (URL
// kinds of the search list) or "%d Item(s) copied !". Returns the rows copied.
long CopyFolderToClipboard(AppState& app, int node);
// "&Save folder as...": writes the folder text, asking Replace/Append when the file exists (an
// appended text starts with a line break). Returns true when the file was written.
bool SaveFolder(AppState& app, int node, const std::string& path);

} // namespace lt
