// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "list/sort_orders.h"

namespace lt {

class ResultList;
struct ResultRow;

// Which of the first six columns a bulk edit touches.
using ColumnMask = std::array<bool, 6>;

// What one pass of a cell edit over a list did.
struct CellPassOutcome
{
    long changed = 0;       // rows with at least one changed cell
    long firstChanged = -1; // index of the first changed row
    bool orderBroken = false; // a changed column 0 now stands out of ascending order
    bool stopped = false;
    std::vector<std::size_t> changedRows; // in list order
};

// Edits one cell in place; returns true when the text changed.
using CellEditor = std::function<bool(std::string& cell, int column)>;

// Runs `edit` over the set columns of every row (with `selectedOnly` the selected rows only),
// from the last set column to the first, under one lock. With `checkOrder`, a changed column 0
// is compared with its neighbours (ignoring case) to find out whether the list left ascending
// order. Cells beyond a row's cells are empty and are handed to the editor as such.
CellPassOutcome RunCellPass(ResultList& list, const ColumnMask& columns, bool selectedOnly, const CellEditor& edit,
                            bool checkOrder, const StopCheck& stop = {}, const ProgressCheck& progress = {});

// True when row `i`'s column 0 lies between its neighbours' (ignoring case).
bool InAscendingPlace(const std::vector<ResultRow>& rows, std::size_t i);

// The common end texts of the edit jobs.
std::string ItemsModifiedText(long count); // "No items modified !", "One item modified !", "%d items modified !"
std::string UrlsModifiedText(long count);  // "No items modified !", "One url modified !", "%d urls modified !"

} // namespace lt
