// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "core/command_ids.h"
#include "list/sort_orders.h"

namespace lt {

struct AppState;
class ResultList;

// The sort settings of one list.
struct SortFlags
{
    int sortColumn = 0;
    // The column of the last completed column sort; the sort thread sets it while the header paints.
    std::atomic<int> lastSortColumn{-1};
    int sortMode = kSortColumn;
    bool lengthReversed = false;
    bool endingReversed = false;
    bool trailingReversed = false;
    bool symbolReversed = false;
    std::array<bool, 6> columnDirection{}; // true: the column's reversed direction
};

// Sorting state: the result list's flags and the domain folder list's own copy.
struct SortState
{
    SortFlags main;
    SortFlags domain;
    std::array<uint8_t, 256> collationRank = BuildCollationRank();
    // Set by the view when Esc is pressed while a sort runs; the sort then asks whether to stop.
    std::atomic<bool> escRequested{false};
    // The main list's visible page, kept up to date by the view (0 rows: unknown).
    std::atomic<long> viewTopRow{0};
    std::atomic<long> viewPageRows{0};
    // The result list is in ascending order of column 0 (as after a search); the domain commands
    // are enabled for file-search lists only while this holds.
    std::atomic<bool> mainSortedByUrl{true};
    // Row selected and focused by the last sort (-1: none); the view scrolls it into view.
    std::atomic<long> lastShownRow{-1};
};

enum class SortEngine { None, Comparison, Key };

// Which engine sorts `rows` rows in `mode`: length, ending and symbol always by keys, trailing
// numbers always by comparisons, columns by comparisons up to 2000 rows.
SortEngine ChooseSortEngine(int mode, std::size_t rows);
// Key sorts of fewer than 4001 rows run on the window thread, larger ones as a worker job.
bool KeySortRunsOnWindowThread(std::size_t rows);

// Sorts the result list (or, in the domain view, the folder list) by the flags' SortColumn and
// SortMode. Returns true when the sort ran or was started as the job 1101 (comparison) or 120
// (key); false when nothing happens (empty list, no such column, a job running, or a column that
// is not sorted: "File" of a single-target search, a title column while no row has a title).
// Window thread. Rows are reordered in memory; a stopped sort never loses a row.
bool SortByColumn(AppState& app, bool domainList = false);

// The sort commands 1551..1555. Each uses its reversed flag and then flips it, so that the first
// "&Length" puts the longest texts first and the next one the shortest. Returns as SortByColumn.
bool SortCommand(AppState& app, int command);

// A header click: which column, and whether it falls in the sort zone at the column's left edge.
inline constexpr int kHeaderSortZone = 28;
struct HeaderHit
{
    int column = -1;
    int xInColumn = 0;
};
// `columnEdges` holds the left edge of each column and the right edge of the last one, in the
// header's coordinates (as the click's x).
HeaderHit HitTestHeader(int x, const std::vector<int>& columnEdges);
bool InHeaderSortZone(int xInColumn);

enum class HeaderAction { None, Sorted, Fit };
struct HeaderClickResult
{
    HeaderAction action = HeaderAction::None;
    int column = -1; // for Fit: the column to fit, -1 for all columns
    int fitMode = 0; // for Fit: 0 one column, 1 all (Shift), 2 all (Ctrl)
};
// A click on the header of `column`, `xInColumn` pixels from its left edge: a hits column, or a
// click in the sort zone, sorts by the column (a second click on the same column reverses it);
// elsewhere the result asks the view to fit the column(s). Window thread.
HeaderClickResult ColumnHeaderClick(AppState& app, int column, int xInColumn, bool shift = false,
                                    bool ctrl = false);

// Esc while a sort runs: the sort asks "Stop current Process ?" at its next comparison.
void RequestSortStop(AppState& app);

// Selects the row that was selected before the sort at its new place (`moved`), or the first row
// after a sort by a hits or date column (`firstRow`), or when the row left the visible page while
// it was on the first page before. Focuses the selection, records it in lastShownRow and shows the
// row count. Returns the row selected, or -1.
long ReselectAfterSort(AppState& app, ResultList& list, long previous, long moved, bool firstRow);

// True when column 0 of every row is in ascending order of the list's own comparison.
bool ListSortedByColumn0(const ResultList& list);

// The comparison sort of a whole list by column 0 ascending, on the calling thread (the presort of
// the hit rates). Returns false when it was stopped.
bool SortByColumn0Now(AppState& app, ResultList& list);

} // namespace lt
