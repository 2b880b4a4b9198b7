// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "list/cell_pass.h"

namespace lt {

struct AppState;

// Decodes every "%" with two hexadecimal digits into its byte, except the escapes of control
// bytes (below 0x20) and of 0x7F, which would put line ends or NULs into a cell; other "%" stay.
// Returns true when the text changed other than in letter case.
bool UnescapeText(std::string& text);

// "&Unescape Urls" over column 0 (all rows, or the selected rows).
CellPassOutcome UnescapeRows(ResultList& list, bool selectedOnly, bool checkOrder, const StopCheck& stop = {},
                             const ProgressCheck& progress = {});
bool StartUnescapeJob(AppState& app, bool selectedOnly);

} // namespace lt
