// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/job_control.h"

#include <gtest/gtest.h>

#include <chrono>
#include <latch>
#include <stdexcept>

#include "core/app_state.h"
#include "core/window_messages.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

using namespace std::chrono_literals;

class JobControlTest : public ::testing::Test
{
protected:
    JobControlTest() : app(ui) {}
    ~JobControlTest() override
    {
        app.jobs.jobCode = 0;
        JoinWorker(app);
    }

    // Starts a job that runs until its code is taken away.
    void StartLoop(int32_t code)
    {
        ASSERT_TRUE(StartJob(app, code, [](AppState& a) {
            while (a.jobs.Running())
                std::this_thread::sleep_for(1ms);
        }));
    }

    RecordingUiPort ui;
    AppState app;
};

TEST_F(JobControlTest, StopAsksOrStopsAsTheCodeRequires)
{
    struct Case
    {
        int32_t code;
        const char* question; // nullptr: no question
        bool stops;           // with the answer Yes
    };
    const Case cases[] = {{1, "Stop current Search ?", true},  {2, "Stop current Search ?", true},
                          {3, nullptr, true},                  {4, nullptr, true},
                          {5, "Stop current Process ?", true}, {120, "Stop current Process ?", true},
                          {1101, nullptr, false},              {1220, nullptr, false}};
    for (const Case& c : cases) {
        ui.ClearRecords();
        app.jobs.jobCode = c.code;
        app.jobs.listBusy = true;
        if (c.question)
            ui.QueueAnswer(MsgAnswer::Yes);
        StopJob(app);
        EXPECT_FALSE(app.jobs.listBusy);
        EXPECT_EQ(app.jobs.Code() == 0, c.stops) << c.code;
        if (c.question) {
            ASSERT_EQ(ui.MessageCount(), 1u) << c.code;
            EXPECT_EQ(ui.LastMessage().text, c.question);
            EXPECT_EQ(ui.LastMessage().caption, "LinkTrawl");
            EXPECT_EQ(ui.LastMessage().style.buttons, MsgButtons::YesNo);
            EXPECT_EQ(ui.LastMessage().style.icon, MsgIcon::Question);
        } else {
            EXPECT_EQ(ui.MessageCount(), 0u) << c.code;
        }
    }
    // Answered No, the job goes on.
    ui.ClearRecords();
    app.jobs.jobCode = 2;
    StopJob(app);
    EXPECT_EQ(app.jobs.Code(), 2);
    ui.ClearRecords();
    app.jobs.jobCode = 0;
    StopJob(app);
    EXPECT_EQ(ui.MessageCount(), 0u);
}

TEST_F(JobControlTest, StopCurrentSendsInternetJobsToTheirStopState)
{
    int aborted = 0;
    app.jobs.abortConnection = [&] { ++aborted; };
    for (const int32_t code : {200, 201}) {
        app.jobs.jobCode = code;
        StopCurrent(app);
        EXPECT_EQ(app.jobs.Code(), kJobInetStop);
    }
    EXPECT_EQ(aborted, 2);
    app.jobs.jobCode = 7;
    StopCurrent(app);
    EXPECT_EQ(app.jobs.Code(), 0);
}

TEST_F(JobControlTest, SkipOnlyWhileAJobRuns)
{
    SkipFile(app);
    EXPECT_FALSE(app.jobs.skipRequested);
    app.jobs.jobCode = 2;
    SkipFile(app);
    EXPECT_TRUE(app.jobs.skipRequested);
    app.jobs.jobCode = 0;
}

TEST_F(JobControlTest, OneJobAtATimeAndTheEndIsPosted)
{
    StartLoop(kJobFolderSearch);
    EXPECT_EQ(app.jobs.Code(), kJobFolderSearch);
    EXPECT_FALSE(StartJob(app, kJobPickedFiles, [](AppState&) {}));
    app.jobs.jobCode = 0;
    JoinWorker(app);
    EXPECT_TRUE(ui.WasPosted(kMsgRestoreCursor));
    EXPECT_EQ(ui.CursorChanges().front(), true);

    // A job that returns without giving its code back ends idle all the same.
    ASSERT_TRUE(StartJob(app, kJobListEdit, [](AppState&) {}));
    JoinWorker(app);
    EXPECT_EQ(app.jobs.Code(), 0);
}

TEST_F(JobControlTest, AFailingJobReportsAnErrorAndEndsIdle)
{
    ASSERT_TRUE(StartJob(app, kJobBookmarks, [](AppState&) { throw std::runtime_error("disk full"); }));
    JoinWorker(app);
    EXPECT_EQ(app.jobs.Code(), 0);
    ASSERT_EQ(ui.MessageCount(), 1u);
    EXPECT_EQ(ui.LastMessage().text, "disk full");
    EXPECT_EQ(ui.LastMessage().caption, "Error");
    EXPECT_TRUE(ui.WasPosted(kMsgRestoreCursor));
}

TEST_F(JobControlTest, AStopDuringTheJobIsNotUndone)
{
    std::latch started(1);
    ASSERT_TRUE(StartJob(app, kJobConnecting, [&](AppState& a) {
        started.count_down();
        while (a.jobs.Code() == kJobConnecting)
            std::this_thread::sleep_for(1ms);
    }));
    started.wait();
    StopCurrent(app);
    JoinWorker(app);
    EXPECT_EQ(app.jobs.Code(), kJobInetStop); // the internet layer takes it from there
    app.jobs.jobCode = 0;
}

TEST_F(JobControlTest, NumberedThreadsGetSlotsAfterTheHandshake)
{
    std::atomic<bool> release{false};
    std::vector<JobParam> seen(3);
    auto entry = [&](AppState&, JobParam p) {
        seen[static_cast<std::size_t>(p.slot)] = p;
        while (!release)
            std::this_thread::sleep_for(1ms);
    };
    app.status.SetStatusText("42", 2);
    EXPECT_EQ(StartNumberedThread(app, entry, 10), 0);
    // The starter waited for the hand-shake: the slot already runs.
    EXPECT_EQ(app.jobs.threadSlots[0].load(), 2);
    EXPECT_EQ(ui.Pane(2), " ");
    EXPECT_EQ(StartNumberedThread(app, entry, 11), 1);
    EXPECT_EQ(StartNumberedThread(app, entry, 12), 2);
    EXPECT_EQ(app.jobs.numberedThreads.load(), 2);
    release = true;
    JoinWorker(app);
    EXPECT_EQ(seen[1].value, 11);
    EXPECT_EQ(seen[2].value, 12);
    EXPECT_EQ(app.jobs.numberedThreads.load(), -1);
    EXPECT_EQ(app.jobs.threadSlots[2].load(), 0);

    // Back to idle: all slots are cleared and number 0 is used again.
    release = false;
    EXPECT_EQ(StartNumberedThread(app, entry, 13), 0);
    release = true;
    JoinWorker(app);

    app.jobs.jobCode = 4; // not while a job runs
    EXPECT_EQ(StartNumberedThread(app, entry, 1), -1);
    app.jobs.jobCode = 0;
}

TEST_F(JobControlTest, TooManyThreadsStartsNothing)
{
    app.jobs.numberedThreads = 255; // 256 threads already counted
    bool ran = false;
    EXPECT_EQ(StartNumberedThread(app, [&](AppState&, JobParam) { ran = true; }, 1), -1);
    EXPECT_FALSE(ran);
    EXPECT_EQ(ui.LastMessage().text, "Too many threads !");
    EXPECT_EQ(ui.LastMessage().caption, "Error");
    EXPECT_EQ(app.jobs.numberedThreads.load(), 255);
    app.jobs.numberedThreads = -1;
}

} // namespace
} // namespace lt
