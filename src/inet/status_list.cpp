// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/status_list.h"

#include <unordered_map>

#include "core/cp1252.h"
#include "inet/status_texts.h"
#include "list/list_state.h"
#include "search/link_follower.h"

namespace lt {
namespace {

constexpr int kStatusWidth = 180;
constexpr int kMaxStatusColumns = 6;

} // namespace

StatusList::StatusList()
{
    m_rows.SetAutoSort(AutoSort::Off);
    m_rows.SetColumns({ColumnState{"Remote File", kColText, 364}, ColumnState{"Status", kColText, kStatusWidth}});
}

bool StatusList::Add(const std::string& url, const std::string& status)
{
    const std::size_t count = m_rows.RowCount();
    if (url.empty() || (count > 0 && m_rows.GetCell(count - 1, 0) == url))
        return false;
    ResultRow row;
    row.cells = {url, status};
    row.param = static_cast<uint32_t>(count);
    m_rows.InsertRow(std::move(row));
    return true;
}

std::size_t StatusList::DeleteOkRows()
{
    std::size_t removed = 0;
    m_rows.Modify([&removed](std::vector<ResultRow>& rows) {
        const std::size_t before = rows.size();
        std::erase_if(rows, [](const ResultRow& row) { return IsOkStatus(row.Cell(1)); });
        removed = before - rows.size();
    });
    return removed;
}

std::size_t StatusList::OkCount() const
{
    std::size_t ok = 0;
    m_rows.ForEachCell(1, [&ok](std::size_t, std::string_view status, int) { ok += IsOkStatus(status); });
    return ok;
}

int FindStatusColumn(const ResultList& list, int remembered)
{
    const std::vector<ColumnState> columns = list.Columns();
    auto isStatus = [&columns](int c) {
        return c >= 1 && c < static_cast<int>(columns.size()) && Cp1252EqualsNoCase(columns[c].header, "Status");
    };
    if (isStatus(remembered))
        return remembered;
    for (int c = 1; c < static_cast<int>(columns.size()); ++c)
        if (isStatus(c))
            return c;
    return -1;
}

std::size_t AddSelectedRows(StatusList& rows, const ResultList& source, int statusColumn)
{
    std::size_t added = 0;
    for (const std::size_t index : source.SelectedRows()) {
        const std::string url = source.GetCell(index, 0);
        const std::string status = statusColumn >= 1 ? source.GetCell(index, statusColumn) : std::string();
        added += rows.Add(url, status);
    }
    return added;
}

std::size_t AddLinksFromText(StatusList& rows, const CharTables& tables, std::string_view text, bool findHttps)
{
    if (text.size() < 2)
        return 0;
    FollowPage page;
    page.crawl = false;
    page.findHttps = findHttps;
    std::size_t added = 0;
    LinkFollower(tables, page, text.data(), text.size(), text.size(), true, [&](const std::string& link) {
        const bool isNew = rows.Add(link);
        added += isNew;
        return isNew ? 1 : 0;
    });
    return added;
}

std::size_t WriteStatusesBack(const StatusList& rows, ResultList& target, ListState& state)
{
    std::unordered_map<std::string, std::string> statuses;
    rows.Rows().ForEachRow([&statuses](std::size_t, const ResultRow& row) {
        if (!row.Cell(1).empty())
            statuses.emplace(row.Cell(0), row.Cell(1));
    });
    if (statuses.empty())
        return 0;
    int column = FindStatusColumn(target, state.statusColumn);
    if (column < 0) {
        std::vector<ColumnState> columns = target.Columns();
        if (columns.size() >= static_cast<std::size_t>(kMaxStatusColumns))
            return 0;
        columns.push_back(ColumnState{"Status", kColText, kStatusWidth});
        column = static_cast<int>(columns.size()) - 1;
        target.SetColumns(std::move(columns));
        state.layoutChanged = true;
    }
    state.statusColumn = column;
    std::size_t written = 0;
    target.Modify([&](std::vector<ResultRow>& all) {
        for (ResultRow& row : all) {
            const auto found = statuses.find(row.Cell(0));
            if (found == statuses.end())
                continue;
            if (row.cells.size() <= static_cast<std::size_t>(column))
                row.cells.resize(static_cast<std::size_t>(column) + 1);
            row.cells[static_cast<std::size_t>(column)] = found->second;
            ++written;
        }
    });
    return written;
}

} // namespace lt
