// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>

#include "app/tool_form.h"

namespace lt {

struct AppState;

// Saves the main list of an unattended run as text, HTML table or CSV (the INI's export columns
// and delimiter) and prints where it went on `out`. An empty list still replaces the file, so an
// old file never passes for this run's. Returns false with one line on `err` when the file could
// not be written.
// The one rule for the output file of an unattended run, checked before any work starts so that a
// long search never ends in a refusal: an existing regular file that is not read-only, or a new
// name in an existing folder the run may write. FIFOs, devices ("/dev/null", "/dev/full") and folders are refused.
// False with a one-line `error` naming the path.
bool SavePathUsable(const std::string& path, std::string& error);

// `exportKind` picks the columns as the export of a job window's list does (0: the export flags).
bool SaveRunList(AppState& app, const std::string& path, SaveFormat format, std::ostream& out,
                 std::ostream& err, int exportKind = 0);

} // namespace lt
