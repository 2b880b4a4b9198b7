// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/domain_tree.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/cp1252.h"

#include "core/job_control.h"
#include "list/find_in_list.h"
#include "list/sort_orders.h"
#include "list_test_support.h"

namespace lt {
namespace {

using test::ColumnTexts;
using test::FillList;
using test::MakeColumn;

SortSnapshot Rows(const std::vector<std::string>& texts)
{
    SortSnapshot s;
    for (const std::string& t : texts)
        s.Add(t, 1);
    return s;
}

// "label(firstRow)[children]" for a node, to compare whole trees at once.
std::string Shape(const DomainTree& tree, int node)
{
    const DomainNode& n = tree.Node(node);
    std::string out = n.label + "(" + std::to_string(n.firstRow) + ")";
    if (!n.children.empty()) {
        out += "[";
        for (std::size_t i = 0; i < n.children.size(); ++i)
            out += (i ? "," : "") + Shape(tree, n.children[i]);
        out += "]";
    }
    return out;
}

std::string Shape(const DomainTree& tree)
{
    std::string out;
    for (const int r : tree.Roots())
        out += (out.empty() ? "" : " ") + Shape(tree, r);
    return out;
}

std::string Common(std::string_view a, std::string_view b)
{
    std::string out;
    CommonFolderPrefix(a, b, out);
    return out;
}

TEST(DomainText, PrefixEndSkipsDashesAndCase)
{
    EXPECT_EQ(PrefixEnd("http://ab", "HTTP://a-b/x"), 10u);
    EXPECT_EQ(PrefixEnd("http://a-b", "http://ab/x"), 9u);
    EXPECT_EQ(PrefixEnd("http://ab", "http://ac"), 0u);
    EXPECT_EQ(PrefixEnd("", "http://ab"), 0u);
    EXPECT_EQ(PrefixEnd("http://abc", "http://ab"), 0u);
}

TEST(DomainText, CommonFolderStopsAtTheLastSharedSlash)
{
    EXPECT_EQ(Common("http://h/x/1.htm", "http://h/x/2.htm"), "http://h/x");
    EXPECT_EQ(Common("http://h/x/1.htm", "http://h/y.htm"), "http://h");
    EXPECT_EQ(Common("http://h/x/1.htm", "http://k/"), ""); // a scheme alone is no folder
    EXPECT_EQ(Common("http://h/x", "http://h/x/1.htm"), "http://h/x");
    EXPECT_EQ(Common("HTTP://Some-Host/a/1", "http://somehost/a/2"), "HTTP://Some-Host/a");
    EXPECT_EQ(Common("ftp://h//x/1", "ftp://h//x/2"), "ftp://h//x");
    EXPECT_EQ(Common("http://h/a", "http://h/a"), "http://h");
}

TEST(DomainTree, RunsBecomeNestedFolders)
{
    DomainTree tree;
    BuildDomainTree(tree, Rows({"http://h/x/1.htm", "http://h/x/2.htm", "http://k/"}));
    EXPECT_EQ(Shape(tree), "Http(0)[h/x(0)]");

    BuildDomainTree(tree, Rows({"http://h/x/1.htm", "http://h/x/2.htm", "http://h/y.htm", "http://k/"}));
    EXPECT_EQ(Shape(tree), "Http(0)[h(0)[x(0)]]");
    std::string path;
    NodePath(tree, tree.Node(tree.Node(tree.Roots()[0]).children[0]).children[0], path);
    EXPECT_EQ(path, "http://h/x");
}

TEST(DomainTree, RealisticCrawlWithSeveralHostsAndRoots)
{
    DomainTree tree;
    BuildDomainTree(tree, Rows({"ftp://files.org/pub/a.zip", "ftp://files.org/pub/b.zip",
                                "http://a.com/", "http://a.com/docs/intro.htm", "http://a.com/docs/api/x.htm",
                                "http://a.com/docs/api/y.htm", "http://b.org/one.htm", "http://c-d.net/p/1",
                                "http://cd.net/p/2", "https://s.io/a/1", "https://s.io/a/2"}));
    EXPECT_EQ(Shape(tree),
              "Ftp(0)[files.org/pub(0)] Http(2)[a.com(2)[docs(3)[api(4)]],c-d.net/p(7)] Https(9)[s.io/a(9)]");
    EXPECT_TRUE(tree.Node(tree.FindRoot("Http")).expanded);
    // Folders never outnumber rows, and each remembers its run.
    const DomainNode& docs = tree.Node(tree.Node(tree.Node(tree.FindRoot("Http")).children[0]).children[0]);
    EXPECT_EQ(docs.rowEnd, 6u);
}

TEST(DomainTree, NoFtpRootAndNoFoldersForOneRow)
{
    DomainTree tree;
    BuildDomainTree(tree, Rows({"http://only.one/page.htm"}));
    EXPECT_EQ(Shape(tree), "Http(0)");
    BuildDomainTree(tree, Rows({"mailto:x@y", "news:z"}));
    EXPECT_TRUE(tree.Empty());
}

class DomainViewTest : public ::testing::Test, protected test::ListFixture
{
protected:
    void SetUp() override
    {
        std::vector<std::vector<std::string>> rows = {
            {"http://a.com/", "home", "f"},         {"http://a.com/docs/intro.htm", "intro", "f"},
            {"http://a.com/docs/api/x.htm", "x", "f"}, {"http://a.com/docs/api/y.htm", "y", "f"},
            {"http://a.com/news.htm", "news", "f"}, {"http://b.org/1.htm", "b1", "f"},
            {"http://b.org/2.htm", "b2", "f"}};
        FillList(app.list, {MakeColumn("Url", kColText), MakeColumn("Title", kColTitle), MakeColumn("File", kColPath)},
                 rows);
    }
    int Node(const std::string& path)
    {
        std::string p;
        for (std::size_t i = 0; i < app.domain.tree.Size(); ++i) {
            NodePath(app.domain.tree, static_cast<int>(i), p);
            if (p == path)
                return static_cast<int>(i);
        }
        return -1;
    }
};

TEST_F(DomainViewTest, FolderListShowsTheFoldersOwnRows)
{
    ASSERT_TRUE(BuildDomainsCommand(app));
    WaitForFolderFills(app);
    EXPECT_TRUE(app.domain.viewShown);
    // The root shows the rows that lie in no folder (none here).
    const int aCom = Node("http://a.com");
    ASSERT_GE(aCom, 0);
    ASSERT_GE(Node("http://a.com/docs"), 0);
    ASSERT_TRUE(ShowFolder(app, aCom));
    WaitForFolderFills(app);
    EXPECT_EQ(ColumnTexts(app.secondList, 0),
              (std::vector<std::string>{"http://a.com/", "http://a.com/news.htm"}));
    EXPECT_EQ(ColumnTexts(app.secondList, 1), (std::vector<std::string>{"home", "news"}));
    EXPECT_EQ(app.secondList.SelectedRows(), (std::vector<std::size_t>{0}));

    ASSERT_TRUE(ShowFolder(app, Node("http://a.com/docs/api")));
    WaitForFolderFills(app);
    EXPECT_EQ(ColumnTexts(app.secondList, 0),
              (std::vector<std::string>{"http://a.com/docs/api/x.htm", "http://a.com/docs/api/y.htm"}));
}

TEST_F(DomainViewTest, OnlyTheLastOfQuickSelectionsFillsTheList)
{
    ASSERT_TRUE(BuildDomainsCommand(app));
    const int a = Node("http://a.com"), b = Node("http://b.org"), docs = Node("http://a.com/docs");
    for (int round = 0; round < 20; ++round) {
        ShowFolder(app, a);
        ShowFolder(app, docs);
        ShowFolder(app, b);
    }
    WaitForFolderFills(app);
    JoinWorker(app);
    EXPECT_EQ(ColumnTexts(app.secondList, 0), (std::vector<std::string>{"http://b.org/1.htm", "http://b.org/2.htm"}));
    // A fill that lost to a newer selection publishes nothing.
    EXPECT_EQ(FillFolderList(app, MakeFolderQuery(app.domain.tree, a), 1), -1);
}

TEST_F(DomainViewTest, ToggleRebuildAndGuards)
{
    EXPECT_FALSE(ToggleViewCommand(app)); // no tree yet
    app.settings.itemKind = kItemEmail;
    EXPECT_FALSE(BuildDomainsCommand(app));
    app.settings.itemKind = kItemHttpFtp;
    ASSERT_TRUE(BuildDomainsCommand(app));
    WaitForFolderFills(app);
    EXPECT_TRUE(ToggleViewCommand(app));
    EXPECT_FALSE(app.domain.viewShown);
    EXPECT_TRUE(ToggleViewCommand(app));
    EXPECT_TRUE(app.domain.viewShown);

    EXPECT_FALSE(RebuildDomainsAfterSearch(app, 250)); // option off
    app.options.rebuildDomainsAfterSearch = true;
    app.listState.kind = kListFileList;
    EXPECT_FALSE(RebuildDomainsAfterSearch(app, 250));
    app.listState.kind = kListFileSearch;
    app.search.searchCaption = "Search for: Urls";
    ASSERT_TRUE(RebuildDomainsAfterSearch(app, 250));
    WaitForFolderFills(app);
    JoinWorker(app);
    EXPECT_EQ(port.Pane(0), "Search for: Urls");
    EXPECT_FALSE(port.Messages().empty()); // the search's result message
    EXPECT_GE(Node("http://a.com/docs/api"), 0);
}

TEST_F(DomainViewTest, FindGoesThroughTheFolders)
{
    ASSERT_TRUE(BuildDomainsCommand(app));
    WaitForFolderFills(app);
    app.find.findText = "B2";
    app.find.findColumns = {false, true, false, false, false, false};
    ASSERT_TRUE(FindNextCommand(app, true));
    EXPECT_EQ(app.domain.selectedNode, Node("http://b.org"));
    ASSERT_EQ(app.secondList.SelectedRows().size(), 1u);
    EXPECT_EQ(app.secondList.GetCell(app.secondList.SelectedRows()[0], 1), "b2");
    app.find.findText = "nothing like it";
    EXPECT_FALSE(FindNextCommand(app, false));
    ASSERT_FALSE(port.Messages().empty());
    EXPECT_EQ(port.Messages().back().text, "No items found !");
}

// Many hosts and deep paths: every folder shows exactly the rows that lie in it and in none of
// its subfolders, read from its own run of rows, also after rows were added above the folders
// since the tree was built.
TEST_F(DomainViewTest, EveryFolderShowsItsRowsInABigList)
{
    std::vector<std::vector<std::string>> rows;
    static const char* const kParts[] = {"docs", "img", "Api", "news", "a-b"};
    for (int host = 0; host < 12; ++host)
        for (int i = 0; i < 150; ++i) {
            std::string url = "http://h" + std::to_string(host) + ".example.com/";
            for (int d = 0; d < i % 4; ++d)
                url += std::string(kParts[(i / 4 + d) % 5]) + '/';
            url += "page" + std::to_string(i) + ".htm";
            rows.push_back({url, "t" + std::to_string(i), "f"});
        }
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return Cp1252CompareNoCase(a[0], b[0]) < 0; });
    FillList(app.list, {MakeColumn("Url", kColText), MakeColumn("Title", kColTitle), MakeColumn("File", kColPath)},
             rows);
    ASSERT_TRUE(BuildDomainsCommand(app));
    WaitForFolderFills(app);
    ASSERT_GT(app.domain.tree.Size(), 40u);

    const auto expected = [&](int node) {
        const FolderQuery q = MakeFolderQuery(app.domain.tree, node);
        std::vector<std::string> want;
        for (const auto& row : rows) {
            if (!LiesInFolder(q.path, row[0]))
                continue;
            bool inSub = false;
            for (const auto& sub : q.subfolderPaths)
                inSub = inSub || LiesInFolder(sub, row[0], true);
            if (!inSub)
                want.push_back(row[0]);
        }
        if (want.empty())
            want.push_back(rows[q.firstRow][0]);
        return want;
    };
    const auto checkAll = [&] {
        for (std::size_t n = 0; n < app.domain.tree.Size(); ++n) {
            const int node = static_cast<int>(n);
            ASSERT_GE(FillFolderList(app, MakeFolderQuery(app.domain.tree, node), 0), 1);
            ASSERT_EQ(ColumnTexts(app.secondList, 0), expected(node)) << "node " << n;
        }
    };
    checkAll();
    // Rows above every folder shift the runs; the tree still names the old first rows.
    for (int i = 0; i < 5; ++i)
        app.list.InsertRow(ResultRow{{"ftp://aaa" + std::to_string(i) + ".org/x", "", "f"}});
    checkAll();
}

TEST_F(DomainViewTest, FindBackwardsAndAMissLeaveTheSelectionAlone)
{
    ASSERT_TRUE(BuildDomainsCommand(app));
    WaitForFolderFills(app);
    const int b = Node("http://b.org");
    ASSERT_TRUE(ShowFolder(app, b));
    WaitForFolderFills(app);
    app.find.findColumns = {true, false, false, false, false, false};
    app.find.findText = "API/Y";
    ASSERT_TRUE(FindNextCommand(app, false));
    EXPECT_EQ(app.domain.selectedNode, Node("http://a.com/docs/api"));
    ASSERT_EQ(app.secondList.SelectedRows(), (std::vector<std::size_t>{1}));
    EXPECT_EQ(app.secondList.GetCell(1, 0), "http://a.com/docs/api/y.htm");

    const int before = app.domain.selectedNode;
    const std::vector<std::string> shown = ColumnTexts(app.secondList, 0);
    app.find.findText = "zzz";
    EXPECT_FALSE(FindNextCommand(app, true));
    EXPECT_EQ(app.domain.selectedNode, before);
    EXPECT_EQ(ColumnTexts(app.secondList, 0), shown);
}

} // namespace
} // namespace lt
