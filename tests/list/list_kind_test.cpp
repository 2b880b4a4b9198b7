// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/list_kind.h"

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "list/add_result_row.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

std::vector<std::string> Headers(const ResultList& list)
{
    std::vector<std::string> out;
    for (const auto& c : list.Columns())
        out.push_back(c.header);
    return out;
}

std::vector<int> Types(const ResultList& list)
{
    std::vector<int> out;
    for (const auto& c : list.Columns())
        out.push_back(c.type);
    return out;
}

class ListKindTest : public ::testing::Test
{
protected:
    ListKindTest() : app(ui) { ApplyListKind(app, 2); }

    RecordingUiPort ui;
    AppState app;
};

TEST_F(ListKindTest, ColumnCountsOfEveryKind)
{
    const std::vector<std::pair<int, std::size_t>> counts = {
        {1, 1}, {2, 1}, {3, 2}, {4, 6}, {5, 5}, {6, 2}, {8, 6}, {9, 6}, {10, 4},
        {11, 3}, {12, 5}, {13, 2}, {14, 4}, {15, 5}, {16, 5}, {18, 6}, {0, 3}};
    for (const auto& [kind, count] : counts) {
        SwitchListKind(app, kind);
        EXPECT_EQ(app.list.ColumnCount(), static_cast<int>(count)) << "kind " << kind;
    }
    app.listState.netscapeDetail = true;
    SwitchListKind(app, kListNetscapeHistory);
    EXPECT_EQ(Headers(app.list),
              (std::vector<std::string>{"Url", "Title", "Hits", "Last Access", "First Access"}));
}

TEST_F(ListKindTest, FileSearchColumnsFollowTheItemKindAndFileInfo)
{
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Url", "Title", "File"}));
    app.settings.itemKind = kItemUser;
    ApplyListKind(app);
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Item", "Line", "Offset", "File"}));
    EXPECT_EQ(Types(app.list), (std::vector<int>{kColText, kColLine, kColOffset, kColPath}));
    EXPECT_TRUE(app.list.Column(1).directionFlag);
    EXPECT_EQ(app.list.Column(2).width, 88);
    app.listState.fileInfoOption = true;
    ApplyListKind(app);
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Item", "Line", "Offset", "File", "File Date", "File Size"}));
    app.settings.itemKind = kItemIp; // no file-info columns for IP items
    ApplyListKind(app);
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Item", "Context", "Line", "Offset", "File"}));
    EXPECT_EQ(app.list.Column(0).type, kColIp);

    app.settings.itemKind = kItemHttpFtp;
    app.listState.fileInfoOption = false;
    SwitchListKind(app, kListInetSaved);
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Url", "Title", "File", "Remote File"}));
    SwitchListKind(app, kListInetRead);
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Url", "Title", "Remote File"}));
}

TEST_F(ListKindTest, ApplyDoesNothingUnlessSomethingChangedOrForced)
{
    app.list.SetHeaderText(0, "mine");
    ApplyListKind(app);
    EXPECT_EQ(app.list.GetHeaderText(0), "mine");
    ApplyListKind(app, 2);
    EXPECT_EQ(app.list.GetHeaderText(0), "Url");
}

TEST_F(ListKindTest, FileSearchWidthsComeBackAfterAnotherKind)
{
    app.list.SetColumnWidth(0, 500);
    app.list.SetColumnWidth(2, 211);
    SwitchListKind(app, kListFileList);
    EXPECT_NE(app.list.Column(2).width, 211);
    SwitchListKind(app, kListFileSearch);
    EXPECT_EQ(app.list.Column(0).width, 500);
    EXPECT_EQ(app.list.Column(2).width, 211);
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Url", "Title", "File"}));

    // Kinds 10 and 11 belong with 0: no save or restore between them.
    app.list.SetColumnWidth(1, 99);
    SwitchListKind(app, kListInetSaved);
    EXPECT_EQ(app.list.Column(1).width, 99);
}

TEST_F(ListKindTest, HitRateOverlayAndItsWayBack)
{
    app.list.SetColumnWidth(1, 150);
    app.listState.hitRateMode = 2;
    ApplyListKind(app);
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Url", "Hits"}));
    EXPECT_EQ(app.list.Column(1).type, kColHits);
    app.listState.hitRateMode = 0;
    ApplyListKind(app);
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Url", "Title", "File"}));
    EXPECT_EQ(app.list.Column(1).width, 150);

    app.listState.hitRateMode = 1; // keeps the count
    ApplyListKind(app);
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Url", "Hits", "File"}));
}

TEST_F(ListKindTest, ThreeColumnListGetsADateColumnWithFileInfo)
{
    SwitchListKind(app, kListInetRead);
    app.listState.fileInfoOption = true;
    ApplyListKind(app);
    ASSERT_EQ(app.list.ColumnCount(), 4);
    EXPECT_EQ(app.list.Column(3).type, kColDate);
    EXPECT_EQ(app.list.Column(3).width, 120);
    // Kinds with their own names keep them.
    SwitchListKind(app, kListHistoryIndex);
    EXPECT_EQ(Headers(app.list), (std::vector<std::string>{"Url", "User", "Hits", "Date 1", "Date 2", "File"}));
}

TEST_F(ListKindTest, FlexibleFirstColumnAndWideFonts)
{
    app.listState.clientWidth = 1000;
    SwitchListKind(app, kListCacheIndex);
    // 84 + 58 + 120 + 120 for the others.
    EXPECT_EQ(app.list.Column(0).width, 1000 - 382);
    app.listState.clientWidth = 300;
    SwitchListKind(app, kListHistoryIndex);
    EXPECT_EQ(app.list.Column(0).width, 200); // at least 200 for the index kinds
    app.listState.fontProbeWidth = 111;
    SwitchListKind(app, kListCacheIndex);
    EXPECT_EQ(app.list.Column(2).width, 58 + 6);
    EXPECT_EQ(app.list.Column(3).width, 120 + 14 + 32);
    app.listState.clientWidth = 2000;
    SwitchListKind(app, kListFileList);
    int sum = 0;
    for (const auto& c : app.list.Columns())
        sum += c.width;
    EXPECT_EQ(sum, 2000);
}

TEST_F(ListKindTest, ContextActionTitles)
{
    auto actions = [&](int kind, int item) {
        app.listState.kind = kind;
        app.settings.itemKind = item;
        const ContextActions a = ContextActionTexts(app);
        return a.main + "|" + a.second;
    };
    EXPECT_EQ(actions(0, 0), "Launch in &Browser|&Download Url(s)");
    EXPECT_EQ(actions(0, 5), "&View Source|&Download Url(s)");
    EXPECT_EQ(actions(10, 7), "&View Context|&Download Url(s)");
    EXPECT_EQ(actions(3, 0), "&Add new list item|Save &to Internet Explorer");
    EXPECT_EQ(actions(9, 0), "View &Text file|&Delete File(s) from Disk");
    EXPECT_EQ(actions(12, 0), "&Sort by Ending|");
    EXPECT_EQ(actions(15, 0), "&Delete File(s) from Disk|&Compare to Disk Files");
    EXPECT_EQ(actions(16, 0), "&Delete Link(s) from Disk|");
    EXPECT_EQ(actions(18, 0), "Delete &empty Lines|&Download Url(s)");
    EXPECT_EQ(actions(4, 5), "Launch in &Browser|&Download Url(s)");
}

TEST_F(ListKindTest, ClearResetsCountersPanesAndFlags)
{
    app.settings.itemKind = kItemUser;
    ApplyListKind(app);
    AddResultRow(app, "x");
    app.search.targetText = "/tmp/a";
    app.status.SetStatusText("busy", 1);
    bool cleared = false;
    app.listState.onClear = [&](int) { cleared = true; };
    ClearResultList(app);
    EXPECT_TRUE(cleared);
    EXPECT_EQ(app.list.RowCount(), 0u);
    EXPECT_EQ(app.listState.rowSerial, -1);
    EXPECT_EQ(app.search.targetText, "");
    EXPECT_EQ(ui.Pane(1), " ");
    for (const auto& c : app.list.Columns())
        EXPECT_FALSE(c.directionFlag);

    // No list in text-window mode: nothing is touched.
    AddResultRow(app, "y");
    app.startup.textWindowMode = 12;
    ClearResultList(app);
    EXPECT_EQ(app.list.RowCount(), 1u);
}

TEST_F(ListKindTest, LeavingFilesInUseDropsAddedIcons)
{
    SwitchListKind(app, kListFilesInUse);
    app.listState.addedIconCount = 5;
    SwitchListKind(app, kListFileSearch);
    EXPECT_EQ(app.listState.addedIconCount, 0);
    EXPECT_EQ(app.listState.previousKind, kListFilesInUse);
}

} // namespace
} // namespace lt
