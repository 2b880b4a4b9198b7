// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/folder_walk.h"

#include <algorithm>
#include <fcntl.h>
#include <map>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "core/app_state.h"
#include "search/item_kind.h"
#include "recording_ui_port.h"
#include "temp_tree.h"

namespace lt {
namespace {

using testing::TempTree;
using testing::UtcTime;

FilterDate At(int year, int month, int day, int hour, int minute, int second)
{
    FilterDate date;
    date.year = year;
    date.month = month;
    date.day = day;
    date.hour = hour;
    date.minute = minute;
    date.second = second;
    return date;
}

class FolderWalkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        app.jobs.jobCode = kJobFolderSearch;
    }

    WalkOptions Options(int source = kSourceOneFolder)
    {
        WalkOptions o;
        o.source = source;
        o.root = tree.Root();
        return o;
    }

    // Runs the walk and returns the scanned paths relative to the tree, sorted.
    std::vector<std::string> Walk(const WalkOptions& options)
    {
        std::vector<std::string> seen;
        FolderWalk walk(app, options, [&](const std::string& path, const OpenedFile&) {
            seen.push_back(path.substr(tree.Root().size()));
            return 1;
        });
        walk.Run();
        std::sort(seen.begin(), seen.end());
        return seen;
    }

    using Paths = std::vector<std::string>;
    RecordingUiPort port;
    AppState app{port};
    TempTree tree;
};

TEST_F(FolderWalkTest, OneFolderStaysInTheRootAndRecursiveGoesBelow)
{
    tree.Write("a.htm", "x");
    tree.Write("b.txt", "x");
    tree.Write("sub/c.htm", "x");
    tree.Write("sub/deeper/d.htm", "x");
    EXPECT_EQ(Walk(Options()), (Paths{"a.htm", "b.txt"}));
    EXPECT_EQ(Walk(Options(kSourceRecursive)), (Paths{"a.htm", "b.txt", "sub/c.htm", "sub/deeper/d.htm"}));
}

TEST_F(FolderWalkTest, OnlyRegularFilesAndLinksToFilesAreScanned)
{
    tree.Write("page.html", "x");
    tree.Folder("real");
    tree.Write("real/inside.txt", "x");
    ASSERT_EQ(mkfifo(tree.Path("pipe").c_str(), 0644), 0);
    symlink("page.html", tree.Path("link-to-file").c_str());
    symlink("real", tree.Path("link-to-folder").c_str());
    symlink("loop-b", tree.Path("loop-a").c_str());
    symlink("loop-a", tree.Path("loop-b").c_str());
    symlink("self", tree.Path("self").c_str());
    symlink("missing", tree.Path("dangling").c_str());
    symlink(".", tree.Path("real/up").c_str());
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = tree.Path("socket");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    // Neither walk blocks on the FIFO, reads the socket or loops through the links.
    EXPECT_EQ(Walk(Options()), (Paths{"link-to-file", "page.html"}));
    EXPECT_EQ(Walk(Options(kSourceRecursive)), (Paths{"link-to-file", "page.html", "real/inside.txt"}));
    close(sock);
}

TEST_F(FolderWalkTest, PlainFilesReachTheScanOpenAndAreClosedAfterIt)
{
    tree.Write("page.html", "<a href=\"http://www.example.org/\">");
    tree.Write("notes.txt", "plain");
    symlink("page.html", tree.Path("link-to-file").c_str());

    // name -> (bytes read from the descriptor handed over, or "by path"), and the descriptors
    struct Seen
    {
        std::string bytes;
        int fd = -1;
    };
    std::map<std::string, Seen> seen;
    const auto record = [&](const std::string& path, const OpenedFile& file) {
        Seen& s = seen[path.substr(tree.Root().size())];
        s.fd = file.fd;
        if (file.fd < 0) {
            s.bytes = "by path";
            return 1;
        }
        char buffer[256];
        const ssize_t n = pread(file.fd, buffer, sizeof buffer, 0);
        EXPECT_GE(n, 0);
        s.bytes.assign(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        if (file.size != OpenedFile::kUnknownSize) {
            EXPECT_EQ(file.size, s.bytes.size());
        }
        return 1;
    };
    FolderWalk(app, Options(), record).Run();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen["page.html"].bytes, "<a href=\"http://www.example.org/\">");
    EXPECT_EQ(seen["notes.txt"].bytes, "plain");
    // A link is looked at through its path, as it may point anywhere.
    EXPECT_EQ(seen["link-to-file"].bytes, "by path");
    for (const auto& [name, s] : seen) {
        if (s.fd >= 0) {
            EXPECT_EQ(fcntl(s.fd, F_GETFD), -1) << name << " was left open";
        }
    }

    // With a size filter the facts come first and every file goes by its path.
    seen.clear();
    WalkOptions filtered = Options();
    filtered.sizeBelow = SizeLimit{true, 1000};
    FolderWalk(app, filtered, record).Run();
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& [name, s] : seen)
        EXPECT_EQ(s.bytes, "by path") << name;
}

TEST_F(FolderWalkTest, ScannersFindTheSameRowsOpenOrByPath)
{
    tree.Write("a.html", "<a href=\"http://www.example.org/one.html\">One</a> http://www.example.com/two");
    tree.Write("b.txt", "see http://www.example.net/three and ftp://ftp.example.org/pub/");
    app.settings.itemKind = kItemHttpFtp;
    PrepareScan(app);
    app.list.SetColumns(std::vector<ColumnState>(5));
    const auto rows = [&](const WalkOptions& options) {
        app.list.ClearRows();
        FolderWalk(app, options, DefaultFileScan(app)).Run();
        std::vector<std::string> out;
        for (std::size_t i = 0; i < app.list.RowCount(); ++i)
            out.push_back(app.list.GetCell(i, 0) + " | " + app.list.GetCell(i, 1) + " | " + app.list.GetCell(i, 2));
        std::sort(out.begin(), out.end());
        return out;
    };
    const auto open = rows(Options());
    WalkOptions filtered = Options();
    filtered.sizeBelow = SizeLimit{true, 1u << 20};
    EXPECT_EQ(open.size(), 4u);
    EXPECT_EQ(open, rows(filtered));
}

TEST_F(FolderWalkTest, UnreadableFoldersArePassedOver)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    tree.Write("open/a.txt", "x");
    tree.Write("closed/b.txt", "x");
    chmod(tree.Path("closed").c_str(), 0);
    EXPECT_EQ(Walk(Options(kSourceRecursive)), (Paths{"open/a.txt"}));

    // An unreadable root yields no files and no failure.
    WalkOptions o = Options();
    o.root = tree.Path("closed/");
    EXPECT_TRUE(Walk(o).empty());
}

TEST_F(FolderWalkTest, FifteenLevelsAreWalked)
{
    std::string relative;
    for (int level = 0; level <= 16; ++level) {
        tree.Write(relative + "f" + std::to_string(level) + ".txt", "x");
        relative += "d/";
    }
    const Paths seen = Walk(Options(kSourceRecursive));
    ASSERT_EQ(seen.size(), 15u);
    auto named = [&](const std::string& name) {
        return std::any_of(seen.begin(), seen.end(), [&](const std::string& p) {
            return p.size() >= name.size() && p.compare(p.size() - name.size(), name.size(), name) == 0;
        });
    };
    EXPECT_TRUE(named("/f14.txt"));
    EXPECT_FALSE(named("/f15.txt"));
}

TEST_F(FolderWalkTest, FolderPathsOf259BytesAreSkipped)
{
    const std::size_t root = tree.Root().size();
    ASSERT_LT(root, 200u);
    // folder + name + '/' of 258 bytes is entered, of 259 is not.
    const std::string entered(258 - root - 1, 'e');
    const std::string skipped(259 - root - 1, 's');
    tree.Write(entered + "/in.txt", "x");
    tree.Write(skipped + "/out.txt", "x");
    EXPECT_EQ(Walk(Options(kSourceRecursive)), (Paths{entered + "/in.txt"}));
}

TEST_F(FolderWalkTest, SizeLimitsIncludeTheLimitItself)
{
    tree.Write("99.txt", std::string(99, 'x'));
    tree.Write("100.txt", std::string(100, 'x'));
    tree.Write("101.txt", std::string(101, 'x'));
    WalkOptions o = Options();
    o.sizeAbove = {true, 100};
    EXPECT_EQ(Walk(o), (Paths{"100.txt", "101.txt"}));
    o.sizeAbove = {};
    o.sizeBelow = {true, 100};
    EXPECT_EQ(Walk(o), (Paths{"100.txt", "99.txt"}));
}

TEST_F(FolderWalkTest, SizesAreComparedWithAllSixtyFourBits)
{
    // 5 GiB + 7 bytes, sparse: its low 32 bits alone would read as 1 GiB + 7.
    const std::string big = tree.Write("big.bin", "");
    ASSERT_EQ(truncate(big.c_str(), (5LL << 30) + 7), 0);
    tree.Write("small.bin", "x");
    WalkOptions o = Options();
    o.sizeAbove = {true, 4ULL << 30};
    EXPECT_EQ(Walk(o), (Paths{"big.bin"}));
    o.sizeAbove = {};
    o.sizeBelow = {true, 2ULL << 30};
    EXPECT_EQ(Walk(o), (Paths{"small.bin"}));

    // The size cell carries the whole size as well.
    app.list.SetColumns(std::vector<ColumnState>(6));
    o.sizeBelow = {};
    o.itemKind = kItemHttpFtp;
    std::string cell;
    FolderWalk walk(app, o, [&](const std::string& path, const OpenedFile&) {
        if (path == big)
            cell = app.listState.rowTexts[4];
        return 1;
    });
    walk.Run();
    EXPECT_EQ(cell, "5368709127");
}

TEST_F(FolderWalkTest, DateRangeKeepsAFileWrittenAtExactlyThatSecond)
{
    const std::string exact = tree.Write("exact.txt", "x");
    const std::string later = tree.Write("later.txt", "x");
    TempTree::SetTimes(exact, UtcTime(2000, 1, 1, 0, 0, 0));
    TempTree::SetTimes(later, UtcTime(2000, 1, 1, 0, 0, 1));
    WalkOptions o = Options();
    o.dateFilter = true;
    o.dateField = 1;
    o.dateFrom = At(2000, 1, 1, 0, 0, 0);
    o.dateTo = At(2000, 1, 1, 0, 0, 0);
    EXPECT_EQ(Walk(o), (Paths{"exact.txt"}));

    // Access time as the chosen field.
    o.dateField = 2;
    o.dateFrom = o.dateTo = At(2000, 1, 1, 0, 0, 1);
    EXPECT_EQ(Walk(o), (Paths{"later.txt"}));

    // Recent-files lists keep everything from the start on, also after the end.
    o.dateField = 1;
    o.dateFilter = false;
    o.dateOpenEnd = true;
    o.dateFrom = At(2000, 1, 1, 0, 0, 1);
    o.dateTo = At(1999, 1, 1, 0, 0, 0);
    EXPECT_EQ(Walk(o), (Paths{"later.txt"}));
}

TEST_F(FolderWalkTest, FileTypeModesAndMasks)
{
    tree.Write("a.htm", "x");
    tree.Write("b.HTML", "x");
    tree.Write("c.txt", "x");
    WalkOptions o = Options();
    o.fileTypeMode = 0;
    o.masks = {"*.htm", "*.html"};
    o.allFiles = false;
    EXPECT_EQ(Walk(o), (Paths{"a.htm", "b.HTML"}));
    o.fileTypeMode = 1;
    EXPECT_EQ(Walk(o), (Paths{"c.txt"}));

    // "*.*" makes every file match: all of them in mode 0, none in mode 1.
    o.masks = {"*.*"};
    o.allFiles = true;
    o.fileTypeMode = 0;
    EXPECT_EQ(Walk(o).size(), 3u);
    o.fileTypeMode = 1;
    EXPECT_TRUE(Walk(o).empty());
    o.fileTypeMode = 2;
    o.allFiles = false;
    EXPECT_EQ(Walk(o).size(), 3u);
}

TEST_F(FolderWalkTest, DateAndSizeCellsFollowTheKindsColumns)
{
    const std::string file = tree.Write("one.txt", "12345");
    TempTree::SetTimes(file, UtcTime(2021, 3, 4, 5, 6, 7));
    std::array<std::string, kMaxColumns> seen{};
    app.list.SetColumns(std::vector<ColumnState>(6)); // the file date and size columns are shown
    auto run = [&](int kind, bool sizes) {
        for (auto& t : app.listState.rowTexts)
            t = "stale";
        WalkOptions o = Options();
        o.itemKind = kind;
        o.fileSizeCells = sizes;
        FolderWalk walk(app, o, [&](const std::string&, const OpenedFile&) {
            seen = app.listState.rowTexts;
            return 1;
        });
        walk.Run();
    };
    run(kItemHttpFtp, true);
    EXPECT_EQ(seen[3], "2021/03/04, 05:06:07");
    EXPECT_EQ(seen[4], "5");
    run(kItemEmail, true);
    EXPECT_EQ(seen[3], "stale");
    EXPECT_EQ(seen[4], "2021/03/04, 05:06:07");
    EXPECT_EQ(seen[5], "5");
    run(kItemJavascript, false);
    EXPECT_EQ(seen[5], "");
    // IP rows have no date or size column: nothing is written for them.
    run(kItemIp, true);
    for (int i = 1; i < kMaxColumns; ++i)
        EXPECT_EQ(seen[i], "stale") << i;

    // Without those columns the facts are not read and the cells, which no row keeps, are empty.
    app.list.SetColumns(std::vector<ColumnState>(3));
    run(kItemHttpFtp, true);
    EXPECT_EQ(seen[3], "");
    EXPECT_EQ(seen[4], "");
}

TEST_F(FolderWalkTest, StopEndsTheWalkBetweenFiles)
{
    for (int i = 0; i < 5; ++i)
        tree.Write("f" + std::to_string(i) + ".txt", "x");
    int scanned = 0;
    FolderWalk walk(app, Options(), [&](const std::string&, const OpenedFile&) {
        ++scanned;
        app.jobs.jobCode = 0;
        return 1;
    });
    walk.Run();
    EXPECT_EQ(scanned, 1);
}

TEST_F(FolderWalkTest, FileListRowsCarryTimesSizeAndRelativePaths)
{
    app.list.SetColumns({{"File"}, {"Modified"}, {"Created"}, {"Accessed"}, {"Size"}});
    const std::string file = tree.Write("sub/list.txt", "abc");
    TempTree::SetTimes(file, UtcTime(2020, 12, 31, 23, 59, 58));
    WalkOptions o = Options(kSourceRecursive);
    o.fileList = true;
    o.relativePaths = true;
    bool scanned = false;
    FolderWalk walk(app, o, [&](const std::string&, const OpenedFile&) {
        scanned = true;
        return 1;
    });
    walk.Run();
    EXPECT_FALSE(scanned);
    ASSERT_EQ(app.list.RowCount(), 1u);
    EXPECT_EQ(app.list.GetCell(0, 0), "sub/list.txt");
    EXPECT_EQ(app.list.GetCell(0, 1), "2020/12/31, 23:59:58");
    EXPECT_EQ(app.list.GetCell(0, 3), "2020/12/31, 23:59:58");
    EXPECT_EQ(app.list.GetCell(0, 4), "3");
    EXPECT_EQ(app.search.hitCount.load(), 1);
}

TEST_F(FolderWalkTest, AllDrivesWalksEachGivenRoot)
{
    tree.Write("one/a.txt", "x");
    tree.Write("one/deep/b.txt", "x");
    tree.Write("two/c.txt", "x");
    WalkOptions o = Options(kSourceAllDrives);
    o.drives = {tree.Path("one/"), tree.Path("two/"), tree.Path("absent/")};
    EXPECT_EQ(Walk(o), (Paths{"one/a.txt", "two/c.txt"}));
    o.recursiveDrives = true;
    EXPECT_EQ(Walk(o), (Paths{"one/a.txt", "one/deep/b.txt", "two/c.txt"}));
}

TEST(WalkOptionsFromSettings, MasksSourceAndDatesComeFromTheSettings)
{
    RecordingUiPort port;
    AppState app{port};
    app.settings.fileTypeMode = 0;
    app.settings.includeMasks = "*.HTM, *.txt";
    app.settings.includeSubdirectories = true;
    app.settings.dateFilter = false;
    app.settings.dateField = 0;
    WalkOptions o = WalkOptionsFromSettings(app, "/srv/pages");
    EXPECT_EQ(o.source, kSourceRecursive);
    EXPECT_EQ(o.root, "/srv/pages/");
    EXPECT_EQ(o.masks, (std::vector<std::string>{"*.htm", "*.txt"}));
    EXPECT_FALSE(o.allFiles);
    EXPECT_EQ(o.dateField, 1); // last write while the date filter is off

    app.settings.fileTypeMode = 1;
    app.settings.excludeMasks = "";
    o = WalkOptionsFromSettings(app, "My Computer");
    EXPECT_EQ(o.source, kSourceAllDrives);
    EXPECT_FALSE(o.allFiles); // an empty exclusion list excludes nothing

    app.settings.fileTypeMode = 0;
    app.settings.includeMasks = "";
    EXPECT_TRUE(WalkOptionsFromSettings(app, "/x").allFiles);
}

} // namespace
} // namespace lt
