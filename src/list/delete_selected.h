// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

struct AppState;

// The Delete key: deletes the selected rows of the current view's list (in the domain view with
// their result-list rows, and the tree is rebuilt), shows the row count and selects the row that
// now stands at the first deleted row's place. Returns the rows deleted. Window thread, no job.
long DeleteSelected(AppState& app);

} // namespace lt
