// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

struct Options;

// The folder for temporary files: DIRS/TEMPO when it names an existing folder by an absolute path,
// else $TMPDIR when set, else /tmp.
std::string TempFolder(const Options& options);

// Creates a new file with a unique name in `folder`, exclusively and with mode 0600, so that no
// other user can have planted or read it. `stem` and `extension` shape the name as a fixed name
// would ("tmpfile" and ".txt" give "tmpfile-Xa3b9Q.txt"). Returns the open descriptor (the caller
// closes it) and sets `path`; -1 with `error` set when no file could be made.
int CreateTempFile(const std::string& folder, const std::string& stem, const std::string& extension,
                   std::string& path, std::string& error);

// True when `path` names a file that CreateTempFile made with this stem and extension in `folder`:
// the only files the program deletes by name after handing them over.
bool IsOwnTempFile(const std::string& path, const std::string& folder, const std::string& stem,
                   const std::string& extension);

} // namespace lt
