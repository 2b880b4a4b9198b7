// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

struct AppState;
class ResultList;
struct ResultRow;

// True when every cell of the row is empty or blanks and tabs only.
bool RowIsEmpty(const ResultRow& row);

// "Delete &empty Lines" of the parsed-text list: deletes the rows whose cells are all empty or
// blank, shows the row count and returns the rows deleted. Window thread, no job running.
long DeleteEmptyLines(AppState& app);

} // namespace lt
