// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/messages.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "core/progress.h"
#include "core/window_messages.h"
#include "list/add_result_row.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

class MessagesTest : public ::testing::Test
{
protected:
    MessagesTest() : app(ui) { app.anchors.caption = "Search for: http, ftp"; }

    void AddRows(int n)
    {
        for (int i = 0; i < n; ++i)
            AddResultRow(app, "http://h" + std::to_string(i) + ".com");
    }

    RecordingUiPort ui;
    AppState app;
};

TEST_F(MessagesTest, SearchResultTextsAndCaptions)
{
    AddRows(1);
    ReportResult(app, 1, false);
    EXPECT_EQ(ui.LastMessage().text, "1 Url found !");
    EXPECT_EQ(ui.LastMessage().caption, "Search for: http, ftp");
    EXPECT_EQ(ui.LastMessage().style.icon, MsgIcon::Information);
    EXPECT_EQ(ui.Pane(2), "1");

    ReportResult(app, 0, false);
    EXPECT_EQ(ui.LastMessage().text, "No Url found !");
    app.settings.itemKind = kItemEmail;
    ReportResult(app, 2, false);
    EXPECT_EQ(ui.LastMessage().text, "2 Items found !");
    ReportResult(app, 0, false);
    EXPECT_EQ(ui.LastMessage().text, "No Items found !");

    app.settings.itemKind = kItemHttpFtp;
    app.listState.kind = kListFileList;
    ReportResult(app, 3, false);
    EXPECT_EQ(ui.LastMessage().text, "3 Items found !");
    EXPECT_EQ(ui.LastMessage().caption, "LinkTrawl");
}

TEST_F(MessagesTest, QuietAndOldSessionResults)
{
    AddRows(5);
    // The list holds more rows than were found now: "added."
    ui.ClearRecords();
    ReportResult(app, 2, true);
    EXPECT_EQ(ui.LastMessage().text, "2 Urls added.");
    EXPECT_EQ(ui.LastMessage().caption, "LinkTrawl");

    app.listState.kind = kListOldSession;
    ui.ClearRecords();
    ReportResult(app, 2, false);
    EXPECT_EQ(ui.MessageCount(), 0u); // pane 0 only
    EXPECT_EQ(ui.Pane(0), "2 Items added.");
    EXPECT_EQ(ui.Pane(2), "5");

    ReportResult(app, 5, true);
    EXPECT_EQ(ui.LastMessage().text, "5 Items found !");
    EXPECT_EQ(ui.LastMessage().caption, "LinkTrawl");
}

TEST_F(MessagesTest, FixedResultMessages)
{
    ReportFound(app, 1);
    EXPECT_EQ(ui.LastMessage().text, "1 Item found !");
    ReportFound(app, 0);
    EXPECT_EQ(ui.LastMessage().text, "No Items found !");
    ReportInserted(app, 2);
    EXPECT_EQ(ui.LastMessage().text, "2 Url's inserted !");
    ReportInserted(app, 1);
    EXPECT_EQ(ui.LastMessage().text, "1 Url inserted !");
    ReportSaved(app, 3);
    EXPECT_EQ(ui.LastMessage().text, "3 Urls saved !");
    app.listState.kind = kListCookieFiles;
    ReportSaved(app, 1);
    EXPECT_EQ(ui.LastMessage().text, "1 Item saved !");
    EXPECT_EQ(ResultNounText(app, 0), "No Items");
}

TEST_F(MessagesTest, UnattendedRunsShowNoInformationBoxes)
{
    app.startup.startAction = kStartSearchFolderSaveText; // "-save2"
    ReportResult(app, 4, false);
    ReportSaved(app, 4);
    EXPECT_EQ(ui.MessageCount(), 0u);
    // Failures and questions still reach the port.
    ShowMessage(app, "Cannot write", "Error", {MsgButtons::Ok, MsgIcon::Error});
    EXPECT_EQ(ShowMessage(app, "Overwrite ?", "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question}), MsgAnswer::No);
    EXPECT_EQ(ui.MessageCount(), 2u);
    app.startup.startAction = kStartSearchFolder;
    ReportSaved(app, 4);
    EXPECT_EQ(ui.MessageCount(), 3u);
}

TEST(ConsoleUiPortTest, PrintsBoxesAnswersNoAndForwardsPosts)
{
    std::ostringstream out;
    ConsoleUiPort port(out, false);
    EXPECT_EQ(port.ShowMessage("Stop current Search ?", "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question}),
              MsgAnswer::No);
    EXPECT_EQ(port.ShowMessage("line1\nline2", "Error", {MsgButtons::Ok, MsgIcon::Error}), MsgAnswer::Ok);
    EXPECT_EQ(out.str(), "LinkTrawl: Stop current Search ?\nError: line1 line2\n");
    ConsoleUiPort yes(out, true);
    EXPECT_EQ(yes.ShowMessage("?", "x", {MsgButtons::YesNo, MsgIcon::Question}), MsgAnswer::Yes);

    port.SetPaneText(2, "17");
    EXPECT_EQ(port.PaneText(2), "17");
    port.SetClipboardText("http://a.com");
    EXPECT_EQ(port.ClipboardText(), "http://a.com");
    int got = 0;
    port.Post(kMsgSearchDone, 0, 0); // no handler yet: dropped
    port.SetPostHandler([&](int m, std::intptr_t, std::intptr_t) { got = m; });
    port.Post(kMsgSearchDone, 0, 0);
    EXPECT_EQ(got, kMsgSearchDone);
}

TEST(ProgressTest, NoBarUpToAHundredRowsAndAtMostAHundredSteps)
{
    RecordingUiPort ui;
    AppState app(ui);
    {
        Progress p = Progress::ForRows(app, 100);
        for (uint64_t i = 1; i <= 100; ++i)
            p.Advance(i);
    }
    EXPECT_EQ(ui.ProgressBegins(), 0);
    EXPECT_EQ(ui.ProgressSteps(), 0);

    for (const uint64_t rows : {101ull, 1000ull, 123457ull}) {
        ui.ClearRecords();
        {
            Progress p = Progress::ForRows(app, rows);
            for (uint64_t i = 1; i <= rows; ++i)
                p.Advance(i);
            p.Advance(rows + 5); // overshoot does not step further
        }
        EXPECT_EQ(ui.ProgressBegins(), 1) << rows;
        EXPECT_EQ(ui.ProgressSteps(), 100) << rows;
        EXPECT_EQ(ui.ProgressEnds(), 1) << rows;
    }

    // Half way is half the steps; a moved-from bar does not end twice.
    ui.ClearRecords();
    {
        Progress p(app, 1000, true);
        p.Advance(500);
        EXPECT_EQ(ui.ProgressSteps(), 50);
        Progress q(std::move(p));
        q.End();
        q.End();
    }
    EXPECT_EQ(ui.ProgressEnds(), 1);
}

} // namespace
} // namespace lt
