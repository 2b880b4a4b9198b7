// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/list_export.h"

#include <gtest/gtest.h>

#include "export_fixture.h"

namespace lt {
namespace {

using testing::ExportFixture;

class ClipboardCopy : public ExportFixture
{
protected:
    ClipboardCopy()
    {
        SetColumns({"Url", "Title", "File"});
        AddRow({"http://a.example/", "A1", "/f1"});
        AddRow({"http://a.example/", "A2", "/f2"}, true);
        AddRow({"http://b.example/", "", "/f3"}, true);
        ExportColumns({1, 2});
    }
};

TEST_F(ClipboardCopy, AllRowsInTheGroupedLayout)
{
    EXPECT_EQ(ListClipboardText(app, app.list, 0, 0, 0),
              "http://a.example/\r\n  A1\r\n  A2\r\nhttp://b.example/\r\n");
    EXPECT_EQ(CopyListToClipboard(app, app.list, 0, 0, 0), 3);
    EXPECT_EQ(port.ClipboardText(), "http://a.example/\r\n  A1\r\n  A2\r\nhttp://b.example/\r\n");
    EXPECT_EQ(port.LastMessage().text, "3 Item(s) copied !");
}

TEST_F(ClipboardCopy, SelectedAndFocusedRowsCopyWithoutACountMessage)
{
    EXPECT_EQ(CopyListToClipboard(app, app.list, 1, 0, 0), 2);
    EXPECT_EQ(port.ClipboardText(), "http://a.example/\r\n  A2\r\nhttp://b.example/\r\n");

    app.list.SetFocusedRow(0); // the first row counts as a focused row
    EXPECT_EQ(CopyListToClipboard(app, app.list, 2, 0, 0), 1);
    EXPECT_EQ(port.ClipboardText(), "http://a.example/\r\n  A1\r\n");
    EXPECT_EQ(port.MessageCount(), 0u);
}

TEST_F(ClipboardCopy, NothingSelectedOrFocusedLeavesTheClipboardAlone)
{
    port.SetClipboardText("before");
    app.list.SetSelectedRows({});
    app.list.SetFocusedRow(-1);
    EXPECT_EQ(CopyListToClipboard(app, app.list, 1, 0, 0), 0);
    EXPECT_EQ(CopyListToClipboard(app, app.list, 2, 0, 0), 0);
    EXPECT_EQ(port.ClipboardText(), "before");
    EXPECT_EQ(port.MessageCount(), 0u);
}

TEST_F(ClipboardCopy, ColumnKeysPickOneColumn)
{
    EXPECT_EQ(ListClipboardText(app, app.list, 0, 0, '3'), "/f1\r\n/f2\r\n/f3\r\n");
    EXPECT_EQ(ListClipboardText(app, app.list, 0, 0, '2'), "A1\r\nA2\r\n");
    // A digit beyond the column count means the last column; other keys column 1.
    EXPECT_EQ(ListClipboardText(app, app.list, 0, 0, '8'), "/f1\r\n/f2\r\n/f3\r\n");
    EXPECT_EQ(ListClipboardText(app, app.list, 0, 0, '9'),
              "http://a.example/\r\nhttp://a.example/\r\nhttp://b.example/\r\n");
}

TEST_F(ClipboardCopy, MissingExportColumnsAreReported)
{
    ExportColumns({4});
    port.SetClipboardText("before");
    EXPECT_EQ(CopyListToClipboard(app, app.list, 0, 0, 0), 0);
    EXPECT_EQ(port.LastMessage().text, "Please check Columns to export (see Options) !");
    EXPECT_EQ(port.ClipboardText(), "before");
    // A column key does not depend on the export flags.
    EXPECT_EQ(CopyListToClipboard(app, app.list, 0, 0, '1'), 3);
}

TEST_F(ClipboardCopy, ColumnOrderAndHeadersAsInTheTextExport)
{
    ExportColumns({1, 2, 3});
    app.exportSettings.order = "312";
    EXPECT_EQ(ListClipboardText(app, app.list, 1, 0, 0),
              "/f2\r\n  Url: http://a.example/\r\n  Title: A2\r\n/f3\r\n  Url: http://b.example/\r\n");
}

TEST_F(ClipboardCopy, LongListsShowTheWaitCursor)
{
    for (int i = 0; i < 401; ++i)
        AddRow({"http://c.example/" + std::to_string(i)});
    EXPECT_EQ(CopyListToClipboard(app, app.list, 0, 0, 0), 404);
    EXPECT_EQ(port.CursorChanges(), (std::vector<bool>{true, false}));
}

} // namespace
} // namespace lt
