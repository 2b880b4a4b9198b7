// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/job_control.h"
#include "list/cut_params_job.h"
#include "list/delete_empty_lines.h"
#include "list/delete_selected.h"
#include "list/delete_with_job.h"
#include "list/edit_entry.h"
#include "list/replace_job.h"
#include "list/select_with_job.h"
#include "list/unescape_job.h"
#include "list/view_edit.h"
#include "list_test_support.h"

namespace lt {
namespace {

using test::ColumnTexts;
using test::FillList;
using test::MakeColumn;

ReplaceParams Replace(std::string w, std::string r, bool left = false, bool right = false)
{
    ReplaceParams p;
    p.findPart = std::move(w);
    p.replacePart = std::move(r);
    p.fromLeft = left;
    p.fromRight = right;
    return p;
}

ReplaceParams CutOff(std::string mark, bool right, bool keepRight, bool keepDelimiter)
{
    ReplaceParams p;
    p.editMode = kEditCutOff;
    p.findPart = std::move(mark);
    p.fromLeft = !right;
    p.fromRight = right;
    p.keepLeft = !keepRight;
    p.keepRight = keepRight;
    p.keepDelimiter = keepDelimiter;
    return p;
}

ReplaceParams Append(std::string w, bool right, bool copyFirstWord = false, bool opposite = false)
{
    ReplaceParams p;
    p.editMode = kEditAppend;
    p.findPart = std::move(w);
    p.fromLeft = !right;
    p.fromRight = right;
    p.copyFirstWord = copyFirstWord;
    p.toOppositeSide = opposite;
    return p;
}

struct CellCase
{
    const char* name;
    ReplaceParams params;
    std::string before;
    std::string after; // equal to `before`: no change expected
};

TEST(ReplaceCell, ModesOnOneCell)
{
    ReplaceParams caseSensitive = Replace("\xC9", "e");
    caseSensitive.matchCase = true;
    const std::string long258(258, 'x');
    const std::string long257(257, 'x');
    const std::vector<CellCase> cases = {
        {"all occurrences", Replace("a", "b"), "aaa", "bbb"},
        {"first only", Replace("a", "b", true), "aaa", "baa"},
        {"last only", Replace("a", "b", false, true), "aaa", "aab"},
        // Each search goes on after the inserted text: no re-matching of a replacement.
        {"no re-match of the replacement", Replace("ab", "ba"), "abb", "bab"},
        {"shorter replacement keeps the rest", Replace("abc", "a"), "xabcbc", "xabc"},
        {"empty replacement removes every match", Replace("abc", ""), "abcabcx", "x"},
        {"find longer than the cell", Replace("abcdef", "x"), "abc", "abc"},
        {"case folded with Windows-1252 letters", Replace("\xE9", "e"), "CAF\xC9\xE9", "CAFee"},
        {"match case keeps other case", caseSensitive, "\xE9\xC9", "\xE9" "e"},
        {"insert at the right once", Replace("", ".htm", false, true), "page", "page.htm"},
        {"insert at the right: already there", Replace("", ".htm", false, true), "page.HTM", "page.HTM"},
        {"insert into an empty cell", Replace("", "x", true), "", "x"},
        {"replacement would reach 259", Replace("x", "yy", true), long258, long258},
        {"cut keep left from the right", CutOff("/", true, false, false), "a/b/c", "a/b"},
        {"cut keep left with delimiter", CutOff("/", true, false, true), "a/b/c", "a/b/"},
        {"cut keep right at a mark that ends the cell", CutOff("/", false, true, false), "abc/", "abc/"},
        {"cut keep right with delimiter at the end", CutOff("/", false, true, true), "abc/", "/"},
        {"cut keep right strips blanks", CutOff(":", false, true, false), "key:  value", "value"},
        {"cut keep left at position 0", CutOff("a", false, false, false), "abc", "abc"},
        {"cut mark missing", CutOff("#", false, false, false), "abc", "abc"},
        {"append once", Append(".htm", true), "page.htm", "page.htm"},
        {"append", Append(".htm", true), "page", "page.htm"},
        {"prepend", Append("http://", false), "host", "http://host"},
        // A prepend that would reach 259 would lose the URL's end: skipped.
        {"prepend too long", Append("ab", false), long257, long257},
        {"append too long", Append("ab", true), long257, long257},
        {"copy first word from the left", Append("", false, true), "foo bar", "foo foo bar"},
        {"copy first word to the opposite side", Append("", false, true, true), "foo bar", "foo bar foo"},
        {"copy last word from the right", Append("", true, true), "foo bar", "foo bar bar"},
        {"copy word: no blank", Append("", false, true), "foobar", "foobar"},
        {"copy word: too long", Append("", false, true), "a " + std::string(256, 'b'),
         "a " + std::string(256, 'b')},
        {"empty cell stays empty", Append("x", true), "", ""},
    };
    for (const CellCase& c : cases) {
        std::string cell = c.before;
        const bool changed = ReplaceCellText(cell, c.params);
        EXPECT_EQ(cell, c.after) << c.name;
        EXPECT_EQ(changed, c.after != c.before) << c.name;
    }
}

TEST(ReplaceCell, RefusalRules)
{
    ReplaceParams noColumn = Replace("a", "b");
    noColumn.editColumns = {};
    ReplaceParams cutNoSide = CutOff("/", false, false, false);
    cutNoSide.fromLeft = false;
    EXPECT_TRUE(ReplaceRefused(noColumn));
    EXPECT_TRUE(ReplaceRefused(Replace("a", "a")));
    EXPECT_TRUE(ReplaceRefused(Replace("", "")));
    EXPECT_TRUE(ReplaceRefused(Replace("", "x")));
    EXPECT_FALSE(ReplaceRefused(Replace("", "x", false, true)));
    EXPECT_TRUE(ReplaceRefused(CutOff("", false, false, false)));
    EXPECT_TRUE(ReplaceRefused(cutNoSide));
    EXPECT_TRUE(ReplaceRefused(Append("", true)));
    EXPECT_FALSE(ReplaceRefused(Append("", true, true)));
}

TEST(UnescapeAndCutParams, Texts)
{
    const std::vector<std::pair<std::string, std::string>> unescape = {
        {"a%2Fb%zz", "a/b%zz"},
        {"%41%4a%", "AJ%"},
        // Escapes of control bytes would put line ends or NULs into a cell.
        {"x%0D%0Ay%00%7F%1f", "x%0D%0Ay%00%7F%1f"},
        {"%20", " "},
    };
    for (const auto& [in, out] : unescape) {
        std::string t = in;
        UnescapeText(t);
        EXPECT_EQ(t, out) << in;
    }
    std::string caseOnly = "a%2f";
    EXPECT_TRUE(UnescapeText(caseOnly));

    const std::vector<std::pair<std::string, std::string>> cut = {
        {"http://host?x", "http://host"},
        {"http://host/dir/page.asp?x=1", "http://host/dir"},
        {"http://host/", "http://host/"},
        {"host=1", "host"},
        {"http://host/a/b;jsessionid=1", "http://host/a"},
        {"?x", "?x"},
    };
    for (const auto& [in, out] : cut) {
        std::string t = in;
        EXPECT_EQ(CutParamsText(t), in != out) << in;
        EXPECT_EQ(t, out) << in;
    }
}

class ListEditTest : public ::testing::Test, protected test::ListFixture
{
protected:
    void Fill(const std::vector<std::vector<std::string>>& rows)
    {
        FillList(app.list, {MakeColumn("Url", kColText), MakeColumn("Title", kColTitle), MakeColumn("File", kColPath)},
                 rows);
    }
    std::string LastMessage() const
    {
        const auto m = port.Messages();
        return m.empty() ? std::string() : m.back().text;
    }
};

TEST_F(ListEditTest, ReplaceJobCountsRowsSelectsTheFirstAndClearsTheOrderFlag)
{
    Fill({{"http://a/x", "x"}, {"http://b/x", "x x"}, {"http://c/y", "y"}});
    ReplaceParams p = Replace("x", "q");
    p.editColumns = {true, true, false, false, false, false};
    ASSERT_TRUE(StartReplaceJob(app, p));
    JoinWorker(app);
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"http://a/q", "http://b/q", "http://c/y"}));
    EXPECT_EQ(ColumnTexts(app.list, 1), (std::vector<std::string>{"q", "q q", "y"}));
    EXPECT_EQ(LastMessage(), "2 items modified !");
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{0}));
    EXPECT_TRUE(app.sorting.mainSortedByUrl.load());
    EXPECT_EQ(app.jobs.Code(), 0);

    // "http://b/..." renamed to "http://z/..." stands before "http://c/y": out of order.
    p = Replace("b", "z", true);
    ASSERT_TRUE(StartReplaceJob(app, p));
    JoinWorker(app);
    EXPECT_EQ(LastMessage(), "One item modified !");
    EXPECT_FALSE(app.sorting.mainSortedByUrl.load());

    ASSERT_TRUE(StartReplaceJob(app, Replace("nothing", "x")));
    JoinWorker(app);
    EXPECT_EQ(LastMessage(), "No items modified !");
}

TEST_F(ListEditTest, SelectedOnlyEditsTheSelectedRows)
{
    Fill({{"a%41"}, {"b%41"}, {"c%41"}});
    app.list.SetSelectedRows({1});
    ASSERT_TRUE(StartUnescapeJob(app, true));
    JoinWorker(app);
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"a%41", "bA", "c%41"}));
    EXPECT_EQ(LastMessage(), "One url modified !");
    ASSERT_TRUE(StartCutParamsJob(app, false));
    JoinWorker(app);
    EXPECT_EQ(LastMessage(), "No items modified !");
}

TEST_F(ListEditTest, RowContainsAWordWhenAnyTickedCellDoes)
{
    Fill({{"http://linux.org/", "Home"}, {"http://x.com/", "about LINUX"}, {"http://y.com/", "other"}, {"", ""}});
    WordMatchParams p;
    p.notContaining = "linux";
    p.columns = {true, true, false, false, false, false};
    // Per cell, the first two rows would go because one of their cells lacks the word.
    ASSERT_TRUE(StartDeleteWithJob(app, p));
    JoinWorker(app);
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"http://linux.org/", "http://x.com/", ""}));

    WordMatchParams s;
    s.containing = "home  about";
    s.columns = {false, true, false, false, false, false};
    ASSERT_TRUE(StartSelectWithJob(app, s));
    JoinWorker(app);
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(LastMessage(), "2 items selected !");

    WordMatchParams same;
    same.containing = "Linux";
    same.notContaining = "LINUX";
    EXPECT_TRUE(WordMatchRefused(same));
    EXPECT_FALSE(StartSelectWithJob(app, same));
    WordMatchParams blanks;
    blanks.containing = "   ";
    EXPECT_TRUE(WordMatchRefused(blanks));
}

TEST_F(ListEditTest, DeleteKeepsTheRememberedRowAndDeletesEmptyLines)
{
    Fill({{"a1"}, {"b"}, {"a2"}, {"c"}, {" ", "\t"}, {"d"}});
    app.list.SetSelectedRows({3});
    WordMatchParams p;
    p.containing = "a";
    ASSERT_TRUE(StartDeleteWithJob(app, p));
    JoinWorker(app);
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"b", "c", " ", "d"}));
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{1})); // still "c"

    EXPECT_EQ(DeleteEmptyLines(app), 1);
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"b", "c", "d"}));

    app.list.SetSelectedRows({1, 2});
    EXPECT_EQ(DeleteSelected(app), 2);
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"b"}));
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{0}));
    EXPECT_EQ(app.status.PaneText(2), "1");
}

TEST_F(ListEditTest, EditEntryMovesARenamedRowToItsSortedPlace)
{
    Fill({{"http://a/", "A"}, {"http://b/", "B"}, {"http://c/", "C"}});
    app.list.SetAutoSort(AutoSort::Ascending);
    app.list.SetSelectedRows({0});
    EXPECT_EQ(EditEntryCommand(app, 0, "", "x"), -1);
    const long at = EditEntryCommand(app, 0, "http://d/", "D");
    EXPECT_EQ(at, 2);
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{"http://b/", "http://c/", "http://d/"}));
    EXPECT_EQ(app.list.GetCell(2, 1), "D");
    EXPECT_EQ(app.list.Param(2), 0u);
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{2}));
    EXPECT_TRUE(app.sorting.mainSortedByUrl.load());
}

TEST_F(ListEditTest, EditsInTheDomainViewReachTheResultList)
{
    Fill({{"http://a.com/", "home"}, {"http://a.com/news.htm", "news"}, {"http://b.org/1.htm", "b1"},
          {"http://b.org/2.htm?x=1", "b2"}});
    ASSERT_TRUE(BuildDomainsCommand(app));
    WaitForFolderFills(app);
    ASSERT_TRUE(EditingDomainList(app));
    int aCom = -1;
    std::string path;
    for (std::size_t i = 0; i < app.domain.tree.Size(); ++i) {
        NodePath(app.domain.tree, static_cast<int>(i), path);
        if (path == "http://a.com")
            aCom = static_cast<int>(i);
    }
    ASSERT_GE(aCom, 0);
    ASSERT_TRUE(ShowFolder(app, aCom));
    WaitForFolderFills(app);
    ASSERT_EQ(ColumnTexts(app.secondList, 0), (std::vector<std::string>{"http://a.com/", "http://a.com/news.htm"}));

    ASSERT_TRUE(StartReplaceJob(app, Replace(".htm", ".html")));
    JoinWorker(app);
    EXPECT_EQ(LastMessage(), "One item modified !");
    EXPECT_EQ(app.secondList.GetCell(1, 0), "http://a.com/news.html");
    // The row of another folder was not in the folder list and stays.
    EXPECT_EQ(app.list.GetCell(2, 0), "http://b.org/1.htm");
    // Every row the folder list changed changed in the result list too, and nothing else.
    for (std::size_t i = 0; i < app.secondList.RowCount(); ++i) {
        const uint32_t param = app.secondList.Param(i);
        for (std::size_t j = 0; j < app.list.RowCount(); ++j) {
            if (app.list.Param(j) == param) {
                EXPECT_EQ(app.list.GetCell(j, 0), app.secondList.GetCell(i, 0));
            }
        }
    }
    EXPECT_TRUE(app.domain.refreshPending.load());
    RefreshDomainTree(app);
    WaitForFolderFills(app);

    // Deleting in the folder list deletes the result-list row with the same parameter.
    const std::size_t before = app.list.RowCount();
    const uint32_t param = app.secondList.Param(0);
    app.secondList.SetSelectedRows({0});
    EXPECT_EQ(DeleteSelected(app), 1);
    WaitForFolderFills(app);
    EXPECT_EQ(app.list.RowCount(), before - 1);
    for (std::size_t j = 0; j < app.list.RowCount(); ++j)
        EXPECT_NE(app.list.Param(j), param);

    // Editing an entry of the folder list renames its result-list row.
    ASSERT_GT(app.secondList.RowCount(), 0u);
    const uint32_t edited = app.secondList.Param(0);
    EXPECT_GE(EditEntryCommand(app, 0, "http://a.com/zz.htm", "renamed"), 0);
    WaitForFolderFills(app);
    bool found = false;
    for (std::size_t j = 0; j < app.list.RowCount(); ++j) {
        if (app.list.Param(j) != edited)
            continue;
        found = true;
        EXPECT_EQ(app.list.GetCell(j, 0), "http://a.com/zz.htm");
        EXPECT_EQ(app.list.GetCell(j, 1), "renamed");
    }
    EXPECT_TRUE(found);
}

} // namespace
} // namespace lt
