// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/remove_dupes.h"

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

class RemoveDupesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.list.SetAutoSort(AutoSort::Off);
        app.list.SetColumns({{"Url"}, {"Title"}, {"File"}});
    }
    void Add(const std::string& url, const std::string& title = {}, const std::string& file = {})
    {
        app.list.InsertRow(ResultRow{{url, title, file}});
    }
    void Run()
    {
        app.jobs.jobCode = kJobRemoveDupes;
        RemoveDupesJob(app);
    }
    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> cells;
        for (std::size_t i = 0; i < app.list.RowCount(); ++i)
            cells.push_back(app.list.GetCell(i, column));
        return cells;
    }

    RecordingUiPort port;
    AppState app{port};
};

TEST_F(RemoveDupesTest, RepeatsIgnoringCaseAndAFinalSlashGo)
{
    Add("http://b.example/");
    Add("http://a.example/x", "", "1");
    Add("HTTP://A.EXAMPLE/X", "", "2");
    Add("http://b.example");
    Add("http://a.example/x/", "", "3");
    Run();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"http://a.example/x", "http://b.example"}));
    // The first of equal rows stays (the sort is stable).
    EXPECT_EQ(Column(2)[0], "1");
    EXPECT_EQ(app.jobs.Code(), 0);
    EXPECT_EQ(port.Pane(2), "2");
}

TEST_F(RemoveDupesTest, ASlashedItemDoesNotSwallowTheBareOne)
{
    Add("http://c.example/");
    Add("http://c.example/");
    Run();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"http://c.example/"}));
    // A row between the bare item and its slashed twin does not hide the twin.
    app.list.ClearRows();
    Add("http://x.example");
    Add("http://x.example.org");
    Add("http://x.example/");
    Run();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"http://x.example", "http://x.example.org"}));
}

TEST_F(RemoveDupesTest, TheTitledRowIsKept)
{
    Add("http://t.example/", "", "untitled");
    Add("http://t.example/", "Home page", "titled");
    Add("http://t.example/", "Other title", "second titled");
    Run();
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Home page"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"titled"}));
}

TEST_F(RemoveDupesTest, SortNoticeOnlyAbove300Rows)
{
    for (int i = 300; i > 0; --i)
        Add("http://n" + std::to_string(i) + ".example/");
    Run();
    for (const auto& write : port.PaneWrites())
        EXPECT_NE(write.text, " Sorting items ...");
    EXPECT_EQ(port.ProgressBegins(), 1); // more than 100 rows

    app.list.ClearRows();
    port.ClearRecords();
    for (int i = 301; i > 0; --i)
        Add("http://n" + std::to_string(i) + ".example/");
    Run();
    bool noticed = false;
    for (const auto& write : port.PaneWrites())
        noticed = noticed || write.text == " Sorting items ...";
    EXPECT_TRUE(noticed);
    EXPECT_EQ(app.list.RowCount(), 301u);
    EXPECT_EQ(Column(0).front(), "http://n1.example/");
}

TEST_F(RemoveDupesTest, StoppedRunDeletesNothing)
{
    Add("http://s.example/");
    Add("http://s.example/");
    app.jobs.jobCode = 0;
    RemoveDupesJob(app);
    EXPECT_EQ(app.list.RowCount(), 2u);
}

TEST_F(RemoveDupesTest, CommandNeedsTwoRows)
{
    Add("http://only.example/");
    EXPECT_FALSE(RemoveDupesCommand(app));
    Add("http://only.example/");
    ASSERT_TRUE(RemoveDupesCommand(app));
    JoinWorker(app);
    EXPECT_EQ(app.list.RowCount(), 1u);
}

} // namespace
} // namespace lt
