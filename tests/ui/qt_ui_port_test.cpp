// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_ui_port.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLayout>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QProgressBar>

#include <atomic>
#include <functional>
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

// The window thread serves the calls while the worker still queues more, as in a running job:
// each call may be freed on either thread.
TEST(QtUiPort, PaneTextsArriveWhileTheWorkerStillQueues)
{
    test::Application();
    QtUiPort port;
    StatusPanes panes;
    port.SetStatusPanes(&panes);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i <= 3000; ++i)
            port.SetPaneText(2, std::to_string(i));
        done.store(true);
    });
    while (!done.load())
        QCoreApplication::processEvents();
    worker.join();
    EXPECT_TRUE(test::WaitFor([&] { return panes.Text(2) == QStringLiteral("3000"); }));
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
    const auto edges = StatusPanes::PaneEdges(700, panes.CountPaneWidth());
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
        answer =
            port.ShowMessage("Stop current Search ?", "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question});
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
    std::thread worker([&] {
        answer = port.ShowMessage("?", "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question});
    });
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

// Runs `act` on the message box once it is open.
void WhenBoxOpens(const std::function<void(QMessageBox&)>& act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*box);
        }
    });
    poll->start(10);
}

TEST(MessageBox, ReturnAnswersTheFirstButtonAndTheCaptionFits)
{
    test::Application();
    const std::string caption = "Could not save the Search Settings";
    int captionWidth = 0;
    int boxWidth = 0;
    WhenBoxOpens([&](QMessageBox& box) {
        captionWidth =
            QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(box.windowTitle());
        boxWidth = box.width();
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_EQ(QtUiPort::ShowMessageBox("Stop ?", caption, {MsgButtons::YesNo, MsgIcon::Question}),
              MsgAnswer::Yes);
    EXPECT_GT(captionWidth, 0);
    EXPECT_GE(boxWidth, captionWidth + 60);
}

TEST(MessageBox, AQuestionMadeMootClosesItselfWithTheSafeAnswer)
{
    test::Application();
    std::atomic<int32_t> job{2};
    MsgStyle style{MsgButtons::YesNo, MsgIcon::Question};
    style.watchedJob = &job;
    style.mootUnless = 2;
    bool opened = false;
    WhenBoxOpens([&](QMessageBox&) {
        opened = true;
        job = 0; // the search ended while its stop question was open
    });
    EXPECT_EQ(QtUiPort::ShowMessageBox("Stop current Search ?", "LinkTrawl", style), MsgAnswer::No);
    EXPECT_TRUE(opened);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // Moot before it opens: no box at all.
    EXPECT_EQ(QtUiPort::ShowMessageBox("Stop current Search ?", "LinkTrawl", style), MsgAnswer::No);
}

TEST(StatusPanes, EdgesFollowTheWidth)
{
    const auto edges = StatusPanes::PaneEdges(769);
    EXPECT_EQ(edges[0], 400);
    EXPECT_EQ(edges[1], 700);
    EXPECT_EQ(edges[2], 750);
    const auto wide = StatusPanes::PaneEdges(769, 80);
    EXPECT_EQ(wide[1], 670);
    EXPECT_EQ(wide[0], 382);
}

TEST(StatusPanes, TheCountPaneShowsNineDigitsWhole)
{
    test::Application();
    StatusPanes panes;
    panes.resize(700, 24);
    panes.show();
    for (const QString& count : {QStringLiteral("116219"), QStringLiteral("123456789")}) {
        panes.SetText(2, count);
        QCoreApplication::processEvents();
        auto* frame = panes.findChild<QWidget*>(QStringLiteral("pane2"));
        ASSERT_NE(frame, nullptr);
        const QFontMetrics metrics(frame->font());
        const QMargins margins = frame->layout()->contentsMargins();
        EXPECT_GE(frame->width() - margins.left() - margins.right() - 2, metrics.horizontalAdvance(count))
            << count.toStdString();
    }
}

} // namespace
} // namespace lt
