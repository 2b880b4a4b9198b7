// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/find_in_list.h"

#include <algorithm>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "list/domain_tree.h"
#include "list/result_list.h"

namespace lt {

namespace {

constexpr std::size_t kMaxFindText = 259;
constexpr std::size_t kMaxBoxLabel = 15;

bool ContainsNoCase(std::string_view haystack, std::string_view needle)
{
    if (needle.size() > haystack.size())
        return false;
    const auto eq = [](char x, char y) {
        return Cp1252Lower(static_cast<uint8_t>(x)) == Cp1252Lower(static_cast<uint8_t>(y));
    };
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(), eq) != haystack.end();
}

long SelectedRow(const ResultList& list)
{
    const std::vector<std::size_t> selected = list.SelectedRows();
    if (selected.empty())
        return -1;
    const long focused = list.FocusedRow();
    if (focused >= 0 && std::find(selected.begin(), selected.end(), static_cast<std::size_t>(focused)) !=
                            selected.end())
        return focused;
    return static_cast<long>(selected.front());
}

} // namespace

bool RowMatches(const ResultRow& row, const FindState& find, int columnCount)
{
    const int columns = std::min(columnCount, 6);
    for (int c = 0; c < columns; ++c) {
        if (!find.findColumns[c])
            continue;
        const std::string& cell = row.Cell(c);
        if (cell.empty())
            return false; // an empty cell ends the row's test
        if (ContainsNoCase(cell, find.findText))
            return true;
    }
    return false;
}

bool RowMatches(const ResultList& list, const FindState& find, std::size_t row)
{
    return RowMatches(list.Row(row), find, list.ColumnCount());
}

long FindMatchFrom(const ResultList& list, const FindState& find, long start, bool forward)
{
    const long n = static_cast<long>(list.RowCount());
    if (find.findText.empty())
        return -1;
    for (long r = start; r >= 0 && r < n; r += forward ? 1 : -1) {
        if (RowMatches(list, find, static_cast<std::size_t>(r)))
            return r;
    }
    return -1;
}

bool FindInList(AppState& app, ResultList& list, bool forward, bool stopAtEnd, bool domainView)
{
    const FindState& find = app.find;
    const long n = static_cast<long>(list.RowCount());
    if (n == 0 || find.findText.empty())
        return false;
    const long selected = SelectedRow(list);
    long row = selected < 0 ? 0 : selected + (forward ? 1 : -1);
    long found = -1;
    // Every row is tested at most once, the selected one last.
    for (long step = 0; step < n; ++step) {
        if (row >= n) {
            if (stopAtEnd)
                break;
            row = 0;
            if (!domainView)
                app.status.ShowFindWrap(2);
        } else if (row < 0) {
            if (stopAtEnd)
                break;
            row = n - 1;
            if (!domainView)
                app.status.ShowFindWrap(1);
        }
        if (RowMatches(list, find, static_cast<std::size_t>(row))) {
            found = row;
            break;
        }
        row += forward ? 1 : -1;
    }
    if (found < 0) {
        if (!domainView && !stopAtEnd)
            ShowMessage(app, "No items found !", "LinkTrawl");
        return false;
    }
    if (find.addToSelection)
        list.SetSelected(static_cast<std::size_t>(found), true);
    else
        list.SetSelectedRows({static_cast<std::size_t>(found)});
    list.SetFocusedRow(found);
    return true;
}

bool FindNextCommand(AppState& app, bool forward)
{
    if (app.domain.viewShown)
        return FindAcrossFolders(app, forward);
    return FindInList(app, app.list, forward, false, false);
}

bool CanOpenFindDialog(const AppState& app)
{
    if (app.find.dialogOpen)
        return false;
    if (app.domain.viewShown)
        return app.secondList.RowCount() > 0 && !app.jobs.Running();
    return app.list.RowCount() > 0;
}

std::array<std::string, 6> FindColumnLabels(const ResultList& list)
{
    std::array<std::string, 6> labels{"&Url", "&Title", "&File name", "&", "&", "&"};
    const int columns = std::min(list.ColumnCount(), 6);
    for (int c = 0; c < columns; ++c) {
        const std::string header = list.GetHeaderText(c);
        if (!header.empty())
            labels[c] = "&" + header.substr(0, kMaxBoxLabel);
    }
    return labels;
}

void AddToHistory(History& history, const std::string& text)
{
    if (text.empty())
        return;
    auto it = std::find(history.begin(), history.end(), text);
    if (it == history.end())
        it = history.end() - 1;
    std::rotate(history.begin(), it, it + 1);
    history.front() = text;
}

bool FindDialogAccept(AppState& app, const std::string& text, const std::array<bool, 6>& columns,
                      bool addToSelection)
{
    FindState& find = app.find;
    find.findText = text.substr(0, kMaxFindText);
    find.findColumns = columns;
    find.addToSelection = addToSelection;
    AddToHistory(find.findHistory, find.findText);
    return FindNextCommand(app, true);
}

} // namespace lt
