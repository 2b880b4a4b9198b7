// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/crawl_job.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/app_state.h"
#include "inet/crawl_runner.h"
#include "inet/inet_slot.h"
#include "inet/network_init.h"
#include "list/list_kind.h"
#include "local_server.h"
#include "recording_ui_port.h"
#include "search/item_kind.h"
#include "store/options.h"

namespace lt {
namespace {

using namespace std::chrono_literals;

class CrawlJobTest : public test::RoutesServerTest
{
protected:
    void SetUp() override
    {
        ASSERT_GT(s_server->Port(), 0);
        app.settings.itemKind = 0;
        app.settings.duplicatesPolicy = 0;
        SelectItemKind(app);
        ASSERT_TRUE(PrepareScan(app));
        settings = CrawlSettingsFrom(InetOptions{});
        settings.followLinks = true;
        fetch.timeoutSeconds = 1;
        fetch.connectTimeoutMs = 2000;
        dir = std::filesystem::temp_directory_path() / ("lt-crawl-" + std::to_string(getpid()));
        std::filesystem::remove_all(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    CrawlResult Run(const std::vector<std::string>& paths)
    {
        const int kind = settings.saveToDisk ? kListInetSaved : kListInetRead;
        SwitchListKind(app, kind);
        app.list.SetAutoSort(AutoSort::Off);
        app.jobs.jobCode = kJobInetRead;
        queue = CrawlQueue();
        for (const std::string& p : paths)
            queue.Add(s_server->Url(p), 0, {});
        slot.state = kSlotRunning;
        return CrawlJob(app, slot, settings, fetch, queue, observer);
    }
    std::set<std::string> Removed() const { return observer.removed; }
    std::string Url(const std::string& path) const { return s_server->Url(path); }

    struct Recorder : CrawlObserver
    {
        std::set<std::string> removed;
        std::vector<std::string> urls;
        void UrlLine(const std::string& url) override { urls.push_back(url); }
    };

    RecordingUiPort ui;
    AppState app{ui};
    InetSlot slot;
    CrawlSettings settings;
    FetchSettings fetch;
    CrawlQueue queue;
    Recorder observer;
    std::filesystem::path dir;
};

TEST_F(CrawlJobTest, LevelsRepeatsFiltersAndRedirects)
{
    struct Case { int level; std::vector<std::string> read; long retrieved; };
    const Case cases[] = {
        {0, {"/site/index.htm"}, 1},
        {1, {"/site/index.htm", "/site/a.htm", "/site/b.htm", "/site/missing.htm", "/dir"}, 4},
        {2, {"/site/index.htm", "/site/a.htm", "/site/b.htm", "/site/missing.htm", "/dir", "/site/c.htm",
             "/site/d.htm"}, 6},
    };
    for (const Case& c : cases) {
        settings.level = c.level;
        observer.urls.clear();
        const CrawlResult result = Run({"/site/index.htm"});
        std::vector<std::string> expected;
        for (const std::string& p : c.read)
            expected.push_back(Url(p));
        // In order found, each once; the .gif link is filtered by the default words.
        EXPECT_EQ(observer.urls, expected) << "level " << c.level;
        EXPECT_EQ(result.retrieved, c.retrieved) << "level " << c.level;
        EXPECT_FALSE(result.cancelled);
    }
    // The 404 row stays with its status, its level and parent.
    ASSERT_EQ(queue.Rows().size(), 1u);
    EXPECT_EQ(queue.Rows()[0].url, Url("/site/missing.htm"));
    EXPECT_EQ(queue.Rows()[0].status, "Error: 404 - Not Found");
    EXPECT_EQ(queue.Rows()[0].level, 1);
    EXPECT_EQ(queue.Rows()[0].parent, Url("/site/index.htm"));
    // Hits carry the page they came from.
    bool found = false;
    for (std::size_t r = 0; r < app.list.RowCount(); ++r) {
        if (app.list.GetCell(r, 0) == Url("/site/d.htm")) {
            EXPECT_EQ(app.list.GetCell(r, 2), Url("/site/b.htm"));
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(CrawlJobTest, RowStatusesOfListReads)
{
    settings.followLinks = false;
    const CrawlResult result =
        Run({"/r/loopa", "/g", "/r/comment", "/status/500", "/r/t307", "/stall", "/short", "/endless", "/site/c.htm"});
    std::map<std::string, std::string> statuses;
    for (const CrawlRow& row : queue.Rows())
        statuses[row.url] = row.status;
    EXPECT_EQ(statuses[Url("/r/loopa")], "Error: too many redirects");
    EXPECT_EQ(statuses[Url("/g")], "Error: too many redirects");
    EXPECT_EQ(statuses[Url("/endless")], "Error: page too large");
    EXPECT_EQ(statuses[Url("/r/comment")], "Error: 302 - Moved Temporarily");
    EXPECT_EQ(statuses[Url("/status/500")], "Error: 500 - Internal Server Error");
    EXPECT_EQ(statuses[Url("/stall")], "Timed out");
    EXPECT_EQ(statuses[Url("/short")], "Error reading remote File !");
    EXPECT_EQ(statuses.count(Url("/r/t307")), 0u);
    EXPECT_EQ(result.retrieved, 2);
}

TEST_F(CrawlJobTest, RedirectsToSeenOrFilteredTargets)
{
    settings.level = 0;
    settings.followFilter = MakeWordFilter("", true, "d.htm", false);
    const CrawlResult result = Run({"/site/a.htm", "/r/seen", "/r/t307"});
    ASSERT_EQ(queue.Rows().size(), 2u);
    EXPECT_EQ(queue.Rows()[0].status, "Skipped");
    EXPECT_EQ(queue.Rows()[1].status, "filtered");
    EXPECT_EQ(result.retrieved, 1);
}

TEST_F(CrawlJobTest, RetriesTakeTimedOutRowsAgain)
{
    settings.followLinks = false;
    settings.retries = 2;
    const CrawlResult result = Run({"/flaky"});
    EXPECT_EQ(result.retrieved, 1);
    EXPECT_TRUE(queue.Rows().empty());
}

TEST_F(CrawlJobTest, SavesPagesUnderFreshNames)
{
    settings.level = 1;
    settings.saveToDisk = true;
    settings.saveDir = (dir / "out").string();
    for (int run = 0; run < 2; ++run)
        EXPECT_EQ(Run({"/site/index.htm"}).retrieved, 4);
    std::ifstream in(dir / "out" / "index.htm", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().rfind("<!-- Saved by LinkTrawl from: " + Url("/site/index.htm") + " -->\r\n<html>", 0), 0u);
    for (const char* name : {"index_001.htm", "site_a.htm", "site_a_001.htm", "site_b.htm", "dir.htm"})
        EXPECT_TRUE(std::filesystem::exists(dir / "out" / name)) << name;
    // The remote file and the saved file are the last two cells.
    ASSERT_GT(app.list.RowCount(), 0u);
    EXPECT_EQ(app.list.GetCell(0, 3), Url("/site/index.htm"));
    EXPECT_EQ(app.list.GetCell(0, 2), (dir / "out" / "index_001.htm").string());
}

TEST_F(CrawlJobTest, CancelEndsAPendingRequestQuickly)
{
    settings.followLinks = false;
    fetch.timeoutSeconds = 30;
    std::thread window([this] {
        std::this_thread::sleep_for(300ms);
        slot.RequestCancel();
    });
    const auto start = std::chrono::steady_clock::now();
    const CrawlResult result = Run({"/stall", "/site/c.htm"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    window.join();
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.retrieved, 0);
}

} // namespace
} // namespace lt

namespace lt {
namespace {

TEST_F(CrawlJobTest, RunnerSkipsAndCancelsFromTheWindowThread)
{
    settings.followLinks = false;
    fetch.timeoutSeconds = 30;
    SwitchListKind(app, kListInetRead);
    queue.Add(Url("/stall"), 0, {});
    queue.Add(Url("/trickle"), 0, {});
    queue.Add(Url("/site/c.htm"), 0, {});
    CrawlResult result;
    std::atomic<bool> done{false};
    {
        CrawlRunner runner(app, slot);
        ASSERT_TRUE(runner.Start(settings, fetch, queue, observer, [&](const CrawlResult& r) {
            result = r;
            done = true;
        }));
        EXPECT_FALSE(runner.Start(settings, fetch, queue, observer));
        std::this_thread::sleep_for(300ms);
        runner.Skip(); // the stalled request
        std::this_thread::sleep_for(300ms);
        runner.Skip(); // the endless slow body
        runner.Join();
    }
    ASSERT_TRUE(done);
    EXPECT_EQ(result.retrieved, 1);
    ASSERT_EQ(queue.Rows().size(), 2u);
    EXPECT_EQ(queue.Rows()[0].status, "skipped");
    EXPECT_EQ(queue.Rows()[1].status, "skipped");
    EXPECT_EQ(slot.state.load(), kSlotIdle);
    EXPECT_EQ(app.jobs.Code(), kJobCrawlIdle);

    // A cancel while a request is pending ends the thread within a second.
    queue = CrawlQueue();
    queue.Add(Url("/stall"), 0, {});
    const auto start = std::chrono::steady_clock::now();
    {
        CrawlRunner runner(app, slot);
        ASSERT_TRUE(runner.Start(settings, fetch, queue, observer));
        std::this_thread::sleep_for(200ms);
    } // the destructor cancels and joins
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

} // namespace
} // namespace lt
