// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "search/folder_walk.h"

namespace lt {

struct AppState;

// The row icon of a deleted file ("ICO_DEL").
inline constexpr int kIconDeleted = 12;

// Internet Explorer's favorites folder, without a trailing '/': the Favorites shell folder of the
// Windows profile, else the BOOKMARKS/MSIE location.
std::string FavoritesFolder(const AppState& app);

// "Search Fa&vorites" once the dialog gave its text: the text goes to the top of the find
// history, the list becomes ListKind 14, and the folder walk runs over the favorites folder in
// favorites mode: recursive, every file to the link scanner (which lists only ".url" shortcuts),
// "http" as the http anchor, the text as the one include string (none when it is empty). The
// item kind and the restriction settings return through RunAfterJob once the walk has ended,
// also when it is stopped.
// False when nothing started (a job runs, or the folder is shorter than 4 characters).
// `scan` replaces the scanner (tests).
bool SearchFavorites(AppState& app, const std::string& text, FileScan scan = {});

// The file behind a favorites row: `folder`, "/" and the File column, only when that column names
// a ".url" file inside the folder (relative, no ".." component; "\" read as "/"); else empty.
std::string FavoritePath(const std::string& folder, const std::string& fileColumn);

// Context command 4138 "Delete Url &File(s)": after asking, deletes the regular ".url" files
// inside the favorites folder behind the selected rows; every row of a deleted file gets the
// deleted icon, rows stay. Returns the files deleted.
long DeleteFavoriteFiles(AppState& app);

} // namespace lt
