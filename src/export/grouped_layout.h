// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "export/export_columns.h"
#include "list/result_list.h"

namespace lt {

// The grouped text layout of the text export and the clipboard copy. The first column in the
// column order starts a group and is written only when its text changes from the previous row's
// (always when it is the only column); the other columns are indented beneath it, with their
// header when more than two columns are exported. A list sorted by its first exported column thus
// comes out with each URL once and its other columns beneath it. Empty texts are passed over.
class GroupedLayout
{
public:
    // `keepEmptyFirst`: an empty first column is still written (parsed text files keep their
    // empty lines).
    GroupedLayout(const ExportColumns& columns, bool keepEmptyFirst);

    // Appends the lines of one row (each ended with "\r\n") to `out`; true when one of the row's
    // exported columns had text.
    bool AddRow(const ResultRow& row, std::string& out);

private:
    const ExportColumns& m_columns;
    bool m_keepEmptyFirst;
    std::array<std::string, kMaxColumns> m_previous{};
};

} // namespace lt
