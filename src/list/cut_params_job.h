// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "list/cell_pass.h"

namespace lt {

struct AppState;

// Cuts a URL's parameters: at "?" (and then the page name at the last "/" that is not part of
// "//"), then at "=" (or else ";") and at "&" the same way. Returns true when anything was cut;
// a cut that would leave nothing is not made.
bool CutParamsText(std::string& text);

// "Cut off Para&meters" over column 0 (all rows, or the selected rows).
CellPassOutcome CutParamsRows(ResultList& list, bool selectedOnly, bool checkOrder, const StopCheck& stop = {},
                              const ProgressCheck& progress = {});
bool StartCutParamsJob(AppState& app, bool selectedOnly);

} // namespace lt
