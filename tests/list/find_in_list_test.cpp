// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/find_in_list.h"

#include <gtest/gtest.h>

#include "list_test_support.h"

namespace lt {
namespace {

using test::FillList;
using test::MakeColumn;

class FindTest : public ::testing::Test, protected test::ListFixture
{
protected:
    void SetUp() override
    {
        FillList(app.list, {MakeColumn("Url", kColText), MakeColumn("Title", kColTitle), MakeColumn("File", kColPath)},
                 {{"http://alpha/", "First page", "a.htm"},
                  {"http://beta/", "", "b.htm"},
                  {"http://gamma/", "Second Page", "c.htm"},
                  {"http://delta/", "other", "page.htm"}});
        app.find.findText = "PAGE";
        app.find.findColumns = {false, true, false, false, false, false};
    }
};

TEST_F(FindTest, ForwardWrapsToTheFirstRow)
{
    app.list.SetSelectedRows({2});
    app.list.SetFocusedRow(2);
    ASSERT_TRUE(FindInList(app, app.list, true, false));
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{0}));
    EXPECT_EQ(app.list.FocusedRow(), 0);
    EXPECT_EQ(port.Pane(1), "Search passed beginning of list.");
    EXPECT_EQ(port.Icon(1), StatusIcon::Passed1);
}

TEST_F(FindTest, BackwardWrapsToTheLastRowAndFindsTheSelectedRowLast)
{
    app.list.SetSelectedRows({0});
    app.list.SetFocusedRow(0);
    ASSERT_TRUE(FindInList(app, app.list, false, false));
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{2}));
    EXPECT_EQ(port.Pane(1), "Search passed end of list.");
    EXPECT_EQ(port.Icon(1), StatusIcon::Passed0);
}

TEST_F(FindTest, EmptyCellEndsTheRowsTest)
{
    // Row 1 has an empty title; its file column would match but is never read.
    app.find.findColumns = {false, true, true, false, false, false};
    app.find.findText = "b.htm";
    EXPECT_FALSE(FindInList(app, app.list, true, false));
    app.find.findText = "page.htm";
    ASSERT_TRUE(FindInList(app, app.list, true, false));
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{3}));
}

TEST_F(FindTest, NothingFoundKeepsTheSelection)
{
    app.list.SetSelectedRows({1, 3});
    app.find.findText = "nowhere";
    EXPECT_FALSE(FindInList(app, app.list, true, false));
    const auto messages = port.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "No items found !");
    EXPECT_EQ(messages[0].caption, "LinkTrawl");
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{1, 3}));
}

TEST_F(FindTest, AddToSelectionAndStopAtEnd)
{
    app.list.SetSelectedRows({0});
    app.list.SetFocusedRow(0);
    app.find.addToSelection = true;
    ASSERT_TRUE(FindInList(app, app.list, true, false));
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{0, 2}));
    // From row 2 only row 3 is left before the end: no wrap, no message.
    EXPECT_FALSE(FindInList(app, app.list, true, true));
    EXPECT_TRUE(port.Messages().empty());
    EXPECT_NE(port.Pane(1), "Search passed beginning of list.");
}

TEST_F(FindTest, DialogLabelsHistoryAndAccept)
{
    const auto labels = FindColumnLabels(app.list);
    EXPECT_EQ(labels[0], "&Url");
    EXPECT_EQ(labels[2], "&File");
    ResultList empty;
    EXPECT_EQ(FindColumnLabels(empty)[2], "&File name");
    app.list.SetHeaderText(1, "A very long header text");
    EXPECT_EQ(FindColumnLabels(app.list)[1], "&A very long hea");

    EXPECT_TRUE(CanOpenFindDialog(app));
    ASSERT_TRUE(FindDialogAccept(app, "delta", {true, false, false, false, false, false}, false));
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{3}));
    FindDialogAccept(app, "alpha", app.find.findColumns, false);
    FindDialogAccept(app, "delta", app.find.findColumns, false);
    EXPECT_EQ(app.find.findHistory[0], "delta");
    EXPECT_EQ(app.find.findHistory[1], "alpha");
    EXPECT_EQ(app.find.findHistory[2], "");
}

} // namespace
} // namespace lt
