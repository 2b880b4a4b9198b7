// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_settings.h"
#include "list/result_list.h"

namespace lt {

inline constexpr int kExportFlagCount = 6;

// The list columns one export visits. Column numbers are 0-based list columns ("&1" is column 0).
struct ExportColumns
{
    std::vector<int> listOrder; // the exported columns in list order (CSV, HTML)
    std::vector<int> textOrder; // the same columns in the column order (text export, clipboard)
    std::array<std::string, kMaxColumns> headers{}; // header texts, at most 63 bytes
    std::string firstHeader;    // header of list column 0, exported or not (the HTML link rule)

    std::size_t Count() const { return listOrder.size(); }
    bool Has(int column) const;
};

// The column order of a stored order text: its digits 1..6 in turn, each taken once; digits that
// repeat or lie outside 1..6 are passed over, and the columns the text leaves out follow in
// ascending order, so that no exported column is ever dropped or visited twice.
std::array<int, kExportFlagCount> ColumnOrderFromText(std::string_view text);

// True when the text is a complete column order ("123456" in any order) that the options page accepts.
bool IsValidColumnOrder(std::string_view text);

// The export flags of the options page, with column 1 ticked again when none is.
std::array<bool, kExportFlagCount> EffectiveExportFlags(const ExportSettings& settings);

// The index of the first ticked export column (0-based).
int FirstExportedColumn(const ExportSettings& settings);

// The column check of the result-list exports: the list must have more columns than the first
// exported column. Kinds 2 and above always pass.
bool ExportColumnsAvailable(const ExportSettings& settings, const ResultList& list, int kind);

// The columns an export of `kind` visits in `list`: the export flags for kinds 0 and 1, the job
// windows' fixed sets for the others; only columns the list has.
ExportColumns PlanExportColumns(const ExportSettings& settings, const ResultList& list, int kind);

// Only column `column` (cut to the list's last column), as the clipboard's column keys ask.
ExportColumns SingleExportColumn(const ResultList& list, int column);

} // namespace lt
