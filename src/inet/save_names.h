// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lt {

// The file name a fetched URL is saved under in `directory` (the full path), or empty when none
// can be built (no directory, a URL under 10 characters or without "/"). `maxName` above 0 cuts a
// longer name, keeping a short extension.
std::string MakeSaveName(std::string_view directory, std::string_view url, std::size_t maxName = 0);

// The numbered name after `path`: "name_007.htm" -> "name_008.htm"; "name.htm" -> "name_001.htm";
// above 999 "name1000.htm". With `keep` a base not ending in "_" is kept whole. Empty past 99999.
std::string NextEnumeratedName(std::string_view path, bool keep = false);

// Creates `path` for writing without ever replacing or following anything there (O_EXCL,
// O_NOFOLLOW): when the name is taken and `rename` is set, the numbered names "%s_%03d%s" (1..999)
// and "%s%d%s" (1000..99999) are tried in turn, and `path` becomes the one created. Returns the
// open descriptor, or -1 with errno set.
int CreateSaveFile(std::string& path, bool rename);

// Makes sure `path` is a directory, creating it (and one missing parent) when `create`.
bool EnsureDirectory(const std::string& path, bool create);

// The first line of a saved HTML page.
std::string SavedPageHeader(std::string_view url);

} // namespace lt
