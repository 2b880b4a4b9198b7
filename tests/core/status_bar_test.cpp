// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/status_bar.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/app_state.h"
#include "core/search_caption.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

class StatusBarTest : public ::testing::Test
{
protected:
    StatusBarTest() : bar(ui)
    {
        bar.SetClock([this] { return clock; });
    }

    RecordingUiPort ui;
    StatusBar bar;
    std::string clock = "10:00:00 ";
};

TEST_F(StatusBarTest, ShortMessagesArmTheRestoreTimerOnceAndBringTheStartBack)
{
    bar.ShowStartTime(0);
    EXPECT_EQ(ui.Pane(1), " Start: 10:00:00 ");
    bar.SetStatusText("Saved.", 1, 1);
    bar.SetStatusText("Saved again.", 1, 1);
    const auto arms = ui.TimerArms();
    EXPECT_EQ(std::count(arms.begin(), arms.end(), kTimerRestore), 1);
    EXPECT_EQ(ui.TimerPeriod(kTimerRestore), 2000);
    bar.OnTimer(kTimerRestore);
    EXPECT_EQ(ui.Pane(1), " Start: 10:00:00 ");
    // Armed again after it fired.
    bar.SetStatusText("Third.", 1, 1);
    EXPECT_TRUE(ui.TimerArmed(kTimerRestore));

    clock = "10:05:00 ";
    bar.ShowStartTime(1);
    EXPECT_EQ(ui.Pane(1), " Start: 10:00:00        End: 10:05:00 ");
    bar.ShowStartTime(2);
    EXPECT_EQ(ui.Pane(1), " Start: 10:00:00 ");

    // Without a start time the timer clears the pane.
    bar.ClearStatus(-1);
    bar.SetStatusText("Short.", 1, 1);
    bar.OnTimer(kTimerRestore);
    EXPECT_EQ(ui.Pane(1), " ");
}

TEST_F(StatusBarTest, ClearIfUnchangedOnlyWhenPaneOneWasLeftAlone)
{
    bar.SetStatusText("Copied.", 1, 2);
    EXPECT_EQ(ui.TimerPeriod(kTimerClearIfSame), 4000);
    bar.OnTimer(kTimerClearIfSame);
    EXPECT_EQ(ui.Pane(1), " ");

    bar.SetStatusText("Copied.", 1, 2);
    bar.SetStatusText("Connect to server", 1); // a later write ends the pending clear
    bar.OnTimer(kTimerClearIfSame);
    EXPECT_EQ(ui.Pane(1), "Connect to server");

    bar.SetStatusText("Copied.", 1, 2);
    bar.SetStatusText("Searching /tmp", 0); // other panes do not
    bar.OnTimer(kTimerClearIfSame);
    EXPECT_EQ(ui.Pane(1), " ");
}

TEST_F(StatusBarTest, FindWrapMessagesCarryIconsAndOneTimer)
{
    bar.ShowFindWrap(1);
    EXPECT_EQ(ui.Pane(1), "Search passed end of list.");
    EXPECT_EQ(ui.Icon(1), StatusIcon::Passed0);
    bar.ShowFindWrap(1);
    EXPECT_EQ(ui.TimerPeriod(kTimerFindWrap), 2000); // re-armed: gone 2 s after the last
    bar.OnTimer(kTimerFindWrap);
    EXPECT_EQ(ui.Pane(1), " ");
    EXPECT_EQ(ui.Icon(1), StatusIcon::None);
    EXPECT_FALSE(ui.TimerArmed(kTimerFindWrap));

    bar.ShowFindWrap(2);
    EXPECT_EQ(ui.Pane(1), "Search passed beginning of list.");
    EXPECT_EQ(ui.Icon(1), StatusIcon::Passed1);
    bar.ShowFindWrap(4);
    EXPECT_EQ(ui.Pane(1), " ");
    EXPECT_EQ(ui.Icon(1), StatusIcon::None);
    bar.ShowFindWrap(3);
    EXPECT_EQ(ui.Pane(0), "Deleting current list ...");
}

TEST_F(StatusBarTest, RowCountAndClearing)
{
    bar.ShowRowCount(1234);
    EXPECT_EQ(ui.Pane(2), "1234");
    bar.ShowRowCount(0);
    EXPECT_EQ(ui.Pane(2), std::string(12, ' '));
    bar.SetStatusText("a", 0);
    bar.ClearStatus(0);
    EXPECT_EQ(bar.PaneText(0), " ");
    EXPECT_EQ(bar.PaneText(2), std::string(12, ' '));
    bar.ClearStatus(-1);
    EXPECT_EQ(bar.PaneText(2), " ");
}

TEST(TimeOfDayTest, NineCharactersOfTimeAndBlank)
{
    const std::string t = TimeOfDayText();
    ASSERT_EQ(t.size(), 9u);
    EXPECT_EQ(t[2], ':');
    EXPECT_EQ(t[5], ':');
    EXPECT_EQ(t[8], ' ');
}

TEST(SearchCaptionTest, CutAtTheEighthQuote)
{
    const std::string four = "\"a.htm\" \"b.htm\" \"c.htm\" \"d.htm\"";
    EXPECT_EQ(CutSearchCaption(four + " \"e.htm\""), four + " ...");
    EXPECT_EQ(CutSearchCaption(four + " \"e\""), four + " \"e\""); // only 4 characters follow
    EXPECT_EQ(CutSearchCaption(four + "1234567"), four + " ...");
    EXPECT_EQ(CutSearchCaption("/home/a \"x\" \"y\" \"z\" \"w\" \"v\""), "/home/a \"x\" \"y\" \"z\" \"w\" \"v\"");
}

TEST(SearchCaptionTest, PanesForOneOrSeveralTargets)
{
    RecordingUiPort ui;
    AppState app(ui);
    app.search.droppedCaption = "\"a\" \"b\"";
    app.search.severalTargets = true;
    ShowSearchCaption(app);
    EXPECT_EQ(ui.Pane(0), "\"a\" \"b\"");
    EXPECT_EQ(ui.Pane(1), " ");
    app.search.targetText = "/srv/www/";
    app.search.singleTargetText = "12 files";
    app.search.severalTargets = false;
    ShowSearchCaption(app);
    EXPECT_EQ(ui.Pane(0), "/srv/www/");
    EXPECT_EQ(ui.Pane(1), "12 files");
    app.listState.kind = kListOldSession;
    app.search.targetText = "other";
    ShowSearchCaption(app);
    EXPECT_EQ(ui.Pane(0), "/srv/www/");
}

} // namespace
} // namespace lt
