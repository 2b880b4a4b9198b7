// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "core/app_state.h"
#include "list/result_list.h"
#include "recording_ui_port.h"

namespace lt::test {

inline ColumnState MakeColumn(std::string header, int type)
{
    ColumnState c;
    c.header = std::move(header);
    c.type = type;
    return c;
}

// Fills a list in the given order (auto-sort off), one row per cell vector.
inline void FillList(ResultList& list, const std::vector<ColumnState>& columns,
                     const std::vector<std::vector<std::string>>& rows, const std::vector<int>& icons = {})
{
    list.SetAutoSort(AutoSort::Off);
    list.SetColumns(columns);
    list.Modify([&](std::vector<ResultRow>& out) {
        out.clear();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            ResultRow row;
            row.cells = rows[i];
            row.icon = i < icons.size() ? icons[i] : 1;
            row.param = static_cast<uint32_t>(i);
            out.push_back(std::move(row));
        }
    });
}

inline std::vector<std::string> ColumnTexts(const ResultList& list, int column)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.RowCount(); ++i)
        out.push_back(list.GetCell(i, column));
    return out;
}

struct ListFixture
{
    RecordingUiPort port;
    AppState app{port};
};

} // namespace lt::test
