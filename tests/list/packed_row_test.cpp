// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/packed_row.h"

#include <algorithm>
#include <gtest/gtest.h>

#include "list/result_list.h"

namespace lt {
namespace {

ResultRow MakeRow(std::vector<std::string> cells, int icon = 3, uint32_t param = 7)
{
    ResultRow row;
    row.cells = std::move(cells);
    row.icon = icon;
    row.param = param;
    return row;
}

TEST(PackedRow, GivesBackEveryCellAndFieldAndSharesPaths)
{
    PooledColumns pooled{};
    pooled[2] = true;
    CellPool pool;
    const std::string longest(kMaxCellLength, 'q');
    const std::vector<ResultRow> rows = {
        MakeRow({"http://a.example/", "Title", "/srv/www/index.htm", "", "12"}),
        MakeRow({"http://b.example/", "", "/srv/www/index.htm"}),
        MakeRow({"", "", ""}),                   // every cell empty, the count kept
        MakeRow({longest, longest, longest, longest}), // cells at their longest
        MakeRow({"x"}, 17, 0xFFFFFFFFu),
    };
    ResultRow record = MakeRow({"http://c.example/", "u", "/p"});
    record.recordOffset = 0x123456789ull;
    record.fileNumber = 200;
    record.selected = true;

    std::vector<PackedRow> packed;
    for (const auto& row : rows)
        packed.push_back(PackedRow::Pack(row, pooled, pool));
    packed.push_back(PackedRow::Pack(record, pooled, pool));
    EXPECT_EQ(pool.Size(), 3u); // "/srv/www/index.htm" once, the long cell, "/p"

    ResultRow out; // reused, as a visit of the list does
    for (std::size_t i = 0; i < rows.size(); ++i) {
        packed[i].Unpack(out, pool);
        EXPECT_EQ(out.cells, rows[i].cells) << i;
        EXPECT_EQ(out.icon, rows[i].icon);
        EXPECT_EQ(out.param, rows[i].param);
        EXPECT_EQ(out.recordOffset, 0u);
        EXPECT_EQ(packed[i].Key(), rows[i].cells[0]);
        EXPECT_EQ(packed[i].Cell(2, pool), rows[i].Cell(2));
        EXPECT_EQ(packed[i].Cell(8, pool), "");
    }
    packed.back().Unpack(out, pool);
    EXPECT_EQ(out.cells, record.cells);
    EXPECT_EQ(out.recordOffset, record.recordOffset);
    EXPECT_EQ(out.fileNumber, 200u);
    EXPECT_TRUE(out.selected);
}

TEST(PackedRow, ListKeepsPathsOnceThroughEditsSortsAndClears)
{
    ResultList list;
    list.SetColumns({{"Url"}, {"Title", kColTitle}, {"File", kColPath}});
    for (int i = 0; i < 300; ++i)
        list.InsertRow(MakeRow({"http://h" + std::to_string(299 - i) + ".example/", "", "/f" + std::to_string(i / 100)}));
    EXPECT_EQ(list.GetCell(0, 2), "/f2"); // sorted: h0 came last
    list.SetCell(0, 2, "/elsewhere");
    list.SetCell(0, 0, "http://zz.example/");
    EXPECT_EQ(list.GetCell(0, 2), "/elsewhere");
    EXPECT_EQ(list.GetCell(1, 2), "/f2"); // the other rows of the path keep it
    EXPECT_EQ(list.FindFirstNoCase("HTTP://ZZ.example/"), 0);

    std::vector<std::vector<std::string>> expected;
    list.ForEachRow([&](std::size_t, const ResultRow& row) { expected.push_back(row.cells); });
    std::reverse(expected.begin(), expected.end());
    expected.resize(10);
    list.Modify([](std::vector<ResultRow>& rows) {
        std::reverse(rows.begin(), rows.end());
        rows.resize(10);
    });
    std::vector<std::vector<std::string>> got;
    list.ForEachRow([&](std::size_t, const ResultRow& row) { got.push_back(row.cells); });
    EXPECT_EQ(got, expected);
    list.ClearRows();
    list.InsertRow(MakeRow({"k", "", "/f9"}));
    EXPECT_EQ(list.GetCell(0, 2), "/f9");
}

} // namespace
} // namespace lt
