// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/hit_rates.h"

#include <gtest/gtest.h>

#include "core/job_control.h"
#include "list_test_support.h"

namespace lt {
namespace {

using test::ColumnTexts;
using test::FillList;
using test::MakeColumn;

class HitRateTest : public ::testing::Test, protected test::ListFixture
{
protected:
    void Fill(const std::vector<std::vector<std::string>>& rows)
    {
        FillList(app.list, {MakeColumn("Url", kColText), MakeColumn("Title", kColTitle), MakeColumn("File", kColPath)},
                 rows);
    }
};

TEST_F(HitRateTest, OverAllMergesIgnoringCase)
{
    Fill({{"A", "t1", "f1"}, {"a", "t2", "f2"}, {"B", "t3", "f3"}});
    ASSERT_TRUE(HitRates(app, -1));
    JoinWorker(app);
    ASSERT_EQ(app.list.RowCount(), 2u);
    EXPECT_EQ(ColumnTexts(app.list, 1), (std::vector<std::string>{"   2", "   1"}));
    EXPECT_EQ(app.list.ColumnCount(), 2);
    EXPECT_EQ(app.list.GetHeaderText(1), "Hits");
    EXPECT_EQ(app.list.Column(1).type, kColHits);
    EXPECT_EQ(port.Pane(1), "3 hits totally");
    EXPECT_EQ(port.Pane(2), "2");
    EXPECT_EQ(app.listState.hitRateMode, 2);
    EXPECT_EQ(app.jobs.Code(), 0);
}

TEST_F(HitRateTest, PerColumnCountsPairsAndSortsFirst)
{
    Fill({{"http://b/", "x", "f1"}, {"http://a/", "t", "f1"}, {"http://b/", "y", "f2"}, {"http://B/", "X", "f3"}});
    app.list.SetSelectedRows({1});
    app.list.SetFocusedRow(1);
    ASSERT_TRUE(HitRates(app, 1)); // by title: a new count column goes before it
    JoinWorker(app);
    EXPECT_EQ(app.list.ColumnCount(), 3);
    EXPECT_EQ(app.list.GetHeaderText(2), "Title");
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"http://a/", "http://b/", "http://b/"}));
    EXPECT_EQ(ColumnTexts(app.list, 1), (std::vector<std::string>{"   1", "   2", "   1"}));
    EXPECT_EQ(ColumnTexts(app.list, 2), (std::vector<std::string>{"t", "x", "y"}));
    EXPECT_EQ(port.Pane(1), "4 hits totally");
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{0})); // http://a/ selected again
}

TEST_F(HitRateTest, OmittedItemsWarningOncePerSearch)
{
    Fill({{"a"}, {"a"}});
    app.scan.warnOmitted = true;
    port.QueueAnswer(MsgAnswer::Cancel);
    EXPECT_FALSE(HitRates(app, -1));
    ASSERT_EQ(port.Messages().size(), 1u);
    EXPECT_EQ(port.Messages()[0].text, "Some Items may have been omitted\r\nduring Search (see Options) !");
    EXPECT_EQ(port.Messages()[0].style.buttons, MsgButtons::ContinueCancel);
    EXPECT_EQ(app.list.RowCount(), 2u);
    ASSERT_TRUE(HitRates(app, -1));
    JoinWorker(app);
    EXPECT_EQ(port.Messages().size(), 1u);
    EXPECT_EQ(app.list.RowCount(), 1u);
    EXPECT_EQ(port.Pane(1), "2 hits totally");
}

TEST_F(HitRateTest, RefusedWithoutRowsOrWhileAJobRuns)
{
    Fill({{"a"}});
    EXPECT_FALSE(HitRates(app, -1));
    Fill({{"a"}, {"b"}});
    app.jobs.jobCode.store(kJobFolderSearch);
    EXPECT_FALSE(HitRates(app, -1));
    app.jobs.jobCode.store(0);
    EXPECT_FALSE(HitRates(app, 7));
}

TEST(MergeHitRates, StopLeavesTheRestUntouched)
{
    std::vector<ResultRow> rows(5000);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].cells = {"u" + std::to_string(i / 2 + 100000), ""};
    int calls = 0;
    const HitRateOutcome out = MergeHitRates(rows, false, 4999, [&] { return ++calls >= 2; });
    EXPECT_TRUE(out.stopped);
    // 2048 rows merged pairwise, the other 2952 kept as they were.
    EXPECT_EQ(out.rows, 1024 + 2952);
    EXPECT_EQ(rows[0].Cell(1), "   2");
    EXPECT_EQ(rows[1024].Cell(1), "");
    EXPECT_EQ(out.remembered, out.rows - 1);
}

} // namespace
} // namespace lt
