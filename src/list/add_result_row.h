// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

namespace lt {

struct AppState;
class ResultList;

// The single row-insertion operation of the producers: column 0 is `text`, cells 1..5 come from
// the row texts of ListState. Applies the whole-list duplicate rule and the icon by file ending.
// Returns the row index, or -1 when the row was refused as a duplicate. Worker thread.
long AddResultRow(AppState& app, const std::string& text);

// The general insertion used by job windows and the sort: no duplicate check; numbers from
// `counter` (incremented), sets the non-empty cells that exist.
long AddRow(ResultList& list, long& counter, const std::string& text, const std::array<std::string, 8>& cells,
            int icon, uint32_t param);

// The row icon for a text by its ending (1, "ICO_LINE", by default).
int IconForText(const AppState& app, const std::string& text);

} // namespace lt
