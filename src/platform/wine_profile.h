// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lt {

// The Wine prefix to read Windows data from: `configured` (the INI's DIRS/WINEPREFIX or
// --wine-prefix) when set, else $WINEPREFIX, else ~/.wine. Without a trailing '/'; empty when
// none of them can be formed (no home folder).
std::string WinePrefixPath(const std::string& configured);

// The Linux path of a Windows path in `prefix`: the drive letter goes through the prefix's
// `dosdevices/x:` link (C: falls back to `drive_c`), backslashes become '/', and each existing
// component is matched ignoring case, as Windows does, so "C:\Users\U\History.IE5\Index.dat"
// finds Wine's "users/u/history.ie5/index.dat". Components that do not exist are kept as given.
// Empty for a path without a drive letter (UNC paths and relative names) or an unknown drive.
std::string MapWindowsPath(const std::string& prefix, std::string_view windowsPath);

// `relative` (with '\' or '/' separators) below the Linux folder `base`, each existing component
// matched ignoring case. "." is dropped and ".." never climbs above `base`.
std::string ResolvePathNoCase(const std::string& base, std::string_view relative);

// Whether the two names are equal ignoring the case of ASCII letters (Wine folds file names that
// way; bytes of other characters must match exactly, as they may be parts of UTF-8 sequences).
bool FileNameEqualsNoCase(std::string_view a, std::string_view b);

} // namespace lt
