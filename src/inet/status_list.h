// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "list/result_list.h"

namespace lt {

struct CharTables;
struct ListState;

// The rows of a "Test Url Status" window: "Remote File" and "Status" (180 pixels wide), in the
// order they were added. The job thread writes the statuses while the window reads them; the rows
// themselves change only while no job runs.
class StatusList
{
public:
    StatusList();

    ResultList& Rows() { return m_rows; }
    const ResultList& Rows() const { return m_rows; }
    std::size_t Count() const { return m_rows.RowCount(); }
    std::string Url(std::size_t row) const { return m_rows.GetCell(row, 0); }
    std::string Status(std::size_t row) const { return m_rows.GetCell(row, 1); }
    void SetStatus(std::size_t row, std::string status) { m_rows.SetCell(row, 1, std::move(status)); }

    // Adds a row; a URL equal to the last row's is passed over (false).
    bool Add(const std::string& url, const std::string& status = {});
    // "Delete Ok Items": removes every row whose status is "Ok" (ignoring case); returns how many.
    std::size_t DeleteOkRows();
    // The number of rows whose status is "Ok".
    std::size_t OkCount() const;

private:
    ResultList m_rows;
};

// The column of `list` that holds URL status texts: `remembered` when it is such a column, else
// the first column after the first one headed "Status" (ignoring case); -1 for none.
int FindStatusColumn(const ResultList& list, int remembered);

// Adds the selected rows of `source` (their first column; each URL once, one equal to the row
// before it passed over), with the texts of its "Status" column when it has one. Returns how many.
std::size_t AddSelectedRows(StatusList& rows, const ResultList& source, int statusColumn);

// Adds the links found in a text (the clipboard) by the link extraction outside a crawl.
// Returns how many.
std::size_t AddLinksFromText(StatusList& rows, const CharTables& tables, std::string_view text, bool findHttps);

// Writes the statuses of `rows` into the "Status" column of `target` for every row whose first
// column is one of the URLs; a list without such a column gets one at its end (when it has fewer
// than six), remembered in `state`. Returns how many cells were written.
std::size_t WriteStatusesBack(const StatusList& rows, ResultList& target, ListState& state);

} // namespace lt
