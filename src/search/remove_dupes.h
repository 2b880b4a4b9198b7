// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

struct AppState;

// "&Remove Dupes": starts RemoveDupesJob (job code 4) when the list has at least 2 rows and no
// job runs. Window thread.
bool RemoveDupesCommand(AppState& app);

// Sorts the list by its item column (unless it already is) and deletes the rows whose item
// repeats an earlier one, ignoring case and, for an item without a final "/", a final "/" of the
// other. When the row kept has no title and its duplicate has one, the titled row is kept instead.
// Worker thread; a stop leaves the list unchanged except for the sort.
void RemoveDupesJob(AppState& app);

} // namespace lt
