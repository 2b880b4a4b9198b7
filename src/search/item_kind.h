// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

struct AppState;

// Validates the kind, fills the anchors and sets the search caption ("Search for: ...").
void SelectItemKind(AppState& app);

// Derives app.scan from the settings; false when the anchor is empty or 248 bytes or longer
// (the search then does not start). Leaves nonBinaryOnly false: the folder search sets it for
// "Search all non binary files" after this call.
bool PrepareScan(AppState& app);

} // namespace lt
