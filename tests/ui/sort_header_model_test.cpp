// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/sort_header_model.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include <QAction>
#include <QMenu>

#include "core/command_ids.h"
#include "list/sort_command.h"
#include "ui/status_panes.h"
#include "window_fixture.h"

namespace lt {
namespace {

class HeaderSortTest : public test::WindowFixture
{
protected:
    void ClickHeader(int column, int x)
    {
        QHeaderView* header = window->View()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + x, 5));
        ASSERT_TRUE(WaitIdle());
        QCoreApplication::processEvents();
    }

    SortHeaderModel* Model() { return static_cast<SortHeaderModel*>(window->Model()); }

    qint64 HeaderIconKey(int column)
    {
        const QIcon icon = Model()->headerData(column, Qt::Horizontal, Qt::DecorationRole).value<QIcon>();
        return icon.cacheKey();
    }
};

TEST_F(HeaderSortTest, ClicksInTheArrowZoneSortAndFlipTheShownDirection)
{
    AddRows({"http://c.example/", "http://a.example/", "http://b.example/"});
    EXPECT_EQ(Model()->SortedColumn(), -1); // added out of order: no header claims an order

    ClickHeader(0, 5);
    EXPECT_EQ(HeaderIconKey(0), SortHeaderModel::DirectionIcon(false).cacheKey());
    EXPECT_EQ(Column0(), (std::vector<std::string>{"http://a.example/", "http://b.example/", "http://c.example/"}));
    EXPECT_FALSE(Model()->ColumnDescending(0));
    EXPECT_TRUE(app.sorting.mainSortedByUrl.load());

    ClickHeader(0, 5);
    EXPECT_EQ(Column0(), (std::vector<std::string>{"http://c.example/", "http://b.example/", "http://a.example/"}));
    EXPECT_TRUE(Model()->ColumnDescending(0));
    EXPECT_EQ(HeaderIconKey(0), SortHeaderModel::DirectionIcon(true).cacheKey());
    // Sorted the other way the list no longer builds domains.
    EXPECT_FALSE(window->Action(1480)->isEnabled());

    // Beyond the zone the click fits the column and leaves the order alone.
    ClickHeader(0, 100);
    EXPECT_EQ(Column0().front(), "http://c.example/");
    EXPECT_TRUE(Model()->ColumnDescending(0));

    // A cleared list starts over with the natural direction.
    ASSERT_TRUE(window->RunCommand(1452));
    EXPECT_FALSE(Model()->ColumnDescending(0));
    EXPECT_TRUE(app.sorting.mainSortedByUrl.load());
}

TEST_F(HeaderSortTest, OnlyTheSortedColumnShowsAnArrowAndTheLastColumnStretches)
{
    AddRows({"http://c.example/", "http://a.example/", "http://b.example/"});
    app.search.severalFiles = true; // the rows come from several files
    ClickHeader(2, 5);
    for (int column = 0; column < Model()->columnCount(); ++column) {
        const QVariant icon = Model()->headerData(column, Qt::Horizontal, Qt::DecorationRole);
        EXPECT_EQ(icon.isValid(), column == 2) << column;
    }
    ClickHeader(0, 5);
    EXPECT_TRUE(Model()->headerData(0, Qt::Horizontal, Qt::DecorationRole).isValid());
    EXPECT_FALSE(Model()->headerData(2, Qt::Horizontal, Qt::DecorationRole).isValid());

    QHeaderView* header = window->View()->horizontalHeader();
    QCoreApplication::processEvents();
    const int last = Model()->columnCount() - 1;
    EXPECT_EQ(header->sectionViewportPosition(last) + header->sectionSize(last), header->viewport()->width());
    // The stretch is the view's, not a width the list remembers.
    EXPECT_NE(app.list.Column(last).width, header->sectionSize(last));
}

TEST_F(HeaderSortTest, TheSortMenuOrdersByLengthThenTheOtherWay)
{
    AddRows({"http://bb.example/", "http://a.example/long/path", "http://c.ex/"});
    ASSERT_TRUE(window->RunCommand(1551));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Column0().front(), "http://a.example/long/path");
    ASSERT_TRUE(window->RunCommand(1551));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(Column0().front(), "http://c.ex/");
    // The selection is shown where the sort put it.
    window->View()->selectRow(0);
    ASSERT_TRUE(window->RunCommand(1552));
    ASSERT_TRUE(WaitIdle());
    QCoreApplication::processEvents();
    const auto rows = app.list.SelectedRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(app.list.GetCell(rows.front(), 0), "http://c.ex/");
    EXPECT_EQ(window->View()->currentIndex().row(), static_cast<int>(rows.front()));
}

TEST_F(HeaderSortTest, EscapeAsksToStopOnlyWhileASortRuns)
{
    AddRows({"http://b.example/", "http://a.example/"});
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(app.sorting.escRequested.load());

    // Seen from the window, a sort job is running.
    app.jobs.jobCode.store(kJobColumnSort);
    QTest::keyClick(window->View(), Qt::Key_Escape);
    EXPECT_TRUE(app.sorting.escRequested.load());
    app.jobs.jobCode.store(0);
    app.sorting.escRequested.store(false);
}

TEST_F(HeaderSortTest, StoppingALargeSortLosesNoRow)
{
    std::vector<std::string> urls;
    for (int i = 60000; i > 0; --i)
        urls.push_back("http://host" + std::to_string(i) + ".example/page");
    AddRows(urls);
    answer = MsgAnswer::Yes;
    QHeaderView* header = window->View()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
    if (app.jobs.Running())
        QTest::keyClick(window->View(), Qt::Key_Escape);
    ASSERT_TRUE(test::WaitFor([&] { return !app.jobs.Running(); }, 30000));
    EXPECT_EQ(app.list.RowCount(), urls.size());
    const auto asked = Messages();
    for (const std::string& m : asked)
        EXPECT_EQ(m, "LinkTrawl: Stop current Process ?");
}

TEST_F(HeaderSortTest, HitRatesAddTheHitsColumnAndWarnOncePerSearch)
{
    AddRows({"http://A.example/", "http://a.example/", "http://b.example/"}, true);
    app.scan.warnOmitted = true;
    answer = MsgAnswer::Cancel;
    EXPECT_TRUE(window->RunCommand(1439));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("Some Items may have been omitted"), std::string::npos);
    EXPECT_EQ(styles[0].buttons, MsgButtons::ContinueCancel);
    EXPECT_EQ(app.list.RowCount(), 3u);
    EXPECT_EQ(app.listState.hitRateMode, 0);

    // Cancelled once, the warning is not repeated for the same search.
    answer = MsgAnswer::Ok;
    EXPECT_TRUE(window->RunCommand(1439));
    ASSERT_TRUE(WaitIdle());
    QCoreApplication::processEvents();
    window->Model()->Refresh();
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(window->Model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Hits"));
    ASSERT_EQ(app.list.RowCount(), 2u);
    EXPECT_EQ(app.list.GetCell(0, 1), "   2");
    EXPECT_EQ(app.list.GetCell(1, 1), "   1");
    EXPECT_EQ(window->Panes()->Text(1), QStringLiteral("3 hits totally"));
    // With the rates shown neither kind of rate can run again over the counts.
    EXPECT_FALSE(window->Action(1439)->isEnabled());
    EXPECT_FALSE(window->RunCommand(kCmdHitRatesColumnFirst + 1));
    // The hits column sorts from a click anywhere on its header, largest count first.
    QHeaderView* header = window->View()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + header->sectionSize(1) - 3, 5));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(app.list.GetCell(0, 1), "   2");
    EXPECT_TRUE(static_cast<SortHeaderModel*>(window->Model())->ColumnDescending(1));
}

TEST_F(HeaderSortTest, PerColumnRatesCountTheChosenColumn)
{
    // Each entry of the menu counts the column it names, the last one included.
    for (const QString& chosen : {QStringLiteral("Title"), QStringLiteral("File")}) {
        window->RunCommand(kCmdClearResults);
        app.listState.hitRateMode = 0;
        ApplyListKind(app, 2);
        QCoreApplication::processEvents();
        AddRows({"http://a.example/", "http://a.example/", "http://b.example/"}, true);
        QAction* entry = nullptr;
        for (QAction* action : window->PerColumnMenu()->actions())
            if (action->text() == chosen)
                entry = action;
        ASSERT_NE(entry, nullptr) << chosen.toStdString();
        ASSERT_TRUE(entry->isEnabled());
        entry->trigger();
        ASSERT_TRUE(WaitIdle());
        window->Model()->Refresh();
        EXPECT_EQ(app.listState.hitRateMode, 1) << chosen.toStdString();
        EXPECT_EQ(window->Model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Hits"));
        ASSERT_EQ(window->Model()->columnCount(), 3);
        EXPECT_EQ(window->Model()->headerData(2, Qt::Horizontal).toString(), chosen);
    }
}

} // namespace
} // namespace lt
