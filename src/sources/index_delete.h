// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

struct AppState;

// "Delete from &File" on the selected rows of a kind-4 or kind-8 list: asks, then blanks each
// row's record in its index file (every file read once and written once, atomically), deletes
// the cookie text files of kind-8 rows and removes the rows done. Only rows read in this run
// whose record still gives the row's Url are blanked; the others stay. Returns the rows removed,
// or -1 when nothing was asked or done. Window thread, not while a job runs.
long DeleteIndexRecords(AppState& app);

} // namespace lt
