// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

struct AppState;

// How a session comes to be loaded.
enum class SessionSource {
    User,           // "&Load", "&Append", a start file
    Handoff,        // a hand-over file from another window of the program
    HandoffBatch,   // the same, for the batch download window (":CM3:")
};

inline constexpr const char* kLoadSessionFailed = "Could not load session from file !";
inline constexpr const char* kSaveSessionFailed = "Could not save Session to File !";
inline constexpr const char* kSessionSaved = "Session saved !";
// The stem and extension of hand-over files, the only sessions deleted after loading.
inline constexpr const char* kHandoffStem = "linktrawl";
inline constexpr const char* kHandoffExtension = ".ltn";

// "&Load" (append false) and "&Append" (append true): checks the file and reads its settings
// part on the calling thread, then loads the rows on the worker (job code 5). Nothing changes
// and false is returned, with a message, when the file cannot be read or is not a session, or a
// job runs. `error` (when given) gets the one-line reason.
bool StartLoadSession(AppState& app, const std::string& path, bool append,
                      SessionSource source = SessionSource::User, std::string* error = nullptr);

// "S&ave as": writes the whole list (rows of the current list, not the domain list) and shows
// "Session saved !" or "Could not save Session to File !". Returns the WriteList result.
long SaveSessionCommand(AppState& app, const std::string& path);

// Whether the rows are in ascending order of column 0 (as a search leaves them), for the domain
// commands.
bool ListSortedByFirstColumn(const AppState& app);

} // namespace lt
