// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/list_export.h"

#include <gtest/gtest.h>

#include "export_fixture.h"

namespace lt {
namespace {

using testing::ExportFixture;

class CsvExport : public ExportFixture
{
protected:
    CsvExport()
    {
        SetColumns({"Item", "Line", "Offset", "File"});
        app.exportSettings.order = "321"; // the column order is not the CSV's
    }
};

TEST_F(CsvExport, ExportedColumnsInListOrderWithTheDelimiterBetween)
{
    ExportColumns({1, 3});
    AddRow({"alpha", "1", "10", "/f"});
    AddRow({"be;ta", "2", "", "/f"}); // a field holding the delimiter stays as it is
    AddRow({"", "3", "30", "/f"});
    const std::string out = PathOf("out.csv");

    ASSERT_TRUE(ExportCsv(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "alpha;10\r\nbe;ta;\r\n;30\r\n");
    EXPECT_EQ(port.LastMessage().text, "3 Item(s) copied !");
}

TEST_F(CsvExport, OwnDelimiterAndEmptyLinesLeftOut)
{
    ExportColumns({4});
    app.exportSettings.delimiter = '\t';
    AddRow({"a", "", "", "/one"});
    AddRow({"b", "", "", ""});
    AddRow({"c", "", "", "/two"});
    const std::string out = PathOf("out.csv");

    ASSERT_TRUE(ExportCsv(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "/one\r\n/two\r\n");
    EXPECT_EQ(port.LastMessage().text, "2 Item(s) copied !");

    ExportColumns({1, 2, 4});
    ASSERT_TRUE(ExportCsv(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "a\t\t/one\r\nb\t\t\r\nc\t\t/two\r\n");
}

TEST_F(CsvExport, ExistingFileIsReplacedWithoutAQuestion)
{
    ExportColumns({1});
    AddRow({"new"});
    const std::string out = PathOf("out.csv");
    WriteFile(out, "a much longer old content\r\n");

    ASSERT_TRUE(ExportCsv(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "new\r\n");
    EXPECT_EQ(port.MessageCount(), 1u);
}

TEST_F(CsvExport, SelectedRowsOnlyAndNoneSelected)
{
    ExportColumns({1, 2});
    AddRow({"a", "1"});
    AddRow({"b", "2"});
    const std::string out = PathOf("sel.csv");
    EXPECT_FALSE(ExportCsv(app, app.list, out, true, 0));
    EXPECT_FALSE(std::filesystem::exists(out));

    app.list.SetSelected(1, true);
    ASSERT_TRUE(ExportCsv(app, app.list, out, true, 0));
    EXPECT_EQ(ReadFile(out), "b;2\r\n");
    EXPECT_EQ(port.MessageCount(), 0u);
}

TEST_F(CsvExport, ColumnsTheListLacksAreNotWritten)
{
    // Cells kept hidden beyond a narrowed column set must not reappear in the file.
    ExportColumns({1, 2, 3});
    AddRow({"a", "1", "hidden"});
    SetColumns({"Url", "Title"});
    const std::string out = PathOf("narrow.csv");
    ASSERT_TRUE(ExportCsv(app, app.list, out, false, 0));
    EXPECT_EQ(ReadFile(out), "a;1\r\n");
}

} // namespace
} // namespace lt
