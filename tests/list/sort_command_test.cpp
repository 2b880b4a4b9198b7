// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/sort_command.h"

#include <gtest/gtest.h>

#include "core/job_control.h"
#include "core/window_messages.h"
#include "list/list_kind.h"
#include "list_test_support.h"

namespace lt {
namespace {

using test::ColumnTexts;
using test::FillList;
using test::MakeColumn;

class SortCommandTest : public ::testing::Test, protected test::ListFixture
{
protected:
    void FillUrls(const std::vector<std::vector<std::string>>& rows)
    {
        FillList(app.list,
                 {MakeColumn("Url", kColText), MakeColumn("Title", kColTitle), MakeColumn("File", kColPath),
                  MakeColumn("File Date", kColDate), MakeColumn("File Size", kColSize)},
                 rows);
        app.search.severalFiles = true;
    }
    // Header click in the sort zone, waiting for a worker sort.
    bool Click(int column)
    {
        const HeaderClickResult r = ColumnHeaderClick(app, column, 5);
        JoinWorker(app);
        return r.action == HeaderAction::Sorted;
    }
};

TEST(HeaderZone, HitTestFindsColumnAndOffset)
{
    const std::vector<int> edges = {0, 100, 250, 300};
    EXPECT_EQ(HitTestHeader(10, edges).column, 0);
    EXPECT_EQ(HitTestHeader(130, edges).column, 1);
    EXPECT_EQ(HitTestHeader(130, edges).xInColumn, 30);
    EXPECT_EQ(HitTestHeader(300, edges).column, -1);
    EXPECT_TRUE(InHeaderSortZone(0));
    EXPECT_TRUE(InHeaderSortZone(27));
    EXPECT_FALSE(InHeaderSortZone(28));
}

TEST(EngineChoice, ByModeAndRowCount)
{
    EXPECT_EQ(ChooseSortEngine(kSortColumn, 2000), SortEngine::Comparison);
    EXPECT_EQ(ChooseSortEngine(kSortColumn, 2001), SortEngine::Key);
    EXPECT_EQ(ChooseSortEngine(kSortLength, 3), SortEngine::Key);
    EXPECT_EQ(ChooseSortEngine(kSortTrailing, 1000000), SortEngine::Comparison);
    EXPECT_TRUE(KeySortRunsOnWindowThread(4000));
    EXPECT_FALSE(KeySortRunsOnWindowThread(4001));
}

TEST_F(SortCommandTest, ClickOutsideTheZoneFitsInsteadOfSorting)
{
    FillUrls({{"http://b/"}, {"http://a/"}});
    HeaderClickResult r = ColumnHeaderClick(app, 0, 40);
    EXPECT_EQ(r.action, HeaderAction::Fit);
    EXPECT_EQ(r.column, 0);
    r = ColumnHeaderClick(app, 0, 40, true, false);
    EXPECT_EQ(r.fitMode, 1);
    EXPECT_EQ(r.column, -1);
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"http://b/", "http://a/"}));
}

TEST_F(SortCommandTest, SecondClickReversesAndDatesStartNewest)
{
    FillUrls({{"http://b/", "t", "f2", "2020/01/01"},
              {"http://c/", "t", "f1", "2022/05/05"},
              {"http://a/", "t", "f3", "2021/03/03"}});
    app.list.SetSelectedRows({2});
    app.list.SetFocusedRow(2);
    ASSERT_TRUE(Click(0));
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"http://a/", "http://b/", "http://c/"}));
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{0})); // the selected row moved with it
    EXPECT_EQ(app.jobs.Code(), 0);
    EXPECT_TRUE(app.sorting.mainSortedByUrl.load());
    ASSERT_TRUE(Click(0));
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"http://c/", "http://b/", "http://a/"}));
    EXPECT_FALSE(app.sorting.mainSortedByUrl.load());

    app.list.SetSelectedRows({2});
    ASSERT_TRUE(Click(3));
    EXPECT_EQ(ColumnTexts(app.list, 3), (std::vector<std::string>{"2022/05/05", "2021/03/03", "2020/01/01"}));
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{0})); // dates select the first row
    ASSERT_TRUE(Click(3));
    EXPECT_EQ(ColumnTexts(app.list, 3).front(), "2020/01/01");
}

TEST_F(SortCommandTest, ColumnsThatAreNotSorted)
{
    FillUrls({{"http://b/", "", "x"}, {"http://a/", "", "y"}});
    app.search.severalFiles = false; // one file searched: its column says nothing
    EXPECT_FALSE(Click(2));
    EXPECT_FALSE(Click(1)); // no row has a title

    app.jobs.jobCode.store(kJobFolderSearch);
    EXPECT_FALSE(Click(0));
    app.jobs.jobCode.store(0);
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"http://b/", "http://a/"}));
}

TEST_F(SortCommandTest, TitleAndFileSortAfterAFolderSearch)
{
    // As a folder search leaves it: one target (the folder), many files, titles added later.
    ClearResultList(app, 0);
    FillUrls({{"http://a/", "Zeta", "/d/f2.htm"},
              {"http://b/", "", "/d/f10.htm"},
              {"http://c/", "Alpha", "/d/f1.htm"}});
    app.search.severalTargets = false;
    ASSERT_TRUE(Click(1));
    EXPECT_EQ(ColumnTexts(app.list, 1), (std::vector<std::string>{"Alpha", "Zeta", ""}));
    ASSERT_TRUE(Click(2));
    EXPECT_EQ(ColumnTexts(app.list, 2).front(), "/d/f1.htm");
    ASSERT_TRUE(SortCommand(app, kCmdSortFileNumber));
    JoinWorker(app);
    EXPECT_EQ(ColumnTexts(app.list, 2), (std::vector<std::string>{"/d/f10.htm", "/d/f2.htm", "/d/f1.htm"}));
}

TEST_F(SortCommandTest, LengthCommandAlternates)
{
    FillUrls({{"http://mid.com/"}, {"http://a/"}, {"http://longest.example/"}});
    ASSERT_TRUE(SortCommand(app, kCmdSortLength));
    EXPECT_EQ(ColumnTexts(app.list, 0).front(), "http://longest.example/");
    EXPECT_TRUE(app.list.Column(0).directionFlag);
    ASSERT_TRUE(SortCommand(app, kCmdSortLength));
    EXPECT_EQ(ColumnTexts(app.list, 0).front(), "http://a/");
    EXPECT_EQ(app.sorting.main.lastSortColumn, -1);
    EXPECT_EQ(app.jobs.Code(), 0);
}

TEST_F(SortCommandTest, TrailingNumberNeedsItsColumn)
{
    FillUrls({{"u1", "", "page2.htm"}, {"u2", "", "page10.htm"}, {"u3", "", "page1.htm"}});
    EXPECT_FALSE(SortCommand(app, kCmdSortRemoteNumber));
    ASSERT_TRUE(SortCommand(app, kCmdSortFileNumber));
    JoinWorker(app);
    EXPECT_EQ(ColumnTexts(app.list, 2), (std::vector<std::string>{"page10.htm", "page2.htm", "page1.htm"}));
    EXPECT_TRUE(app.sorting.main.trailingReversed);
}

TEST_F(SortCommandTest, LargeListsUseKeysAndKeepEveryRow)
{
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 5000; ++i)
        rows.push_back({"http://host" + std::to_string((i * 7919) % 5000) + "/", "", "", "",
                        std::to_string(static_cast<long long>(i) * 1000003LL)});
    FillUrls(rows);
    app.list.SetSelectedRows({4999});
    app.list.SetFocusedRow(4999);
    const std::string selectedUrl = app.list.GetCell(4999, 0);
    ASSERT_TRUE(Click(4)); // sizes from the fifth column: largest first, as a worker job
    ASSERT_EQ(app.list.RowCount(), 5000u);
    EXPECT_EQ(app.list.GetCell(0, 4), std::to_string(4999LL * 1000003LL));
    EXPECT_EQ(app.list.GetCell(4999, 4), "0");
    EXPECT_TRUE(port.ProgressBegins() > 0);

    app.list.SetSelectedRows({0});
    app.list.SetFocusedRow(0);
    const std::string first = app.list.GetCell(0, 0);
    ASSERT_TRUE(Click(0));
    EXPECT_EQ(app.list.GetCell(0, 0), "http://host0/");
    EXPECT_EQ(app.list.GetCell(1, 0), "http://host1/");
    // The selected row stays selected at its new place.
    const std::vector<std::size_t> selected = app.list.SelectedRows();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(app.list.GetCell(selected[0], 0), first);
}

TEST_F(SortCommandTest, ReselectFallsBackToTheFirstRowOffThePage)
{
    FillUrls({{"a"}, {"b"}, {"c"}, {"d"}, {"e"}});
    app.sorting.viewTopRow = 0;
    app.sorting.viewPageRows = 2;
    EXPECT_EQ(ReselectAfterSort(app, app.list, 1, 4, false), 0);
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{0}));
    EXPECT_EQ(ReselectAfterSort(app, app.list, 3, 4, false), 4); // was not on the first page
    EXPECT_EQ(port.Pane(2), "5");
}

TEST_F(SortCommandTest, EscAnsweredYesStopsWithEveryRowKept)
{
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 100000; ++i)
        rows.push_back({"u", "", "page" + std::to_string((i * 7919LL) % 100000) + ".htm"});
    FillUrls(rows);
    const std::vector<std::string> before = ColumnTexts(app.list, 2);
    port.QueueAnswer(MsgAnswer::Yes);
    ASSERT_TRUE(SortCommand(app, kCmdSortFileNumber)); // trailing numbers: comparisons on the worker
    RequestSortStop(app);
    JoinWorker(app);
    const auto messages = port.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Stop current Process ?");
    EXPECT_EQ(messages[0].style.buttons, MsgButtons::YesNo);
    EXPECT_EQ(ColumnTexts(app.list, 2), before);
    EXPECT_EQ(app.jobs.Code(), 0);
}

} // namespace
} // namespace lt
