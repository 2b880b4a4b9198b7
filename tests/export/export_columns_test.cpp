// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_columns.h"

#include <gtest/gtest.h>

#include "export/export_common.h"
#include "export/html_escape.h"

namespace lt {
namespace {

using Order = std::array<int, kExportFlagCount>;

TEST(ColumnOrder, StoredTextsGiveEveryColumnOnce)
{
    EXPECT_EQ(ColumnOrderFromText("123456"), (Order{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ColumnOrderFromText("654321"), (Order{6, 5, 4, 3, 2, 1}));
    // The INI default "1" and other short texts keep the built-in order for the rest.
    EXPECT_EQ(ColumnOrderFromText("1"), (Order{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ColumnOrderFromText("31"), (Order{3, 1, 2, 4, 5, 6}));
    EXPECT_EQ(ColumnOrderFromText(""), (Order{1, 2, 3, 4, 5, 6}));
    // Repeats and foreign characters never drop or double a column.
    EXPECT_EQ(ColumnOrderFromText("3313x9 2"), (Order{3, 1, 2, 4, 5, 6}));
    EXPECT_EQ(ColumnOrderFromText("0789"), (Order{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ColumnOrderFromText("2222222"), (Order{2, 1, 3, 4, 5, 6}));
}

TEST(ColumnOrder, OnlyCompleteOrdersAreValidEntries)
{
    EXPECT_TRUE(IsValidColumnOrder("123456"));
    EXPECT_TRUE(IsValidColumnOrder("615243"));
    EXPECT_FALSE(IsValidColumnOrder("12345"));
    EXPECT_FALSE(IsValidColumnOrder("112345"));
    EXPECT_FALSE(IsValidColumnOrder("123457"));
    EXPECT_FALSE(IsValidColumnOrder("1234567"));
}

class Plan : public ::testing::Test
{
protected:
    Plan()
    {
        list.SetColumns({{"Url"}, {"Title"}, {"File"}, {"File Date"}, {"File Size"}});
    }
    ResultList list;
    ExportSettings settings;
};

TEST_F(Plan, NoTickedColumnMeansColumnOne)
{
    settings.columns.fill(false);
    EXPECT_EQ(FirstExportedColumn(settings), 0);
    EXPECT_EQ(PlanExportColumns(settings, list, 0).listOrder, (std::vector<int>{0}));
}

TEST_F(Plan, ColumnCheckLooksAtTheFirstTickedColumnOnly)
{
    settings.columns = {false, false, true, false, false, true};
    EXPECT_TRUE(ExportColumnsAvailable(settings, list, 0));
    const auto columns = PlanExportColumns(settings, list, 0);
    EXPECT_EQ(columns.listOrder, (std::vector<int>{2})); // column 6 is not in this list
    EXPECT_EQ(columns.headers[2], "File");

    list.SetColumns({{"Url"}, {"Title"}});
    EXPECT_FALSE(ExportColumnsAvailable(settings, list, 0));
    EXPECT_FALSE(ExportColumnsAvailable(settings, list, 1));
    EXPECT_TRUE(ExportColumnsAvailable(settings, list, 2));
}

TEST_F(Plan, OrderAppliesToResultListsOnly)
{
    settings.columns = {true, true, false, true, false, false};
    settings.order = "421365";
    auto columns = PlanExportColumns(settings, list, 0);
    EXPECT_EQ(columns.listOrder, (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(columns.textOrder, (std::vector<int>{3, 1, 0}));
    EXPECT_EQ(columns.firstHeader, "Url");

    columns = PlanExportColumns(settings, list, 4);
    EXPECT_EQ(columns.listOrder, (std::vector<int>{0, 1}));
    EXPECT_EQ(columns.textOrder, (std::vector<int>{0, 1}));
    EXPECT_EQ(PlanExportColumns(settings, list, 3).listOrder, (std::vector<int>{0}));
    EXPECT_EQ(PlanExportColumns(settings, list, 5).listOrder, (std::vector<int>{0, 1}));
}

TEST_F(Plan, LongHeadersAreCutTo63Bytes)
{
    list.SetHeaderText(1, std::string(80, 'h'));
    settings.columns = {true, true, false, false, false, false};
    EXPECT_EQ(PlanExportColumns(settings, list, 0).headers[1].size(), 63u);
}

TEST(ExportTexts, PathWrapsAfterTheLastSlashWithinThe32FirstCharacters)
{
    EXPECT_EQ(WrapPathForMessage("/home/user/list.txt"), "/home/user/list.txt");
    EXPECT_EQ(WrapPathForMessage("/home/user/documents/exports/2024/list.txt"),
              "/home/user/documents/exports/ 2024/list.txt");
    // The slash at index 31 is still among the first 32 characters.
    const std::string at31 = std::string("/") + std::string(30, 'a') + "/tail-of-the-name.txt";
    EXPECT_EQ(WrapPathForMessage(at31), at31.substr(0, 32) + " " + at31.substr(32));
    const std::string noSlash = std::string(40, 'b');
    EXPECT_EQ(WrapPathForMessage(noSlash), noSlash);
}

TEST(ExportTexts, DateTextHasFixedEnglishNames)
{
    std::tm t{};
    t.tm_year = 99;
    t.tm_mon = 5;
    t.tm_mday = 30;
    t.tm_wday = 3;
    t.tm_hour = 21;
    t.tm_min = 49;
    EXPECT_EQ(ExportDateText(t), "Wed Jun 30, 21:49, 1999");
    t.tm_mday = 3;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_year = 124;
    t.tm_mon = 0;
    t.tm_wday = 0;
    EXPECT_EQ(ExportDateText(t), "Sun Jan  3, 07:05, 2024");
}

TEST(ExportTexts, HtmlEscapeTouchesOnlyMarkupCharacters)
{
    EXPECT_EQ(HtmlEscape("a&b<c>d\"e'f\xe9"), "a&amp;b&lt;c&gt;d&quot;e'f\xe9");
    EXPECT_EQ(HtmlEscape("&amp;"), "&amp;amp;");
    EXPECT_EQ(HtmlEscape(""), "");
}

} // namespace
} // namespace lt
