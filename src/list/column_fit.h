// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "list/result_list.h"

namespace lt {

struct AppState;

// No fitted or computed column is narrower than this.
inline constexpr int kMinColumnWidth = 84;

// The standard width of a column type; a wide list font (the measured width of "ABCDEFabcdef"
// above 90 or 110 pixels) widens the hits, offset and date columns.
int StandardColumnWidth(int type, int fontProbeWidth);

// What the window measured for a fit.
struct FitMetrics
{
    int clientWidth = 0;
    int scrollBarWidth = 0;
    std::vector<int> contentWidths; // per column: the widest cell or header text
    int mainColumn = 0;             // the column that takes the free width after a kind change
    int fontProbeWidth = 0;
};

// The width arithmetic of "R&esize List columns" on a copy of the column set:
// column >= 0 fits or restores that column; column -1 fits all (mode 0 to contents, mode 1 or 2
// by the client width); column -2 gives the free width to the main column after a kind change.
void FitColumnWidths(std::vector<ColumnState>& columns, int column, int mode, const FitMetrics& metrics);

// The same on the main list; the window supplies the content widths (empty for column -2).
void FitColumns(AppState& app, int column, int mode, const std::vector<int>& contentWidths = {});

} // namespace lt
