// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/result_table_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QSignalSpy>

#include <thread>

#include "core/app_state.h"
#include "list/list_kind.h"
#include "recording_ui_port.h"
#include "test_application.h"

namespace lt {
namespace {

class ResultTableModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::Application();
        ApplyListKind(app, 2);
        app.list.SetAutoSort(AutoSort::Off);
    }

    void Add(const std::string& url, const std::string& title = {}, int icon = 1)
    {
        ResultRow row;
        row.cells = {url, title, "/f"};
        row.icon = icon;
        app.list.InsertRow(row);
    }

    RecordingUiPort port;
    AppState app{port};
};

TEST_F(ResultTableModelTest, FollowsTheListThroughAppendsRemovalsAndClears)
{
    ResultTableModel model(app, app.list);
    model.SetPollInterval(0);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Url"));
    EXPECT_EQ(model.rowCount(), 0);

    Add("http://a.example/", "A");
    Add("http://b.example/");
    model.Refresh();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("A"));
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QStringLiteral("http://b.example/"));

    app.list.DeleteRow(0);
    model.Refresh();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("http://b.example/"));

    app.list.ClearRows();
    model.Refresh();
    EXPECT_EQ(model.rowCount(), 0);

    // A new column set (another kind) resets the model.
    SwitchListKind(app, kListFileList);
    model.Refresh();
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Size"));
}

TEST_F(ResultTableModelTest, ReadsAreSafeWhileAProducerAddsRows)
{
    ResultTableModel model(app, app.list);
    model.SetPollInterval(0);
    std::thread producer([this] {
        for (int i = 0; i < 20000; ++i)
            Add("http://host" + std::to_string(i) + ".example/");
    });
    int polls = 0;
    while (app.list.RowCount() < 20000 || polls == 0) {
        model.Refresh();
        const int rows = model.rowCount();
        if (rows > 0) {
            EXPECT_FALSE(model.data(model.index(rows - 1, 0)).toString().isEmpty());
        }
        ++polls;
    }
    producer.join();
    model.Refresh();
    EXPECT_EQ(model.rowCount(), 20000);
}

TEST_F(ResultTableModelTest, OnePollPerBatchNotPerRow)
{
    ResultTableModel model(app, app.list);
    model.SetPollInterval(0);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 1000; ++i)
        Add("http://h" + std::to_string(i) + ".example/");
    model.Refresh();
    model.Refresh(); // nothing changed: no signal
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.rowCount(), 1000);
}

TEST_F(ResultTableModelTest, IconsAndAlternateRowColours)
{
    Add("http://a.example/setup.exe", "", 4);
    Add("http://b.example/", "", 1);
    Add("http://c.example/", "", 99); // an icon beyond the standard set
    ResultTableModel model(app, app.list);
    model.SetPollInterval(0);
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(model.data(model.index(2, 0), Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::DecorationRole).isValid());

    app.options.alternateRowColors = false;
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::BackgroundRole).isValid());
    app.options.alternateRowColors = true;
    app.options.rowColor = "0xE6FFFE";
    EXPECT_EQ(model.data(model.index(0, 0), Qt::BackgroundRole).value<QColor>(), QColor(0xE6, 0xFF, 0xFE));
    EXPECT_FALSE(model.data(model.index(1, 0), Qt::BackgroundRole).isValid()); // odd rows: background
    EXPECT_TRUE(model.data(model.index(2, 0), Qt::BackgroundRole).isValid());
}

TEST(RowColor, HexTextAboveWhiteMeansTheSystemColour)
{
    EXPECT_EQ(ResultTableModel::ParseRowColor("0x0000FF"), QColor(0, 0, 255));
    EXPECT_EQ(ResultTableModel::ParseRowColor("ff0000"), QColor(255, 0, 0));
    EXPECT_FALSE(ResultTableModel::ParseRowColor("0x1000000").isValid());
    EXPECT_FALSE(ResultTableModel::ParseRowColor("").isValid());
    EXPECT_FALSE(ResultTableModel::ParseRowColor("0xFFFFFFFFFF").isValid());
}

} // namespace
} // namespace lt
