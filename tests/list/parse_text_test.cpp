// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/parse_text.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/job_control.h"
#include "list/parse_command.h"
#include "list_test_support.h"
#include "search/temp_tree.h"
#include "store/ini_file.h"

namespace lt {
namespace {

using test::ColumnTexts;

std::vector<std::string> Parse(const ParseSettings& s, std::string_view bytes, bool folder = false)
{
    std::vector<std::string> rows;
    ParseBytes(MakeParsePlan(s, folder), bytes, "/x/f.txt", [&rows](ParseRow& r) {
        std::string joined;
        for (std::size_t i = 0; i < r.size(); ++i)
            joined += (i ? "|" : "") + r[i];
        while (joined.size() > 1 && joined.back() == '|')
            joined.pop_back();
        rows.push_back(joined);
    });
    return rows;
}

ParseSettings Markers(std::initializer_list<std::string> markers)
{
    ParseSettings s;
    int i = 0;
    for (const std::string& m : markers)
        s.startMarker[i++] = m;
    return s;
}

TEST(ParseText, MarkersWordsAndLines)
{
    // Two markers: A after "Name:", B after "Age:"; F becomes "Line". One line may hold several
    // records.
    EXPECT_EQ(Parse(Markers({"Name:", "Age:"}), "Name: a Age: 1 Name: b Age: 2"),
              (std::vector<std::string>{"a|1||||1", "b|2||||1"}));
    EXPECT_EQ(Parse(Markers({"Name:", "Age:"}), "Name: x Age: 5\r\n  Name: y, Age: 61\n"),
              (std::vector<std::string>{"x|5||||1", "y,|61||||2"}));
    // A value running over lines joins with a blank; the record ends with the last column.
    EXPECT_EQ(Parse(Markers({"From:", "Subject:"}), "From: a\nb c\nSubject: s\n"),
              (std::vector<std::string>{"a b c|s||||1"}));
    // No settings: one word a column, word ends trimmed, brackets with their opener kept.
    EXPECT_EQ(Parse({}, "one, two. [x], {a}. \"q\" six seven\n\n   \n"),
              (std::vector<std::string>{"one|two|[x]|{a}|\"q|six"}));
    // Word mode up to the last column set, with a marker skipping ahead.
    ParseSettings words;
    words.startMarker[2] = "at";
    EXPECT_EQ(Parse(words, "GET /a at 10:00!\n"), (std::vector<std::string>{"GET|/a|10:00|||1"}));
    // Line mode: every line, empty ones included, in file order.
    ParseSettings lines;
    lines.entireLine[0] = lines.entireLine[1] = true;
    EXPECT_EQ(Parse(lines, "  a\n\nb\nc\n"), (std::vector<std::string>{"  a|||||1", "b|c||||3"}));
    EXPECT_TRUE(MakeParsePlan(lines, false).keepOrder);
    // A Space marker splits at the first blank after the previous column.
    ParseSettings space = Markers({"id="});
    space.spaceMarker[1] = true;
    EXPECT_EQ(Parse(space, "id=7 rest of it\n"), (std::vector<std::string>{"7|rest of it||||1"}));
}

TEST(ParseText, EntireLineAnchorTakesTheLinesBefore)
{
    ParseSettings s;
    s.entireLine[0] = s.entireLine[1] = true;
    s.entireLine[2] = true;
    s.startMarker[2] = "END";
    // The first anchor has one earlier line only: the column before it stays empty.
    EXPECT_EQ(Parse(s, "x\nEND 1\na\nb\nEND 2\n"),
              (std::vector<std::string>{"|x|END 1|||1", "a|b|END 2|||3"}));
}

TEST(ParseText, LineRangeAndLimits)
{
    std::string text;
    for (int i = 1; i <= 12; ++i)
        text += "w" + std::to_string(i) + "\n";
    ParseSettings range;
    range.startLine = 10;
    range.endLine = 5; // below the start: to the end
    EXPECT_EQ(Parse(range, text), (std::vector<std::string>{"w10", "w11", "w12"}));
    range.startLine = 2;
    range.endLine = 3;
    EXPECT_EQ(Parse(range, text), (std::vector<std::string>{"w2", "w3"}));

    // An over-long line is cut and stays one line: its rest never becomes a record.
    ParseSettings lines;
    lines.entireLine[0] = true;
    const std::string longLine = std::string(kParseLineLimit + 500, 'a') + "TAIL";
    const auto rows = Parse(lines, longLine + "\nnext\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], "next|||||2");
    EXPECT_EQ(rows[0].substr(0, 4), "aaaa");
    EXPECT_EQ(rows[0].find("TAIL"), std::string::npos);

    // At most 2048 segments from one line.
    std::string many;
    for (int i = 0; i < 3000; ++i)
        many += "k:" + std::to_string(i) + " ";
    EXPECT_EQ(Parse(Markers({"k:"}), many).size(), 2048u);
}

TEST(ParseText, HeadersForFilesAndFolders)
{
    const auto one = ParseHeaders(MakeParsePlan(Markers({"a"}), false));
    EXPECT_EQ(one, (std::array<std::string, 6>{"A", "B", "C", "D", "E", "Line"}));
    const auto folder = ParseHeaders(MakeParsePlan(Markers({"a"}), true));
    EXPECT_EQ(folder, (std::array<std::string, 6>{"A", "B", "C", "D", "Line", "File"}));
    ParseSettings five = Markers({"a", "b", "c", "d", "e"});
    EXPECT_EQ(ParseHeaders(MakeParsePlan(five, true)), (std::array<std::string, 6>{"A", "B", "C", "D", "E", "File"}));
}

TEST(ParseText, SettingsFileRoundTripAndRefusal)
{
    testing::TempTree tree;
    ParseSettings s = Markers({"Name: ", "Age:"});
    s.parseFile = "/var/log/x.log";
    s.spaceMarker[2] = true;
    s.entireLine[5] = true;
    s.startLine = 3;
    s.endLine = 40;
    const std::string path = tree.Path("cols.lts");
    ASSERT_EQ(SaveParseSettingsFile(path, s), "");
    IniFile ini;
    ASSERT_EQ(ini.Load(path), "");
    EXPECT_EQ(ini.GetString("LTSfile", "U0", ""), "5");
    EXPECT_EQ(ini.GetString("FillCols", "FCSPACES", ""), "001000");
    EXPECT_EQ(ini.GetString("FillCols", "FCSTEND", ""), "3;40;");
    ParseSettings back;
    ASSERT_EQ(LoadParseSettingsFile(path, back), "");
    EXPECT_EQ(back, s);

    const std::string other = tree.Write("settings.lts", "[LTSfile]\r\nU0=2\r\n[FillCols]\r\nFCFF0=zz\r\n");
    ParseSettings untouched = s;
    EXPECT_EQ(LoadParseSettingsFile(other, untouched), "No Search Settings found !");
    EXPECT_EQ(untouched, s);
}

class ParseListTest : public ::testing::Test, protected test::ListFixture
{
};

TEST_F(ParseListTest, FolderParseFillsLineAndFileColumnsAndSkipsFifos)
{
    testing::TempTree tree;
    const std::string a = tree.Write("logs/a.log", "Name: x Age: 5\n");
    const std::string b = tree.Write("logs/sub/b.log", "junk\nName: y Age: 6\n");
    ASSERT_EQ(mkfifo(tree.Path("logs/pipe").c_str(), 0600), 0);
    ParseSettings s = Markers({"Name:", "Age:"});
    s.parseFile = tree.Path("logs");
    ASSERT_TRUE(ParseCommand(app, s));
    JoinWorker(app);
    EXPECT_EQ(app.listState.kind, kListParsedText);
    EXPECT_EQ(app.list.GetHeaderText(4), "Line");
    EXPECT_EQ(app.list.GetHeaderText(5), "File");
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(ColumnTexts(app.list, 4), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(ColumnTexts(app.list, 5), (std::vector<std::string>{a, b}));
    EXPECT_EQ(port.Messages().back().text, "2 Items found !");

    // A FIFO named as the file parses nothing and never blocks.
    s.parseFile = tree.Path("logs/pipe");
    ASSERT_TRUE(ParseCommand(app, s));
    JoinWorker(app);
    EXPECT_EQ(app.list.RowCount(), 0u);
}

} // namespace
} // namespace lt
