// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/status_test_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QPointer>

#include <chrono>

#include "core/command_ids.h"
#include "inet/inet_slot.h"
#include "inet/local_server.h"
#include "inet/network_init.h"
#include "window_fixture.h"

namespace lt {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class StatusWindowTest : public test::RoutesServerSuite<test::WindowFixture>
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ASSERT_GT(s_server->Port(), 0);
        app.options.inet.timeoutSeconds = 30;
        app.options.inet.retries = 0;
        app.options.inet.delayMinutes = 0;
    }
    StatusTestWindow* OpenWithRows(const std::vector<std::string>& urls)
    {
        app.list.ClearRows();
        AddRows(urls);
        window->View()->selectAll();
        EXPECT_TRUE(window->RunCommand(kCmdTestUrlStatus));
        return Newest();
    }
    StatusTestWindow* Newest() const
    {
        StatusTestWindow* newest = nullptr;
        for (StatusTestWindow* w : window->findChildren<StatusTestWindow*>())
            if (!newest || w->Slot().index > newest->Slot().index)
                newest = w;
        return newest;
    }

};

TEST_F(StatusWindowTest, TwoWindowsEachActOnTheirOwnSlot)
{
    const std::vector<std::string> urls = {s_server->Url("/site/c.htm"), s_server->Url("/stall")};
    QPointer<StatusTestWindow> older = OpenWithRows(urls);
    ASSERT_TRUE(older);
    QPointer<StatusTestWindow> newer = OpenWithRows(urls);
    ASSERT_TRUE(newer);
    ASSERT_NE(older.data(), newer.data());
    EXPECT_EQ(older->Slot().index, 3u);
    EXPECT_EQ(newer->Slot().index, 4u);
    ASSERT_EQ(older->Rows().Count(), 2u);

    older->PressOk();
    newer->PressOk();
    ASSERT_TRUE(test::WaitFor([&] { return older->Rows().Status(0) == "Ok" && newer->Rows().Status(0) == "Ok"; }));
    EXPECT_EQ(older->OkButton()->text(), QStringLiteral("&Skip"));

    // "&Skip" in the older window ends its own pending row; the newer one keeps waiting.
    older->PressOk();
    ASSERT_TRUE(test::WaitFor([&] { return !older->Running(); }, 2000));
    EXPECT_TRUE(newer->Running());
    EXPECT_EQ(older->Rows().Status(1), "");
    EXPECT_EQ(older->Slot().state.load(), kSlotIdle);
    ASSERT_TRUE(test::WaitFor([&] { return older->OkButton()->text() == QStringLiteral("&OK"); }));
    EXPECT_TRUE(older->StateLine()->text().startsWith(QStringLiteral("Status: Idle... (")));
    EXPECT_EQ(older->CounterLine()->text(), QStringLiteral("Ok Items: 1/2"));

    // The statuses went back into the result list, in a "Status" column of their own.
    const int column = app.list.ColumnCount() - 1;
    EXPECT_EQ(app.list.GetHeaderText(column), "Status");
    EXPECT_EQ(app.list.GetCell(0, column), "Ok");

    const auto start = Clock::now();
    newer->PressCancel();
    ASSERT_TRUE(test::WaitFor([&] { return !newer->Running(); }, 2000));
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_EQ(newer->Rows().Status(1), "");

    older->DeleteOkItems();
    EXPECT_EQ(older->Rows().Count(), 1u);
    EXPECT_EQ(older->CounterLine()->text(), QStringLiteral("Ok Items: 0/1"));

    newer->PressCancel();
    ASSERT_TRUE(test::WaitFor([&] { return newer.isNull(); }));
    EXPECT_EQ(app.inetSlots[4].state.load(), kSlotFree);
    older->close();
}

TEST_F(StatusWindowTest, ClosingALongListAsksFirst)
{
    std::vector<std::string> urls;
    for (int i = 0; i < 9; ++i)
        urls.push_back("http://host" + std::to_string(i) + ".invalid/");
    QPointer<StatusTestWindow> status = OpenWithRows(urls);
    ASSERT_TRUE(status);
    answer = MsgAnswer::No;
    status->PressCancel();
    QCoreApplication::processEvents();
    ASSERT_FALSE(status.isNull());
    EXPECT_EQ(Messages().back(), "LinkTrawl: Close Test Url Status Window ?");
    answer = MsgAnswer::Yes;
    status->PressCancel();
    ASSERT_TRUE(test::WaitFor([&] { return status.isNull(); }));
    EXPECT_EQ(app.inetSlots[3].state.load(), kSlotFree);
}

TEST_F(StatusWindowTest, ClipboardRowsAndNoFreeSlot)
{
    app.list.ClearRows();
    window->Model()->Refresh();
    QGuiApplication::clipboard()->setText(QStringLiteral("a http://a.example/x b ftp://f.example/y"));
    ASSERT_TRUE(window->RunCommand(kCmdTestUrlStatus));
    StatusTestWindow* first = Newest();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Rows().Count(), 2u);
    EXPECT_EQ(first->Rows().Url(1), "ftp://f.example/y");
    // Slots 3..15: thirteen windows, then nothing opens.
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(StatusTestWindow::Open(*window));
    EXPECT_EQ(StatusTestWindow::Open(*window), nullptr);
    for (StatusTestWindow* w : window->findChildren<StatusTestWindow*>())
        w->close();
    ASSERT_TRUE(test::WaitFor([&] { return window->findChildren<StatusTestWindow*>().isEmpty(); }));
    EXPECT_EQ(app.inetSlots[15].state.load(), kSlotFree);
}

} // namespace
} // namespace lt
