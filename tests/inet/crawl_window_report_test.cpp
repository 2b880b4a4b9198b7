// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/crawl_window_report.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "core/window_messages.h"
#include "inet/crawl_runner.h"
#include "inet/inet_slot.h"
#include "inet/network_init.h"
#include "inet/quick_read.h"
#include "local_server.h"
#include "recording_job_window_port.h"
#include "recording_ui_port.h"
#include "store/options.h"

namespace lt {
namespace {

using namespace std::chrono_literals;

class CrawlReportTest : public test::RoutesServerTest
{
protected:
    void SetUp() override
    {
        ASSERT_GT(s_server->Port(), 0);
        app.settings.itemKind = 0;
        app.settings.duplicatesPolicy = 0;
        fetch.timeoutSeconds = 1;
        fetch.connectTimeoutMs = 2000;
        settings = CrawlSettingsFrom(InetOptions{});
    }
    std::string Url(const std::string& path) const { return s_server->Url(path); }

    RecordingUiPort ui;
    AppState app{ui};
    CrawlSettings settings;
    FetchSettings fetch;
};

void FixedClock(int& hours, int& minutes)
{
    hours = 9;
    minutes = 5;
}

// What the window shows of a crawl and of a list read, from the first row to the end message.
TEST_F(CrawlReportTest, TheWindowShowsTheQueueTheLinesAndTheEnd)
{
    struct Case
    {
        bool crawl;
        std::vector<std::string> paths;
        std::vector<std::vector<std::string>> rowsLeft;
        std::string counter;
    };
    const std::string start = Url("/site/index.htm");
    const Case cases[] = {
        // Level 1: the start page's links are queued with their level and parent; the one that
        // fails keeps its status, the others go as they are read (the folder through its redirect).
        {true, {"/site/index.htm"}, {{Url("/site/missing.htm"), "1", start, "Error: 404 - Not Found"}}, "Retrieved: 4/5"},
        // A list read has the one column and follows nothing.
        {false, {"/site/a.htm", "/status/404", "/site/c.htm"}, {{Url("/status/404")}}, "Retrieved: 2/3"},
    };
    for (const Case& c : cases) {
        RecordingJobWindowPort window;
        CrawlWindowReport report(window, c.crawl, FixedClock);
        CrawlQueue queue;
        for (const std::string& path : c.paths) {
            queue.Add(Url(path), 0, {});
            report.RowAdded(queue.Rows().back());
        }
        settings.followLinks = c.crawl;
        settings.level = 1;
        ASSERT_TRUE(PrepareCrawlResults(app, false));
        CrawlRunner runner(app, app.inetSlots[0]);
        std::atomic<bool> done{false};
        ASSERT_TRUE(runner.Start(settings, fetch, queue, report, [&](const CrawlResult& result) {
            report.JobEnded(result);
            done = true;
        }));
        runner.Join();
        ASSERT_TRUE(done);
        EXPECT_EQ(window.Rows(), c.rowsLeft);
        const RecordingJobWindowPort::Lines lines = window.Shown();
        EXPECT_EQ(lines.caption, "Read Internet Files");
        EXPECT_EQ(lines.counter, c.counter);
        EXPECT_EQ(lines.status, "Status: Idle... (09:05)");
        const std::vector<std::string> calls = window.Calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), "post " + std::to_string(kMsgCloseIfIdle) + " 1");
        // Each row is shown, then connected to, then received.
        const auto at = [&](const std::string& call) {
            return std::find(calls.begin(), calls.end(), call) - calls.begin();
        };
        EXPECT_LT(at("show 0"), at("status Status: Connecting..."));
        EXPECT_LT(at("status Status: Connecting..."), at("status Status: Receiving..."));
        EXPECT_EQ(app.inetSlots[0].state.load(), kSlotIdle);
    }
}

TEST_F(CrawlReportTest, AFailureThatEndsTheJobBecomesTheCaption)
{
    RecordingJobWindowPort window;
    CrawlWindowReport report(window, true, FixedClock);
    CrawlResult result;
    result.error = "Can not create/open directory\r\n/x/y !";
    report.JobEnded(result);
    EXPECT_EQ(window.Shown().caption, "Can not create/open directory /x/y !");
    EXPECT_EQ(window.Calls().back(), "post " + std::to_string(kMsgCloseIfIdle) + " 0");
}

// The quick read asks before a redirect elsewhere, not before one inside the URL, and ends with
// the hit count or the reason it failed.
TEST_F(CrawlReportTest, TheQuickReadAsksAboutRedirectsAndReportsItsEnd)
{
    struct Case
    {
        std::string path;
        std::vector<MsgAnswer> answers;
        std::vector<std::string> messages; // in order
        bool hits;
    };
    const std::string question = "Redirected to:\r\n" + Url("/site/c.htm") + "\r\nRead redirected page ?";
    const Case cases[] = {
        {"/site/a.htm", {}, {"2 Items found !"}, true},
        {"/r/abs", {MsgAnswer::No}, {question}, false},
        // The target taken is itself a hit.
        {"/r/abs", {MsgAnswer::Yes}, {question, "1 Item found !"}, true},
        // A slash added by the server is no question.
        {"/dir", {}, {"1 Item found !"}, true},
        {"/status/404", {}, {"Can not open Url ! (Error: 404 - Not Found)"}, false},
    };
    for (const Case& c : cases) {
        RecordingUiPort port;
        AppState a(port);
        a.settings.itemKind = 0;
        for (const MsgAnswer answer : c.answers)
            port.QueueAnswer(answer);
        ASSERT_TRUE(PrepareCrawlResults(a, false));
        a.inetSlots[0].state = kSlotRunning;
        QuickReadJob(a, settings, fetch, Url(c.path));
        std::vector<std::string> shown;
        for (const RecordingUiPort::Message& m : port.Messages())
            shown.push_back(m.text);
        EXPECT_EQ(shown, c.messages) << c.path;
        EXPECT_EQ(a.list.RowCount() > 0, c.hits) << c.path;
        EXPECT_EQ(a.inetSlots[0].state.load(), kSlotFree);
        EXPECT_EQ(a.jobs.Code(), kJobIdle);
    }
}

TEST_F(CrawlReportTest, QuickReadUrlsGetHttpUnlessTheyNameAScheme)
{
    EXPECT_EQ(QuickReadUrl("www.example.org/x"), "http://www.example.org/x");
    EXPECT_EQ(QuickReadUrl("HTTPS://a.example/"), "HTTPS://a.example/");
    EXPECT_EQ(QuickReadUrl("ftp://f.example/x"), "ftp://f.example/x");
    EXPECT_EQ(QuickReadUrl("ftp.example/x"), "http://ftp.example/x");
}

} // namespace
} // namespace lt
