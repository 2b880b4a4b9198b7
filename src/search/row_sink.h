// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace lt {

struct AppState;

// Where a scanner puts an item it accepts, with the other cells already in the row texts of
// ListState. Returns the row index, or -1 when no row was added. Unset, the scanners call
// AddResultRow; a benchmark that measures the scanning alone counts instead, and a test may act
// when a row arrives (a file that changes under the scan). Worker thread.
using RowSink = std::function<long(AppState& app, const std::string& item)>;

// Where the link scanner puts a title found later for the row it added last from the same file
// (a repeated URL with a link text), instead of setting that row's cell. Worker thread.
using TitleSink = std::function<void(AppState& app, const std::string& title)>;

} // namespace lt
