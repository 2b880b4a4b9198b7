// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "list/sort_orders.h"

namespace lt {

struct AppState;
struct ResultRow;

// Hit-rate column layout: column 1 holds the counts; per column, column 2 holds the counted texts.
inline constexpr int kHitsColumn = 1;
inline constexpr int kCountedColumn = 2;

// The warning shown before the hit rates of a search that may have omitted items.
inline constexpr const char* kOmittedWarning = "Some Items may have been omitted\r\nduring Search (see Options) !";

struct HitRateOutcome
{
    long rows = 0;      // rows left
    long total = 0;     // sum of all counts
    long remembered = -1; // the new index of the remembered row
    bool stopped = false;
};

// Merges rows that equal the row above in column 0 (and, when `perColumn`, in the counted column),
// ignoring case, into the first of them, and writes "%4d" of each count into the hits column.
// Rows are expected in column-0 order; within a run of equal column-0 texts the counted texts
// merge wherever they stand. A stop leaves the rows not reached as they were.
HitRateOutcome MergeHitRates(std::vector<ResultRow>& rows, bool perColumn, long remembered,
                             const StopCheck& stop = {}, const ProgressCheck& progress = {});

// Rearranges the columns for the hit rates of `column` (-1: over all) and returns the column set.
// Per column: column 1 becomes the count and the counted column moves to 2; the others go.
// Over all: column 0 and the count.
void ArrangeHitRateColumns(std::vector<ResultRow>& rows, std::vector<struct ColumnState>& columns, int column);

// "Hit &rates" > "&Over all" (column -1) and "Per &Column" (column n >= 1): warns once per search
// that items may have been omitted (Continue/Cancel), rearranges the columns, sorts by column 0
// unless already in that order, and starts the HitRateJob (job code 4). Returns true when the job
// started. Window thread.
bool HitRates(AppState& app, int column);

} // namespace lt
