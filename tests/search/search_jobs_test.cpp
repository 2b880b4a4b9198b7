// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_jobs.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <mutex>

#include "core/app_state.h"
#include "core/window_messages.h"
#include "list/add_result_row.h"
#include "recording_ui_port.h"
#include "temp_tree.h"

namespace lt {
namespace {

using testing::TempTree;

TEST(SearchCaption, ThreeFileTypeModes)
{
    EXPECT_EQ(SearchCaption("/srv/www", 0, "*.htm *.html"), "/srv/www *.htm *.html");
    EXPECT_EQ(SearchCaption("/srv/www", 1, "*.gif"), "/srv/www without *.gif");
    EXPECT_EQ(SearchCaption("/srv/www", 2, ""), "/srv/www non binary files");
    // The file-list dialog knows only the first two forms.
    EXPECT_EQ(SearchCaption("/srv/www", 2, "", true), "/srv/www *.*");
}

TEST(StoredMaskText, JoinsWithSingleBlanksOrBecomesAllFiles)
{
    EXPECT_EQ(StoredMaskText("*.HTM;*.txt,  *.js"), "*.htm *.txt *.js");
    EXPECT_EQ(StoredMaskText("*.htm; *.*"), "*.*");
}

TEST(SelectionPaths, SinglePathOrFolderWithNames)
{
    EXPECT_EQ(SelectionPaths("/a/b.txt"), (std::vector<std::string>{"/a/b.txt"}));
    EXPECT_TRUE(SelectionPaths("").empty());
    const std::string multi("/docs\0one.htm\0two.htm\0\0ignored", 29);
    EXPECT_EQ(SelectionPaths(multi), (std::vector<std::string>{"/docs/one.htm", "/docs/two.htm"}));
    const std::string full("\0/x/1.txt\0/y/2.txt\0", 19);
    EXPECT_EQ(SelectionPaths(full), (std::vector<std::string>{"/x/1.txt", "/y/2.txt"}));
}

class SearchJobsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.list.SetColumns({{"Url"}, {"Title"}, {"File"}, {"File Date"}, {"File Size"}});
    }

    // A scanner stand-in: one row per file named after it, counted as a hit.
    FileScan RowPerFile()
    {
        return [this](const std::string& path, const OpenedFile&) {
            {
                std::lock_guard lock(m_mutex);
                scanned.push_back(path);
            }
            app.listState.rowTexts[2] = path;
            if (AddResultRow(app, "http://example.org/" + path.substr(path.rfind('/') + 1)) >= 0)
                ++app.search.hitCount;
            return 1;
        };
    }

    bool Posted(int message) const { return port.WasPosted(message); }

    std::mutex m_mutex;
    std::vector<std::string> scanned;
    RecordingUiPort port;
    AppState app{port};
    TempTree tree;
};

TEST_F(SearchJobsTest, SetupTakesSourceCaptionAndDescriptionFromTheSettings)
{
    app.settings.fileTypeMode = 0;
    app.settings.includeMasks = "*.HTM,*.html";
    SetupFolderSearch(app, "/srv/www/");
    EXPECT_EQ(app.search.source, kSourceOneFolder);
    EXPECT_EQ(app.search.folder, "/srv/www/");
    EXPECT_EQ(app.search.searchCaption, "/srv/www *.htm *.html");
    EXPECT_EQ(app.search.description, app.search.searchCaption);

    app.settings.includeSubdirectories = true;
    app.settings.fileTypeMode = 2;
    SetupFolderSearch(app, "/srv/www");
    EXPECT_EQ(app.search.source, kSourceRecursive);
    EXPECT_EQ(app.search.searchCaption, "/srv/www non binary files");

    SetupFolderSearch(app, "My Computer");
    EXPECT_EQ(app.search.source, kSourceAllDrives);
}

TEST_F(SearchJobsTest, FolderSearchRunsOnTheWorkerAndReportsTheCount)
{
    tree.Write("a.htm", "x");
    tree.Write("sub/b.htm", "x");
    app.settings.includeSubdirectories = true;
    SetupFolderSearch(app, tree.Root());
    ASSERT_TRUE(StartFolderSearch(app, RowPerFile()));
    JoinWorker(app);

    EXPECT_EQ(app.jobs.Code(), 0);
    EXPECT_EQ(app.list.RowCount(), 2u);
    EXPECT_EQ(app.search.hitCount.load(), 2);
    EXPECT_TRUE(app.scan.nonBinaryOnly);
    EXPECT_FALSE(app.search.fileSizeFlag);
    EXPECT_TRUE(Posted(kMsgSearchDone));
    EXPECT_TRUE(Posted(kMsgRestoreCursor));
    EXPECT_FALSE(Posted(kMsgRebuildDomains));
    EXPECT_EQ(port.LastMessage().text, "2 Urls found !");
    EXPECT_EQ(port.Pane(0), app.search.searchCaption);
    EXPECT_EQ(app.list.FocusedRow(), 0);
}

TEST_F(SearchJobsTest, WithoutIncludeSubdirectoriesOnlyTheFolderIsSearched)
{
    tree.Write("a.htm", "x");
    tree.Write("sub/b.htm", "x");
    SetupFolderSearch(app, tree.Root());
    ASSERT_TRUE(StartFolderSearch(app, RowPerFile()));
    JoinWorker(app);
    EXPECT_EQ(scanned, (std::vector<std::string>{tree.Path("a.htm")}));
}

TEST_F(SearchJobsTest, NoHitsStillReportAndPostTheEnd)
{
    tree.Write("empty.txt", "");
    SetupFolderSearch(app, tree.Root());
    ASSERT_TRUE(StartFolderSearch(app, [](const std::string&, const OpenedFile&) { return 1; }));
    JoinWorker(app);
    EXPECT_EQ(port.LastMessage().text, "No Url found !");
    EXPECT_TRUE(Posted(kMsgSearchDone));
}

TEST_F(SearchJobsTest, DomainRebuildReplacesTheCountMessage)
{
    tree.Write("a.htm", "x");
    app.options.rebuildDomainsAfterSearch = true;
    SetupFolderSearch(app, tree.Root());
    ASSERT_TRUE(StartFolderSearch(app, RowPerFile()));
    JoinWorker(app);
    EXPECT_EQ(port.MessageCount(), 0u);
    const auto posts = port.Posts();
    const auto rebuild = std::find_if(posts.begin(), posts.end(),
                                      [](const auto& p) { return p.message == kMsgRebuildDomains; });
    ASSERT_NE(rebuild, posts.end());
    EXPECT_EQ(rebuild->wparam, 1);
    EXPECT_TRUE(Posted(kMsgSearchDone));
}

TEST_F(SearchJobsTest, StoppedSearchShowsNoCountMessage)
{
    for (int i = 0; i < 4; ++i)
        tree.Write("f" + std::to_string(i), "x");
    SetupFolderSearch(app, tree.Root());
    ASSERT_TRUE(StartFolderSearch(app, [this](const std::string&, const OpenedFile&) {
        app.jobs.jobCode = 0;
        return 1;
    }));
    JoinWorker(app);
    EXPECT_EQ(port.MessageCount(), 0u);
    EXPECT_TRUE(Posted(kMsgSearchDone));
}

TEST_F(SearchJobsTest, AFailedPreparationStartsNothing)
{
    app.settings.itemKind = kItemUser;
    app.settings.userStrings[0] = std::string(300, 'a'); // 248 bytes or more cannot be searched
    SetupFolderSearch(app, tree.Root());
    EXPECT_FALSE(StartFolderSearch(app, RowPerFile()));
    EXPECT_EQ(app.jobs.Code(), 0);
    EXPECT_FALSE(Posted(kMsgSearchDone));
}

TEST_F(SearchJobsTest, PickedFilesAreScannedInOrder)
{
    const std::string one = tree.Write("one.txt", "x");
    const std::string two = tree.Write("two.txt", "x");
    const std::string selection =
        tree.Path("") + std::string(1, '\0') + "two.txt" + '\0' + "one.txt" + '\0' + '\0';
    ASSERT_TRUE(SearchPickedFilesCommand(app, selection, RowPerFile()));
    JoinWorker(app);
    EXPECT_EQ(scanned, (std::vector<std::string>{two, one}));
    EXPECT_FALSE(app.scan.nonBinaryOnly);
    EXPECT_EQ(app.search.searchCaption, "\"two.txt\" \"one.txt\"");
    EXPECT_TRUE(Posted(kMsgSearchDone));
}

TEST_F(SearchJobsTest, ASinglePickedFileThatCannotBeOpenedIsReported)
{
    const std::string missing = tree.Path("missing.htm");
    ASSERT_TRUE(SearchPickedFilesCommand(app, missing, [](const std::string&, const OpenedFile&) { return 0; }));
    JoinWorker(app);
    ASSERT_EQ(port.MessageCount(), 1u);
    EXPECT_EQ(port.LastMessage().text, "Could not open " + missing + " ");
    EXPECT_EQ(port.LastMessage().caption, "LinkTrawl");
    EXPECT_EQ(app.jobs.Code(), 0);
    EXPECT_TRUE(Posted(kMsgSearchDone));
}

TEST_F(SearchJobsTest, FileListSearchNeedsAFileList)
{
    EXPECT_FALSE(SearchFileListCommand(app, RowPerFile()));
    EXPECT_EQ(port.LastMessage().text, "Please first create or load a File List !");
}

TEST_F(SearchJobsTest, FileListSearchScansEveryListedPath)
{
    const std::string a = tree.Write("a.htm", "x");
    const std::string b = tree.Write("b.htm", "x");
    app.listState.kind = kListFileList;
    app.list.SetColumns({{"File"}, {"Modified"}, {"Created"}, {"Accessed"}, {"Size"}});
    app.list.InsertRow(ResultRow{{b}});
    app.list.InsertRow(ResultRow{{a}});
    ASSERT_TRUE(SearchFileListCommand(app, RowPerFile()));
    JoinWorker(app);
    EXPECT_EQ(scanned, (std::vector<std::string>{a, b}));
    EXPECT_EQ(app.listState.kind, kListFileSearch);
    EXPECT_EQ(app.secondList.RowCount(), 0u);
    EXPECT_EQ(app.list.RowCount(), 2u);
    EXPECT_TRUE(Posted(kMsgSearchDone));
}

TEST_F(SearchJobsTest, RecentFilesListsOnlyFilesWrittenLately)
{
    tree.Write("fresh.txt", "new");
    const std::string old = tree.Write("deep/old.txt", "old");
    TempTree::SetTimes(old, testing::UtcTime(2001, 1, 1, 0, 0, 0));
    tree.Write("deep/fresh-too.txt", "new");
    ASSERT_TRUE(RecentFilesCommand(app, false, {}, {tree.Root()}));
    JoinWorker(app);
    EXPECT_EQ(app.listState.kind, kListFileList);
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < app.list.RowCount(); ++i)
        rows.push_back(app.list.GetCell(i, 0));
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{tree.Path("deep/fresh-too.txt"), tree.Path("fresh.txt")}));
    EXPECT_EQ(app.search.searchCaption, "Files < 8 Minutes");

    // The cache variant lists relative to its folder and needs a folder.
    EXPECT_FALSE(RecentFilesCommand(app, true, "/x"));
    ASSERT_TRUE(RecentFilesCommand(app, true, tree.Path("deep")));
    JoinWorker(app);
    ASSERT_EQ(app.list.RowCount(), 1u);
    EXPECT_EQ(app.list.GetCell(0, 0), "fresh-too.txt");
}

} // namespace
} // namespace lt
