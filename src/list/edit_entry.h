// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace lt {

struct AppState;

// "&Edit List entry" after the dialog (RENAMEDLG): writes `first` and `second` into column 0 and
// column 1 of `row` of the current view's list. An empty `first` changes nothing. In a result
// list that takes part in the domain tree (every kind but the favorites) a changed column 0 takes
// its sorted place: the row is taken out and inserted again, keeping its cells, parameter and
// selection. An edit in the domain list is made in the result-list row with the same parameter
// too, and the tree is rebuilt. Returns the row's new index in the edited list, or -1 when
// nothing changed. Window thread, no job running.
long EditEntryCommand(AppState& app, std::size_t row, const std::string& first, const std::string& second);

} // namespace lt
