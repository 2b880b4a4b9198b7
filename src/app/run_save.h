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
bool SaveRunList(AppState& app, const std::string& path, SaveFormat format, std::ostream& out,
                 std::ostream& err);

} // namespace lt
