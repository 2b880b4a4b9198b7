// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/list_view_ops.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include "core/app_state.h"
#include "list/list_kind.h"
#include "recording_ui_port.h"
#include "search/search_jobs.h"
#include "test_application.h"

namespace lt {
namespace {

TEST(DroppedFiles, OneFileIsTakenAsItIs)
{
    EXPECT_EQ(SelectionFromPaths({QStringLiteral("/data/a.html")}), "/data/a.html");
    EXPECT_EQ(SelectionFromPaths({}), "");
}

TEST(DroppedFiles, SeveralFilesFormTheMultiSelectionAndKeepForeignFolders)
{
    const std::string selection = SelectionFromPaths(
        {QStringLiteral("/data/a.html"), QStringLiteral("/data/b.txt"), QStringLiteral("/other/c.htm")});
    EXPECT_EQ(selection, std::string("/data\0a.html\0b.txt\0/other/c.htm\0\0", 33));
    // The search driver reads the form back into full paths.
    const std::vector<std::string> paths = SelectionPaths(selection);
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], "/data/a.html");
    EXPECT_EQ(paths[2], "/other/c.htm");
}

TEST(DroppedFiles, SelectionStaysWithin8192Bytes)
{
    QStringList many;
    for (int i = 0; i < 2000; ++i)
        many.push_back(QStringLiteral("/data/file-number-%1.html").arg(i));
    const std::string selection = SelectionFromPaths(many);
    EXPECT_LE(selection.size(), 8192u);
    ASSERT_GE(selection.size(), 2u);
    EXPECT_EQ(selection[selection.size() - 1], '\0');
    EXPECT_EQ(selection[selection.size() - 2], '\0');
}

TEST(DroppedFiles, CaptionShowsThreeNamesThenDots)
{
    EXPECT_EQ(DroppedNamesCaption({QStringLiteral("/x/a.htm")}), "\"a.htm\"");
    EXPECT_EQ(DroppedNamesCaption({QStringLiteral("/x/a"), QStringLiteral("/y/b"), QStringLiteral("/z/c")}),
              "\"a\" \"b\" \"c\"");
    EXPECT_EQ(DroppedNamesCaption({QStringLiteral("/x/a"), QStringLiteral("/y/b"), QStringLiteral("/z/c"),
                                   QStringLiteral("/z/d")}),
              "\"a\" \"b\" \"c\" ...");
}

TEST(FileListDrop, RowsKeepTheDroppedOrderWithSizes)
{
    test::Application();
    RecordingUiPort port;
    AppState app(port);
    SwitchListKind(app, kListFileList);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString b = dir.filePath(QStringLiteral("b.txt"));
    const QString a = dir.filePath(QStringLiteral("a.txt"));
    for (const auto& [path, size] : {std::pair{b, 3}, std::pair{a, 10}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
    }
    AddFileListRows(app, {b, a, dir.path()}); // the folder itself is not a file
    ASSERT_EQ(app.list.RowCount(), 2u);
    EXPECT_EQ(app.list.GetCell(0, 0), b.toStdString());
    EXPECT_EQ(app.list.GetCell(0, 4), "3");
    EXPECT_EQ(app.list.GetCell(1, 4), "10");
    EXPECT_FALSE(app.list.GetCell(1, 1).empty()); // modified date
}

TEST(ClearResults, NonFileKindGoesBackToTheSearchList)
{
    RecordingUiPort port;
    AppState app(port);
    SwitchListKind(app, kListAboutUrls);
    ResultRow row;
    row.cells = {"http://a.example/", "A"};
    app.list.InsertRow(row);
    app.search.searchCaption = "/data non binary files";
    ClearResults(app);
    EXPECT_EQ(app.list.RowCount(), 0u);
    EXPECT_EQ(app.listState.kind, kListFileSearch);
    EXPECT_EQ(app.listState.previousKind, kListAboutUrls);
    EXPECT_TRUE(app.search.searchCaption.empty());
    EXPECT_EQ(app.list.GetHeaderText(0), "Url");
}

TEST(FitListColumns, FittingTwiceRestoresTheWidth)
{
    test::Application();
    RecordingUiPort port;
    AppState app(port);
    ApplyListKind(app, 2);
    ResultRow row;
    row.cells = {"http://a-rather-long-host-name.example.org/with/a/long/path/index.html", "T", "/f"};
    app.list.InsertRow(row);
    QTableView view;
    view.resize(900, 400);
    const int before = app.list.Column(0).width;
    FitListColumns(app, view, 0);
    EXPECT_TRUE(app.list.Column(0).fitted);
    EXPECT_NE(app.list.Column(0).width, before);
    FitListColumns(app, view, 0);
    EXPECT_FALSE(app.list.Column(0).fitted);
    EXPECT_EQ(app.list.Column(0).width, before);
}

} // namespace
} // namespace lt
