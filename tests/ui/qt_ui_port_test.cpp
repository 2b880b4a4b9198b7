// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_ui_port.h"

#include <gtest/gtest.h>

#include <QProgressBar>

#include <atomic>
#include <thread>

#include "test_application.h"
#include "ui/status_panes.h"

namespace lt {
namespace {

TEST(QtUiPort, PaneTextsArriveInOrderOnTheWindowThread)
{
    test::Application();
    QtUiPort port;
    StatusPanes panes;
    port.SetStatusPanes(&panes);
    std::thread worker([&port] {
        for (int i = 0; i <= 100; ++i)
            port.SetPaneText(2, std::to_string(i));
        port.SetPaneText(0, "caf\xE9");
    });
    worker.join();
    EXPECT_TRUE(test::WaitFor([&] { return panes.Text(0) == QString(QStringLiteral("caf") + QChar(0xE9)); }));
    EXPECT_EQ(panes.Text(2), QStringLiteral("100"));
}

TEST(QtUiPort, ProgressBarLivesOverPaneOneOnlyWhileAJobRuns)
{
    test::Application();
    QtUiPort port;
    StatusPanes panes;
    panes.resize(700, 24);
    port.SetStatusPanes(&panes);
    port.ProgressBegin();
    for (int i = 0; i < 150; ++i)
        port.ProgressStep();
    ASSERT_TRUE(test::WaitFor([&] { return panes.ProgressBar() && panes.ProgressBar()->value() == 100; }));
    const auto edges = StatusPanes::PaneEdges(700);
    EXPECT_EQ(panes.ProgressBar()->x(), edges[0] + 5);
    EXPECT_EQ(panes.ProgressBar()->width(), edges[1] - edges[0] - 8);
    port.ProgressEnd();
    EXPECT_TRUE(test::WaitFor([&] { return panes.ProgressBar() == nullptr; }));
}

TEST(QtUiPort, AWorkersQuestionBlocksUntilTheWindowAnswers)
{
    test::Application();
    QtUiPort port;
    std::atomic<bool> asked{false};
    port.SetMessageHandler([&](const std::string& text, const std::string&, MsgStyle style) {
        asked = true;
        EXPECT_EQ(text, "Stop current Search ?");
        EXPECT_EQ(style.buttons, MsgButtons::YesNo);
        return MsgAnswer::Yes;
    });
    std::atomic<bool> done{false};
    MsgAnswer answer = MsgAnswer::No;
    std::thread worker([&] {
        answer = port.ShowMessage("Stop current Search ?", "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question});
        done = true;
    });
    // Without the window thread serving events the worker waits.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(done.load());
    EXPECT_TRUE(test::WaitFor([&] { return done.load(); }));
    worker.join();
    EXPECT_TRUE(asked.load());
    EXPECT_EQ(answer, MsgAnswer::Yes);
}

TEST(QtUiPort, WhileClosingWorkersGetNoAtOnce)
{
    test::Application();
    QtUiPort port;
    port.SetMessageHandler([](const std::string&, const std::string&, MsgStyle) { return MsgAnswer::Yes; });
    port.SetClosing(true);
    MsgAnswer answer = MsgAnswer::Yes;
    std::thread worker([&] { answer = port.ShowMessage("?", "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question}); });
    worker.join(); // no event loop needed
    EXPECT_EQ(answer, MsgAnswer::No);
}

TEST(QtUiPort, TimersAndPostsReachTheirHandlers)
{
    test::Application();
    QtUiPort port;
    std::vector<int> fired;
    std::vector<int> posted;
    port.SetTimerHandler([&](int id) { fired.push_back(id); });
    port.SetPostHandler([&](int message, std::intptr_t w, std::intptr_t) {
        posted.push_back(message);
        EXPECT_EQ(w, 7);
    });
    port.ArmTimer(980, 10);
    port.ArmTimer(982, 10);
    port.KillTimer(982);
    port.Post(2401, 7, 0);
    EXPECT_TRUE(test::WaitFor([&] { return !fired.empty() && !posted.empty(); }));
    test::WaitFor([] { return false; }, 60);
    EXPECT_EQ(fired, std::vector<int>{980});
    EXPECT_EQ(posted, std::vector<int>{2401});
}

TEST(StatusPanes, EdgesFollowTheWidth)
{
    const auto edges = StatusPanes::PaneEdges(769);
    EXPECT_EQ(edges[0], 400);
    EXPECT_EQ(edges[1], 700);
    EXPECT_EQ(edges[2], 750);
}

} // namespace
} // namespace lt
