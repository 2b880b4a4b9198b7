// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/status_test_job.h"

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include "inet/inet_slot.h"
#include "inet/network_init.h"
#include "inet/status_list.h"
#include "inet/status_texts.h"
#include "list/list_state.h"
#include "local_server.h"
#include "search/char_tables.h"

namespace lt {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(StatusTexts, TextsOfEveryOutcome)
{
    const std::string url = "http://h.example/dir/";
    struct Case { int status; const char* target; const char* text; };
    const Case answers[] = {
        {200, "", "Ok"},
        {506, "http://h.example/dir", "Ok"},  // the server only dropped the trailing slash
        {506, "http://h.example/dir/x", "Redirected:  http://h.example/dir/x"},
        {507, "ftp://f.example/a", "Redirected:  ftp://f.example/a"},
        {403, "", "403 - Forbidden"},
        {404, "", "404 - Not Found"},
        {504, "", "504 - Timed out"},
        {537, "", "Error 537 !"},
        {410, "", "Error 410 !"},
    };
    for (const Case& c : answers)
        EXPECT_EQ(StatusAnswerText(c.status, url, c.target), c.text) << c.status << " " << c.target;

    const std::pair<int, const char*> errors[] = {
        {12007, "12007 - not resolved"}, {12029, "12029 - no connection"}, {12164, "12164 - server unreachable"},
        {12045, "Error 12045 "},         {7, "Error 007 "},
    };
    for (const auto& [number, text] : errors)
        EXPECT_EQ(StatusErrorText(number), text) << number;
}

TEST(StatusTexts, FinishedRows)
{
    const std::pair<const char*, bool> cases[] = {
        {"Ok", true},           {"OK", true},          {"404 - Not Found", true}, {"12007 - not resolved", true},
        {"Error 537 !", true},  {"error 12045 ", true}, {"Redirected:  x", true},  {"REDIRECTED:  x", true},
        {"Timed out", false},   {"403 - Forbidden", false}, {"500 - Internal Server Error", false}, {"", false},
    };
    for (const auto& [status, finished] : cases)
        EXPECT_EQ(IsFinishedStatus(status), finished) << status;
    EXPECT_TRUE(IsOkStatus("oK"));
    EXPECT_FALSE(IsOkStatus("Ok!"));
}

TEST(StatusListRows, SelectionDeletionAndWriteBack)
{
    ResultList source;
    source.SetAutoSort(AutoSort::Off);
    source.SetColumns({ColumnState{"File"}, ColumnState{"Status"}});
    for (const auto& [url, status] : std::vector<std::pair<std::string, std::string>>{
             {"http://a/", "Ok"}, {"http://a/", "Ok"}, {"http://b/", ""}, {"http://a/", "404 - Not Found"}})
        source.InsertRow(ResultRow{{url, status}});
    source.SetSelectedRows({0, 1, 2, 3});

    StatusList rows;
    // Each URL once where it repeats the row before it; a later repeat stays.
    EXPECT_EQ(AddSelectedRows(rows, source, FindStatusColumn(source, -1)), 3u);
    EXPECT_EQ(rows.Status(0), "Ok");
    EXPECT_EQ(rows.Url(1), "http://b/");
    EXPECT_EQ(rows.OkCount(), 1u);
    EXPECT_EQ(rows.DeleteOkRows(), 1u);
    ASSERT_EQ(rows.Count(), 2u);
    EXPECT_EQ(rows.Url(0), "http://b/");

    // Write-back: a list without a "Status" column gets one at its end.
    ResultList target;
    target.SetAutoSort(AutoSort::Off);
    target.SetColumns({ColumnState{"File"}, ColumnState{"Title"}});
    target.InsertRow(ResultRow{{"http://b/", "B"}});
    target.InsertRow(ResultRow{{"http://c/", "C"}});
    rows.SetStatus(0, "Timed out");
    ListState state;
    EXPECT_EQ(WriteStatusesBack(rows, target, state), 1u);
    ASSERT_EQ(target.ColumnCount(), 3);
    EXPECT_EQ(target.GetHeaderText(2), "Status");
    EXPECT_EQ(state.statusColumn, 2);
    EXPECT_EQ(target.GetCell(0, 2), "Timed out");
    EXPECT_EQ(target.GetCell(1, 2), "");
    // A second write goes into the same column.
    rows.SetStatus(0, "Ok");
    EXPECT_EQ(WriteStatusesBack(rows, target, state), 1u);
    EXPECT_EQ(target.ColumnCount(), 3);
    EXPECT_EQ(target.GetCell(0, 2), "Ok");
}

TEST(StatusListRows, ClipboardLinks)
{
    CharTables tables;
    StatusList rows;
    EXPECT_EQ(AddLinksFromText(rows, tables, "see http://a.example/x and\r\nftp://f.example/y, also http://a.example/x",
                               false),
              2u);
    EXPECT_EQ(rows.Url(0), "http://a.example/x");
    EXPECT_EQ(rows.Url(1), "ftp://f.example/y");
}

// Ticks pass at once; the count of ticks is what a real clock would have waited in seconds.
class InstantClock : public PassClock
{
public:
    bool WaitTick(DelayEvent& event, std::chrono::milliseconds) override
    {
        ++ticks;
        if (pressOkAt > 0 && ticks == pressOkAt)
            event.Set();
        return event.IsSet();
    }
    int ticks = 0;
    int pressOkAt = 0;
};

class Recorder : public StatusTestObserver
{
public:
    void StateLine(const std::string& text) override
    {
        std::lock_guard<std::mutex> lock(m_lock);
        states.push_back(text);
    }
    void CounterLine(const std::string& text) override
    {
        std::lock_guard<std::mutex> lock(m_lock);
        counter = text;
    }
    void RowStatus(std::size_t row, const std::string&) override
    {
        std::lock_guard<std::mutex> lock(m_lock);
        ++asked[row];
    }
    void RetriesLeft(int retries) override
    {
        std::lock_guard<std::mutex> lock(m_lock);
        retriesLeft.push_back(retries);
    }
    std::vector<std::string> states;
    std::string counter;
    std::map<std::size_t, int> asked;
    std::vector<int> retriesLeft;

private:
    std::mutex m_lock;
};

class StatusJobTest : public test::RoutesServerTest
{
protected:
    void SetUp() override { ASSERT_GT(s_server->Port(), 0) << "the test server did not start"; }

    static StatusTestSettings Quick(int parallel)
    {
        StatusTestSettings settings;
        settings.parallel = parallel;
        settings.fetch.connectTimeoutMs = 2000;
        settings.fetch.timeoutSeconds = 1;
        return settings;
    }
    StatusTestResult Run(StatusList& rows, const StatusTestSettings& settings, Recorder& recorder,
                         InstantClock& clock)
    {
        slot.state = kSlotRunning;
        slot.retrieved = 0;
        return StatusTestJob(slot, rows, controls, settings, clock, recorder);
    }

    InetSlot slot;
    StatusTestControls controls;
};

TEST_F(StatusJobTest, OneAfterTheOtherAndSideBySideGiveTheSameStatuses)
{
    const std::string loop = s_server->Url("/r/loopb");
    const std::pair<std::string, std::string> cases[] = {
        {s_server->Url("/site/c.htm"), "Ok"},
        {s_server->Url("/status/403"), "403 - Forbidden"},
        {s_server->Url("/status/404"), "404 - Not Found"},
        {s_server->Url("/status/500"), "500 - Internal Server Error"},
        {s_server->Url("/status/999"), "Error 537 !"},
        {s_server->Url("/dir"), "Ok"},    // relative redirect to the URL plus "/", followed
        {s_server->Url("/dirabs"), "Ok"}, // the same, absolute
        {s_server->Url("/slash/"), "Ok"}, // to the URL less its "/": not followed
        {s_server->Url("/r/abs"), "Ok"},  // to another page, followed
        {s_server->Url("/r/t307"), "Ok"},
        {s_server->Url("/r/t308"), "Ok"},
        {s_server->Url("/r/ftp"), "Redirected:  ftp://127.0.0.1:1/file.txt"},
        {s_server->Url("/r/loopa"), "Redirected:  " + loop}, // ten hops, then reported
        {s_server->Url("/huge"), "Ok"},                       // 4 GiB announced: never read
        {"http://status-test.invalid/", "12007 - not resolved"},
        {"http://127.0.0.1:1/", "12029 - no connection"},
        {s_server->Url("/stall"), "Timed out"},
        {"mailto:someone@example.org", "12006 - Url scheme not supported"},
        {s_server->Url("/site/d.htm"), "Ok"},
    };
    for (const int parallel : {1, 8}) {
        StatusList rows;
        for (const auto& c : cases)
            rows.Add(c.first);
        Recorder recorder;
        InstantClock clock;
        const auto start = Clock::now();
        const StatusTestResult result = Run(rows, Quick(parallel), recorder, clock);
        EXPECT_LT(Clock::now() - start, 10s) << "parallel " << parallel;
        EXPECT_TRUE(result.error.empty()) << result.error;
        EXPECT_FALSE(result.cancelled);
        EXPECT_EQ(result.tested, static_cast<long>(std::size(cases)));
        for (std::size_t i = 0; i < std::size(cases); ++i)
            EXPECT_EQ(rows.Status(i), cases[i].second) << "parallel " << parallel << ": " << cases[i].first;
        EXPECT_EQ(slot.retrieved.load(), 9u);
        EXPECT_EQ(recorder.counter, "Ok Items: 9/19") << "parallel " << parallel;
    }
}

TEST_F(StatusJobTest, PassesRetryUnfinishedRowsAfterTheDelay)
{
    StatusList rows;
    const std::pair<std::string, std::string> start[] = {
        {s_server->Url("/flaky500/retry"), ""},          // 500 first, then 200
        {s_server->Url("/site/a.htm"), "Ok"},            // finished: never asked
        {s_server->Url("/site/b.htm"), "404 - Not Found"},
        {s_server->Url("/status/200"), "Error 12045 "},
        {s_server->Url("/dir/"), "Redirected:  x"},
        {s_server->Url("/site/c.htm"), "Timed out"},     // asked again
        {s_server->Url("/status/403"), "403 - Forbidden"},
        {s_server->Url("/status/404"), ""},
    };
    for (const auto& [url, status] : start)
        rows.Add(url, status);
    Recorder recorder;
    InstantClock clock;
    controls.delayMinutes = 2;
    StatusTestSettings settings = Quick(1);
    settings.retries = 1;
    Run(rows, settings, recorder, clock);

    EXPECT_EQ(rows.Status(0), "Ok");
    EXPECT_EQ(rows.Status(5), "Ok");
    EXPECT_EQ(rows.Status(6), "403 - Forbidden");
    EXPECT_EQ(rows.Status(7), "404 - Not Found");
    const std::map<std::size_t, int> asked = {{0, 2}, {5, 1}, {6, 2}, {7, 1}};
    EXPECT_EQ(recorder.asked, asked);
    EXPECT_EQ(recorder.retriesLeft, std::vector<int>{0});
    // Two minutes counted second by second on the test's clock: "Delay 0:1" .. "Delay 2:0".
    EXPECT_EQ(clock.ticks, 120);
    std::vector<std::string> delay;
    for (const std::string& s : recorder.states)
        if (s.rfind("Status: Delay", 0) == 0)
            delay.push_back(s);
    ASSERT_EQ(delay.size(), 121u);
    EXPECT_EQ(delay.front(), "Status: Delay");
    EXPECT_EQ(delay[1], "Status: Delay 0:1");
    EXPECT_EQ(delay[60], "Status: Delay 1:0");
    EXPECT_EQ(delay.back(), "Status: Delay 2:0");
}

TEST_F(StatusJobTest, OkDuringTheDelayEndsItEarly)
{
    StatusList rows;
    rows.Add(s_server->Url("/status/403"));
    Recorder recorder;
    InstantClock clock;
    clock.pressOkAt = 5;
    controls.delayMinutes = 30;
    StatusTestSettings settings = Quick(1);
    settings.retries = 1;
    Run(rows, settings, recorder, clock);
    EXPECT_EQ(recorder.asked[0], 2);
    EXPECT_EQ(clock.ticks, 5);
}

TEST_F(StatusJobTest, AtMostFourToOneHost)
{
    for (const auto& [parallel, most] : {std::pair{8, 4}, std::pair{2, 2}, std::pair{1, 1}}) {
        StatusList rows;
        for (int i = 0; i < 8; ++i)
            rows.Add(s_server->Url("/slow/300/" + std::to_string(i)));
        Recorder recorder;
        InstantClock clock;
        Run(rows, Quick(parallel), recorder, clock);
        EXPECT_EQ(rows.OkCount(), 8u);
        StatusList probe;
        probe.Add(s_server->Url("/maxflight"));
        InetSession session(slot, Quick(1).fetch);
        InetRequest request(session);
        slot.state = kSlotRunning;
        ASSERT_EQ(request.Open(s_server->Url("/maxflight")), OpenResult::Opened);
        char buffer[16] = {};
        ASSERT_GT(request.Read(buffer, sizeof buffer - 1), 0);
        EXPECT_EQ(std::atoi(buffer), most) << "parallel " << parallel;
    }
}

TEST_F(StatusJobTest, SkipAndCancelReachThePendingRequest)
{
    StatusTestSettings settings = Quick(1);
    settings.fetch.timeoutSeconds = 30;
    {
        // Skip: the stalled row keeps its status, the next one is tested.
        StatusList rows;
        rows.Add(s_server->Url("/stall"), "Timed out");
        rows.Add(s_server->Url("/site/c.htm"));
        Recorder recorder;
        RealPassClock clock;
        StatusTestRunner runner(slot);
        ASSERT_TRUE(runner.Start(rows, controls, settings, clock, recorder));
        std::this_thread::sleep_for(300ms);
        const auto start = Clock::now();
        runner.Skip();
        runner.Join();
        EXPECT_LT(Clock::now() - start, 1s);
        EXPECT_EQ(rows.Status(0), "Timed out");
        EXPECT_EQ(rows.Status(1), "Ok");
        EXPECT_EQ(slot.state.load(), kSlotIdle);
    }
    for (const int parallel : {1, 8}) {
        StatusList rows;
        rows.Add(s_server->Url("/stall"));
        rows.Add(s_server->Url("/slow/20000/x"));
        Recorder recorder;
        RealPassClock clock;
        StatusTestRunner runner(slot);
        settings.parallel = parallel;
        ASSERT_TRUE(runner.Start(rows, controls, settings, clock, recorder));
        std::this_thread::sleep_for(300ms);
        const auto start = Clock::now();
        runner.Cancel();
        runner.Join();
        EXPECT_LT(Clock::now() - start, 1s) << "parallel " << parallel;
        EXPECT_EQ(rows.Status(0), "");
        EXPECT_EQ(rows.Status(1), "");
    }
}

} // namespace
} // namespace lt
