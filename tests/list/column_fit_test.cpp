// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/column_fit.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

std::vector<ColumnState> Cols(std::initializer_list<std::pair<int, int>> typeWidth)
{
    std::vector<ColumnState> cols;
    for (const auto& [type, width] : typeWidth) {
        ColumnState c;
        c.type = type;
        c.width = width;
        cols.push_back(c);
    }
    return cols;
}

TEST(ColumnFitTest, OneColumnFitsAndReturnsButHitsNever)
{
    auto cols = Cols({{kColText, 300}, {kColHits, 58}});
    FitMetrics m;
    m.contentWidths = {50, 400};
    FitColumnWidths(cols, 0, 0, m);
    EXPECT_EQ(cols[0].width, kMinColumnWidth); // never below 84
    EXPECT_TRUE(cols[0].fitted);
    FitColumnWidths(cols, 0, 0, m);
    EXPECT_EQ(cols[0].width, 300);
    EXPECT_FALSE(cols[0].fitted);
    FitColumnWidths(cols, 1, 0, m);
    EXPECT_EQ(cols[1].width, 58);
    FitColumnWidths(cols, 7, 0, m); // no such column
}

TEST(ColumnFitTest, AllColumnsToggleBetweenContentsAndRememberedWidths)
{
    auto cols = Cols({{kColText, 300}, {kColTitle, 200}});
    FitMetrics m;
    m.contentWidths = {500, 90};
    FitColumnWidths(cols, 1, 0, m); // one fitted already keeps its remembered width
    FitColumnWidths(cols, -1, 0, m);
    EXPECT_EQ(cols[0].width, 500);
    EXPECT_EQ(cols[1].width, 90);
    FitColumnWidths(cols, -1, 0, m);
    EXPECT_EQ(cols[0].width, 300);
    EXPECT_EQ(cols[1].width, 200);
}

TEST(ColumnFitTest, ClientWidthFitGivesColumnZeroAtLeastHalf)
{
    auto cols = Cols({{kColText, 10}, {kColTitle, 10}, {kColTitle, 10}, {kColDate, 10}});
    FitMetrics m;
    m.clientWidth = 800;
    FitColumnWidths(cols, -1, 1, m);
    // Titles start at 200 each and shrink until column 0 has half of 800.
    EXPECT_EQ(cols[3].width, 120);
    EXPECT_EQ(cols[1].width, 140);
    EXPECT_EQ(cols[0].width, 400);
    EXPECT_TRUE(cols[3].fitted);

    auto narrow = Cols({{kColText, 10}, {kColTitle, 10}});
    m.clientWidth = 150; // less than 100 pixels a column: nothing happens
    FitColumnWidths(narrow, -1, 2, m);
    EXPECT_EQ(narrow[0].width, 10);
}

TEST(ColumnFitTest, FreeWidthGoesToTheMainColumnAfterAKindChange)
{
    auto cols = Cols({{kColText, 300}, {kColTitle, 200}});
    FitMetrics m;
    m.clientWidth = 600;
    m.scrollBarWidth = 17;
    m.mainColumn = 1;
    FitColumnWidths(cols, -2, 0, m);
    EXPECT_EQ(cols[1].width, 200 + 100 - 17);
    m.clientWidth = 640; // 40 free: left as it is
    cols = Cols({{kColText, 300}, {kColTitle, 300}});
    FitColumnWidths(cols, -2, 0, m);
    EXPECT_EQ(cols[1].width, 300);
}

TEST(ColumnFitTest, StandardWidthsGrowWithWideFonts)
{
    EXPECT_EQ(StandardColumnWidth(kColHits, 90), 58);
    EXPECT_EQ(StandardColumnWidth(kColHits, 91), 64);
    EXPECT_EQ(StandardColumnWidth(kColOffset, 111), 100);
    EXPECT_EQ(StandardColumnWidth(kColDate, 100), 134);
    EXPECT_EQ(StandardColumnWidth(kColParsed, 200), 140);
}

} // namespace
} // namespace lt
