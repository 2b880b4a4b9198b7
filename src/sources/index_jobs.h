// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

struct AppState;

// Reads one history or temporary-files index into the list as it stands (kind 4 or 5), with
// `fileColumn` in the File column of kind 4. False when the file cannot be opened or is shorter
// than 20480 bytes; true otherwise, also without records. Worker thread.
bool ReadIndexFile(AppState& app, const std::string& path, const std::string& label, int kind);

// Reads a cookie index into a fresh kind-8 list and reports by itself; false when the file
// cannot be opened or its header is foreign. Window thread.
bool ReadCookieIndex(AppState& app, const std::string& path, const std::string& label);

// "Current History": the main history index below `historyFolder` ("History.IE5/index.dat", else
// "index.dat") and the sub-history indexes in the folders beside it, into a fresh kind-4 list, as
// the worker job. False when the job could not start.
bool StartCurrentHistory(AppState& app, const std::string& historyFolder);

// The "MSIE Index file" reading of kinds 1 to 3 into a fresh kind-5 list, as the worker job.
// False when the file cannot be opened (message shown) or the job could not start.
bool StartIndexFileJob(AppState& app, const std::string& path, const std::string& label, int kind);

// The main history index path below a history folder.
std::string MainHistoryPath(const std::string& historyFolder);

} // namespace lt
