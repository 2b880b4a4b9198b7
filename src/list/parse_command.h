// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "list/parse_settings.h"
#include "list/parse_text.h"

namespace lt {

struct AppState;

// Switches the list to the parsed-text kind (remembering the previous kind), empties it and
// names its columns for `plan` ("A".."F", "Line", "File"); the automatic ordering goes off where
// the rows must keep the file's order, and line mode keeps empty first cells in text exports.
void PrepareParseList(AppState& app, const ParsePlan& plan);

// Parses `target` (a file, or every regular file below a folder) into the list. Returns the rows
// added. Any thread; the list must have been prepared.
long ParseIntoList(AppState& app, const ParsePlan& plan, const std::string& target, bool folder,
                   const std::function<bool()>& stop = {});

// "&Parse Text Files" after the dialog: prepares the list and parses `settings.parseFile` as the
// job code 3; the job ends with the result message of the parsed-text list. False when a job
// runs or no file is named.
bool ParseCommand(AppState& app, const ParseSettings& settings);

} // namespace lt
