// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

struct AppState;

// The file that holds Netscape's typed URLs: with a Netscape bookmark location, "prefs.js" (or
// Unix "preferences.js") in its folder when the location contains "Users" or "Program" or no
// "Netscape", else "Netscape.ini"; a prefs file missing there is looked for in the profile folder
// of nsreg.dat. Without a location: the profile folder of nsreg.dat, then ~/.netscape. False with
// the message to show in `error`.
bool FindNetscapeTypedFile(const AppState& app, std::string& path, std::string& error);

// Reads Netscape's typed URLs into the list (ListKind 1) and remembers the file for the writer.
// Window thread; job code 101 while it reads. Returns the row count, or -1 with the message shown
// and kept in app.browserLists.lastError.
long ReadNetscapeTypedUrls(AppState& app);

// Command 4206: after asking, writes the list back to the file the reader found: prefs.js with
// its history lines replaced (JavaScript-escaped; every other line kept), or Netscape.ini's "URL
// History" (at most 31 entries). Returns 0 (also when answered No), or 2 with the message shown
// and kept in app.browserLists.lastError; the file is then unchanged.
int WriteNetscapeTypedUrls(AppState& app);

} // namespace lt
