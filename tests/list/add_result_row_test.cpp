// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/add_result_row.h"

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "list/list_kind.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

class AddResultRowTest : public ::testing::Test
{
protected:
    AddResultRowTest() : app(ui) { ApplyListKind(app, 2); }

    RecordingUiPort ui;
    AppState app;
};

TEST_F(AddResultRowTest, OmitAllDuplicatesRefusesRowsEqualIgnoringCase)
{
    app.settings.duplicatesPolicy = 2;
    EXPECT_EQ(AddResultRow(app, "http://b.com/x"), 0);
    EXPECT_EQ(AddResultRow(app, "HTTP://B.COM/X"), -1);
    EXPECT_EQ(AddResultRow(app, "http://a.com/"), 0);
    EXPECT_EQ(app.list.RowCount(), 2u);
    // A refused row changes nothing: the next row gets the next parameter.
    EXPECT_EQ(app.list.Param(1), 0u);
    EXPECT_EQ(app.list.Param(0), 1u);
    EXPECT_EQ(app.listState.rowSerial, 1);
}

TEST_F(AddResultRowTest, CaseSensitiveKeepsCaseVariantsUnlessTheFirstMatchIsExact)
{
    app.settings.duplicatesPolicy = 2;
    app.settings.caseSensitive = true;
    EXPECT_GE(AddResultRow(app, "http://x.com/A"), 0);
    EXPECT_GE(AddResultRow(app, "http://x.com/a"), 0); // differs in case: kept
    EXPECT_EQ(app.list.RowCount(), 2u);
    // The first row that the case-insensitive search meets is ".../A": an exact ".../A" goes.
    EXPECT_EQ(AddResultRow(app, "http://x.com/A"), -1);
    // ".../a" is not the first match, so it is added again.
    EXPECT_GE(AddResultRow(app, "http://x.com/a"), 0);
    EXPECT_EQ(app.list.RowCount(), 3u);
}

TEST_F(AddResultRowTest, DuplicateRuleOnlyForItsKindsPolicyAndColumns)
{
    auto twice = [&](const char* text) {
        ClearResultList(app);
        AddResultRow(app, text);
        AddResultRow(app, text);
        return app.list.RowCount();
    };
    app.settings.duplicatesPolicy = 1;
    EXPECT_EQ(twice("http://a.com"), 2u);
    app.settings.duplicatesPolicy = 2;
    EXPECT_EQ(twice("http://a.com"), 1u);
    SwitchListKind(app, kListFavorites);
    EXPECT_EQ(twice("http://a.com"), 1u);
    SwitchListKind(app, kListHistoryIndex);
    EXPECT_EQ(twice("http://a.com"), 2u);
    SwitchListKind(app, kListAboutUrls); // two columns only
    EXPECT_EQ(twice("http://a.com"), 2u);
    SwitchListKind(app, kListFileSearch);
    app.listState.hitRateMode = 1;
    AddResultRow(app, "http://a.com");
    AddResultRow(app, "http://a.com");
    EXPECT_EQ(app.list.RowCount(), 2u);
}

TEST_F(AddResultRowTest, RowTextsFillTheCellsThatExist)
{
    app.listState.rowTexts[1] = "Title";
    app.listState.rowTexts[2] = "/tmp/page.html";
    app.listState.rowTexts[3] = "never"; // the URL list has three columns
    const long row = AddResultRow(app, "http://a.com/");
    EXPECT_EQ(app.list.GetCell(static_cast<std::size_t>(row), 1), "Title");
    EXPECT_EQ(app.list.GetCell(static_cast<std::size_t>(row), 2), "/tmp/page.html");
    EXPECT_EQ(app.list.Row(static_cast<std::size_t>(row)).cells.size(), 3u);
    EXPECT_EQ(app.listState.lastAddedRow, row);

    SwitchListKind(app, kListIeTyped); // one column
    app.listState.rowTexts[1] = "x";
    AddResultRow(app, "http://b.com/");
    EXPECT_EQ(app.list.GetCell(0, 1), "");
}

TEST_F(AddResultRowTest, ParametersCountFromZeroAfterAClear)
{
    AddResultRow(app, "http://a.com");
    AddResultRow(app, "http://b.com");
    ClearResultList(app);
    EXPECT_EQ(app.listState.paramCounter, -1);
    EXPECT_EQ(AddResultRow(app, "http://z.com"), 0);
    EXPECT_EQ(app.list.Param(0), 0u);
    EXPECT_EQ(app.listState.rowSerial, 0);
}

TEST_F(AddResultRowTest, IndexRecordsPackOffsetAndFileNumberAndKeepBothInFull)
{
    SwitchListKind(app, kListHistoryIndex);
    app.listState.indexFileNumber = 3;
    app.listState.paramCounter = 0x5000;
    AddResultRow(app, "http://a.com");
    ResultRow row = app.list.Row(0);
    EXPECT_EQ(row.param, 0x03005000u);
    EXPECT_EQ(row.recordOffset, 0x5000u);
    EXPECT_EQ(row.fileNumber, 3u);

    // An offset beyond 24 bits must not change the file number in the packed form.
    app.listState.paramCounter = 0x1234567;
    AddResultRow(app, "http://b.com");
    row = app.list.Row(1);
    EXPECT_EQ(row.param >> 24, 3u);
    EXPECT_EQ(row.recordOffset, 0x1234567u);

    app.listState.indexFileNumber = 0; // no index file: a plain counter
    app.listState.paramCounter = 9;
    AddResultRow(app, "http://c.com");
    EXPECT_EQ(app.list.Param(2), 10u);
}

TEST_F(AddResultRowTest, IconByEndingOrKeptForOwnIconJobs)
{
    EXPECT_EQ(app.list.Icon(static_cast<std::size_t>(AddResultRow(app, "http://a.com/setup.EXE"))), 4);
    app.jobs.jobCode = kJobOwnIcons;
    app.listState.lastIcon = 22;
    EXPECT_EQ(app.list.Icon(static_cast<std::size_t>(AddResultRow(app, "http://a.com/b.zip"))), 22);
    app.jobs.jobCode = 0;
}

TEST_F(AddResultRowTest, IconForTextEndings)
{
    EXPECT_EQ(IconForText(app, "http://host/path"), 1);
    EXPECT_EQ(IconForText(app, "http://a.com/x.EXE"), 4);
    EXPECT_EQ(IconForText(app, "http://a.com/x.htm"), 1);
    EXPECT_EQ(IconForText(app, "http://a.com/x.hpp"), 1);
    EXPECT_EQ(IconForText(app, "http://a.com/x.h"), 1); // one letter after the h: not a web page
    EXPECT_EQ(IconForText(app, "http://a.com/x.c"), 17);
    EXPECT_EQ(IconForText(app, "http://a.com/x.tar.gz"), 3);
    EXPECT_EQ(IconForText(app, "http://a.com/x.JPEG"), 15);
    EXPECT_EQ(IconForText(app, "http://a.com/x.mpeg4"), 1); // five characters
    EXPECT_EQ(IconForText(app, "http://a.com/x."), 1);
    EXPECT_EQ(IconForText(app, "ftp://a.com/s.sh"), 14);

    app.settings.itemKind = kItemEmail;
    EXPECT_EQ(IconForText(app, "someone@setup.exe"), 1);
    app.settings.itemKind = kItemUser;
    EXPECT_EQ(IconForText(app, "file.zip"), 1);
    app.settings.userPrefix = true;
    EXPECT_EQ(IconForText(app, "file.zip"), 3);
    // Other kinds always look at the ending.
    app.settings.itemKind = kItemEmail;
    app.listState.kind = kListFileList;
    EXPECT_EQ(IconForText(app, "/home/a/b.wav"), 8);
}

TEST_F(AddResultRowTest, AddRowNumbersFromTheCounterWithoutDuplicateCheck)
{
    ResultList list;
    list.SetAutoSort(AutoSort::Off);
    long counter = 5;
    std::array<std::string, 8> cells{"one", "", "three"};
    EXPECT_EQ(AddRow(list, counter, "u", cells, 7, 42), 0);
    EXPECT_EQ(AddRow(list, counter, "u", cells, 7, 43), 1);
    EXPECT_EQ(counter, 7);
    EXPECT_EQ(list.GetCell(0, 1), "one");
    EXPECT_EQ(list.GetCell(0, 2), ""); // three columns: the cell 3 text has no column
    EXPECT_EQ(list.Icon(1), 7);
    EXPECT_EQ(list.Param(1), 43u);
}

} // namespace
} // namespace lt
