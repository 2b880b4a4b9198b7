// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

struct AppState;

// "&Read from Text File": makes the list a file list (kind 15, auto-sort off) of the paths the
// text file holds, one a line, read on the worker (job code 3) so that a long file never holds
// up the window. A name without "/" is taken from the program folder. Lines end at CR, LF or
// CRLF; a line is cut at 259 characters (the rest dropped); empty and blank lines make no rows.
// Returns false, with nothing changed, when the file is not a regular file that can be read or a
// job runs; `error` then says why.
bool StartReadFileList(AppState& app, const std::string& path, std::string* error = nullptr);

// The reading itself, from an open descriptor (closed when done); returns the rows added.
long ReadFileListLines(AppState& app, int fd);

} // namespace lt
