// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/link_scanner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/app_state.h"
#include "list/add_result_row.h"
#include "recording_ui_port.h"
#include "search/block_reader.h"
#include "search/filter_words.h"
#include "search/item_kind.h"
#include "temp_tree.h"

namespace lt {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>; // URL, title

// Stops the job when the first hit is counted, as the window thread would.
class StoppingUiPort : public RecordingUiPort
{
public:
    std::atomic<int32_t>* jobCode = nullptr;
    void SetPaneText(int pane, const std::string& text) override
    {
        RecordingUiPort::SetPaneText(pane, text);
        if (pane == 2 && jobCode != nullptr && text.find_first_not_of(' ') != std::string::npos)
            jobCode->store(0);
    }
};

// Stops the job at the first step of the progress bar.
class StopAtProgressUiPort : public RecordingUiPort
{
public:
    std::atomic<int32_t>* jobCode = nullptr;
    void ProgressStep() override
    {
        RecordingUiPort::ProgressStep();
        if (jobCode != nullptr)
            jobCode->store(0);
    }
};

class LinkScannerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.jobs.jobCode = kJobFolderSearch;
        app.list.SetColumns({{"Url", kColText}, {"Title", kColTitle}, {"File", kColPath}});
        app.list.SetAutoSort(AutoSort::Off);
        app.settings.duplicatesPolicy = 0;
        app.settings.minimalLength = 6;
    }

    void Prepare(int kind = 0)
    {
        app.settings.itemKind = kind;
        SelectItemKind(app);
        ASSERT_TRUE(PrepareScan(app));
    }

    int ScanFile(const std::string& name, const std::string& bytes)
    {
        LinkScanner scanner(app);
        return scanner.ScanLinks(tree.Write(name, bytes));
    }

    Rows Scan(const std::string& bytes, const std::string& name = "page.htm")
    {
        app.list.ClearRows();
        ScanFile(name, bytes);
        return Collect();
    }

    Rows Collect() const
    {
        Rows rows;
        for (std::size_t r = 0; r < app.list.RowCount(); ++r)
            rows.emplace_back(app.list.GetCell(r, 0), app.list.GetCell(r, 1));
        return rows;
    }

    RecordingUiPort ui;
    AppState app{ui};
    testing::TempTree tree;
};

TEST_F(LinkScannerTest, LinkTitlesAndUrlEndings)
{
    Prepare();
    EXPECT_EQ(Scan("<a href=\"http://www.example.org/x.htm\">The &amp; page</a>"),
              (Rows{{"http://www.example.org/x.htm", "The & page"}}));
    // The blank ends the URL; the apostrophe rule ends it only at an apostrophe.
    EXPECT_EQ(Scan("<a href='http://www.example.org/x y'>"), (Rows{{"http://www.example.org/x", ""}}));
    EXPECT_EQ(Scan("<a href='http://www.example.org/it's'>"), (Rows{{"http://www.example.org/it", ""}}));
    EXPECT_EQ(Scan("see http://www.example.org/it's"), (Rows{{"http://www.example.org/it's", ""}}));
    // ")" ends the URL and the full stop never enters it; trailing slashes and punctuation go.
    EXPECT_EQ(Scan("(see http://www.example.org/x)."), (Rows{{"http://www.example.org/x", ""}}));
    EXPECT_EQ(Scan("at http://www.example.org/docs/, and"), (Rows{{"http://www.example.org/docs", ""}}));
    EXPECT_EQ(Scan("[http://www.example.org/a]] {http://www.example.org/b}"),
              (Rows{{"http://www.example.org/a", ""}, {"http://www.example.org/b", ""}}));
    EXPECT_EQ(Scan("http://www.example.org/a[1]"), (Rows{{"http://www.example.org/a[1]", ""}}));
    // The URL keeps its case; the anchor is matched without regard to it.
    EXPECT_EQ(Scan("HTTP://WWW.Example.ORG/Index.HTML"), (Rows{{"HTTP://WWW.Example.ORG/Index.HTML", ""}}));
    EXPECT_EQ(Scan("ftp://ftp.example.org/pub/file.tar.gz\n"), (Rows{{"ftp://ftp.example.org/pub/file.tar.gz", ""}}));
}

TEST_F(LinkScannerTest, UrlCleanUp)
{
    Prepare();
    EXPECT_EQ(Scan("<a href=\"http://www.example.org/?a=1&amp;b=2&quot;x\">Q</a>"),
              (Rows{{"http://www.example.org/?a=1&b=2", "Q"}}));
    EXPECT_EQ(Scan("http://www.example.org/page&nbsp;more"), (Rows{{"http://www.example.org/page", ""}}));
    EXPECT_EQ(Scan("http://www.example.org/M&uuml;ller.html"), (Rows{{"http://www.example.org/M\xFCller.html", ""}}));
    // Longer URLs are cut at 259 bytes and the scan goes on after them.
    const std::string longUrl = "http://www.example.org/" + std::string(300, 'a');
    const Rows rows = Scan(longUrl + " http://www.example.net/");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].first, longUrl.substr(0, 259));
    EXPECT_EQ(rows[1].first, "http://www.example.net");
}

TEST_F(LinkScannerTest, ColonWrittenAsCharacterReference)
{
    Prepare();
    EXPECT_EQ(Scan("http&#58;//www.example.org/a&#47;b"), (Rows{{"http://www.example.org/a/b", ""}}));
    EXPECT_EQ(Scan("FTP&#58;//ftp.example.org/pub"), (Rows{{"FTP://ftp.example.org/pub", ""}}));
    EXPECT_EQ(Scan("https&#58;//secure.example.org/login"), (Rows{{"https://secure.example.org/login", ""}}));
    EXPECT_EQ(Scan("http&#59;//www.example.org/ http&#5"), Rows{});
    app.settings.findHttps = false;
    Prepare();
    EXPECT_EQ(Scan("https&#58;//secure.example.org/login"), Rows{});
    // Other kinds know no character-reference colon.
    Prepare(2);
    EXPECT_EQ(Scan("gopher&#58;//gopher.example.org/1"), Rows{});
}

TEST_F(LinkScannerTest, HttpsAnchorIsLikeHttpAndCanBeSwitchedOff)
{
    const std::string page = "<a href=\"https://secure.example.org/login\">Log in</a> "
                             "HTTPS://SECURE.example.org/Other http://www.example.org/plain ftp://ftp.example.org/";
    Prepare();
    EXPECT_EQ(Scan(page), (Rows{{"https://secure.example.org/login", "Log in"},
                                {"HTTPS://SECURE.example.org/Other", ""},
                                {"http://www.example.org/plain", ""},
                                {"ftp://ftp.example.org", ""}}));
    app.settings.findHttps = false;
    Prepare();
    EXPECT_EQ(Scan(page), (Rows{{"http://www.example.org/plain", ""}, {"ftp://ftp.example.org", ""}}));
    // "https" that is no URL start, and a partial match that runs into a real anchor.
    app.settings.findHttps = true;
    Prepare();
    EXPECT_EQ(Scan("httpshttps://a.example.org/ httpsx http:https://b.example.org/"),
              (Rows{{"https://a.example.org", ""}, {"https://b.example.org", ""}}));
}

TEST_F(LinkScannerTest, HttpsFollowsTheDuplicateAndTopLevelRules)
{
    app.settings.duplicatesPolicy = 1;
    Prepare();
    EXPECT_EQ(Scan("https://secure.example.org/a <a href=\"https://secure.example.org/a\">Secure</a>"),
              (Rows{{"https://secure.example.org/a", "Secure"}}));
    // Shorter than the anchor length + 4 under a duplicates policy.
    EXPECT_EQ(Scan("https://ab https://ab.example.org"), (Rows{{"https://ab.example.org", ""}}));
    app.settings.onlyTopLevelDomains = true;
    Prepare();
    EXPECT_EQ(Scan("<a href=\"https://secure.example.org/a/b.html\">Deep</a>"),
              (Rows{{"https://secure.example.org", ""}}));
}

TEST_F(LinkScannerTest, RestartAfterAPartialMatch)
{
    Prepare();
    EXPECT_EQ(Scan("hhttp://www.example.org/ fftp://ftp.example.org/ httphttp://www.example.net/"),
              (Rows{{"http://www.example.org", ""}, {"ftp://ftp.example.org", ""}, {"http://www.example.net", ""}}));
    Prepare(3);
    EXPECT_EQ(Scan("telnetelnet://bbs.example.org:23 "), (Rows{{"telnet://bbs.example.org:23", ""}}));
}

TEST_F(LinkScannerTest, CloseDuplicatesAndUpdateMode)
{
    app.settings.duplicatesPolicy = 1;
    Prepare();
    // The link text repeats the URL: no title, and the second occurrence is a close duplicate.
    EXPECT_EQ(Scan("<a href=\"http://www.example.org/\">http://www.example.org/</a>"),
              (Rows{{"http://www.example.org", ""}}));
    // Found as text first, then at once as a link: one row that takes the link's text.
    EXPECT_EQ(Scan("http://www.example.org/a <a href=\"http://www.example.org/a\">Example</a>"),
              (Rows{{"http://www.example.org/a", "Example"}}));
    // A, B, A gives A and B; A, B, C, A gives all four.
    const std::string a = "http://www.example.org/a ", b = "http://www.example.org/b ",
                      c = "http://www.example.org/c ";
    EXPECT_EQ(Scan(a + b + a).size(), 2u);
    EXPECT_EQ(Scan(a + b + c + a).size(), 4u);
    // A repeat without a new title is dropped; so is a second link text for the same URL.
    EXPECT_EQ(Scan("<a href=\"http://www.example.org/a\">One</a><a href=\"http://www.example.org/a\">Two</a>"),
              (Rows{{"http://www.example.org/a", "One"}}));
    app.settings.duplicatesPolicy = 0;
    Prepare();
    EXPECT_EQ(Scan(a + b + a).size(), 3u);
}

TEST_F(LinkScannerTest, OneHitPerFileAndWholeListDuplicates)
{
    app.settings.duplicatesPolicy = 3;
    Prepare();
    EXPECT_EQ(Scan("http://www.example.org/a http://www.example.org/b").size(), 1u);

    app.settings.duplicatesPolicy = 2;
    Prepare();
    app.list.ClearRows();
    app.search.hitCount = 0;
    ScanFile("one.htm", "http://www.example.org/a http://www.example.org/b");
    ScanFile("two.htm", "http://WWW.example.org/a <a href=\"http://www.example.org/a\">Late title</a>");
    // The repeated URL was refused by the list; its title must not land on another row.
    EXPECT_EQ(Collect(), (Rows{{"http://www.example.org/a", ""}, {"http://www.example.org/b", ""}}));
    EXPECT_EQ(app.search.hitCount.load(), 2);
}

TEST_F(LinkScannerTest, LengthRules)
{
    app.settings.minimalLength = 24;
    Prepare();
    EXPECT_EQ(Scan("http://www.example.org/ab http://www.example.org/"),
              (Rows{{"http://www.example.org/ab", ""}}));
    app.settings.minimalLength = 1;
    Prepare();
    EXPECT_EQ(Scan("http:// "), (Rows{{"http", ""}})); // no policy: even the bare anchor is kept
    app.settings.duplicatesPolicy = 1;
    Prepare();
    EXPECT_EQ(Scan("http:// http://a.i ftp://a.io/ "), Rows{}); // under anchor length + 4
}

TEST_F(LinkScannerTest, TopLevelCutDropsTheLinkText)
{
    app.settings.onlyTopLevelDomains = true;
    Prepare();
    EXPECT_EQ(Scan("<a href=\"http://www.example.org/docs/a.html\">Docs</a> "
                   "<a href=\"http://www.example.net/\">Net</a>"),
              (Rows{{"http://www.example.org", ""}, {"http://www.example.net", "Net"}}));
    Prepare(1); // mailto and news are never cut
    EXPECT_EQ(Scan("mailto:someone@example.org/x"), (Rows{{"mailto:someone@example.org/x", ""}}));
}

TEST_F(LinkScannerTest, OtherUrlKinds)
{
    Prepare(1);
    EXPECT_EQ(Scan("<a href=\"mailto:info&#64;example.org\">Write</a> news:comp.lang.c++"),
              (Rows{{"mailto:info@example.org", "Write"}, {"news:comp.lang.c++", ""}}));
    Prepare(2);
    EXPECT_EQ(Scan("gopher://gopher.example.org/1/ wais://wais.example.org/db http://www.example.org/"),
              (Rows{{"gopher://gopher.example.org/1", ""}, {"wais://wais.example.org/db", ""}}));
    Prepare(3);
    EXPECT_EQ(Scan("TELNET://bbs.example.org:23\r\n"), (Rows{{"TELNET://bbs.example.org:23", ""}}));
}

TEST_F(LinkScannerTest, CaseSensitiveAnchors)
{
    app.settings.caseSensitive = true;
    Prepare();
    EXPECT_EQ(Scan("HTTP://www.example.org/a http://www.example.org/b Https://x.example.org/"),
              (Rows{{"http://www.example.org/b", ""}}));
}

TEST_F(LinkScannerTest, BinaryTestEndsTheFile)
{
    Prepare();
    app.scan.nonBinaryOnly = true;
    EXPECT_EQ(Scan("http://a.example.org/ \x01 http://b.example.org/").size(), 1u);
    EXPECT_EQ(Scan("http://a.example.org/ \x0C http://b.example.org/").size(), 1u); // form feed too
    EXPECT_EQ(Scan(std::string("http://a.example.org/\t\r\n\x15\x1B") + '\0' + " http://b.example.org/").size(), 2u);
    // The byte that ends a URL is taken by the URL reader, not by the binary test.
    EXPECT_EQ(Scan("http://a.example.org/\x02http://b.example.org/ \x03 http://c.example.org/").size(), 2u);
    app.scan.nonBinaryOnly = false;
    EXPECT_EQ(Scan("http://a.example.org/ \x01 http://b.example.org/").size(), 2u);
}

TEST_F(LinkScannerTest, InternetShortcuts)
{
    app.settings.duplicatesPolicy = 1;
    Prepare();
    const std::string shortcut =
        "[DEFAULT]\r\nBASEURL=http://www.example.org/\r\n[InternetShortcut]\r\nURL=http://www.example.org/\r\n";
    EXPECT_EQ(Scan(shortcut, "My Site.url"), (Rows{{"http://www.example.org", "My Site"}}));
    EXPECT_EQ(Scan(shortcut, "Other.URL"), (Rows{{"http://www.example.org", "Other"}}));
    // Names that merely end in "url" are no shortcuts: their links are read as HTML.
    const std::string link = "<a href=\"http://www.example.org/\">Home</a>";
    EXPECT_EQ(Scan(link, "curl"), (Rows{{"http://www.example.org", "Home"}}));
    EXPECT_EQ(Scan(link, "url"), (Rows{{"http://www.example.org", "Home"}}));
    EXPECT_EQ(Scan(link, ".url"), (Rows{{"http://www.example.org", ""}}));
}

TEST_F(LinkScannerTest, FavoritesListTakesOnlyShortcutsWithRelativePaths)
{
    Prepare();
    app.listState.kind = kListFavorites;
    app.search.favoritesFolder = tree.Path("Favorites");
    LinkScanner scanner(app);
    EXPECT_EQ(scanner.ScanLinks(tree.Write("Favorites/Links/page.htm", "http://www.example.org/x")), 0);
    EXPECT_EQ(scanner.ScanLinks(tree.Write("Favorites/Links/Example.url", "URL=http://www.example.org/y")), 1);
    ASSERT_EQ(app.list.RowCount(), 1u);
    EXPECT_EQ(app.list.GetCell(0, 1), "Example");
    EXPECT_EQ(app.list.GetCell(0, 2), "Links/Example.url");
}

TEST_F(LinkScannerTest, RowsCarryThePathAndTheCounter)
{
    Prepare();
    LinkScanner scanner(app);
    const std::string path = tree.Write("dir/page.htm", "http://www.example.org/a http://www.example.org/b");
    EXPECT_EQ(scanner.ScanLinks(path), 1);
    ASSERT_EQ(app.list.RowCount(), 2u);
    EXPECT_EQ(app.list.GetCell(1, 2), path);
    EXPECT_EQ(app.search.hitCount.load(), 2);
    EXPECT_EQ(ui.Pane(2), "2");
}

TEST_F(LinkScannerTest, FiltersOnUrlAndTitle)
{
    Prepare();
    app.settings.restrictEnabled = true;
    app.settings.mustText = "docs";
    app.settings.mustNotText = "private";
    BuildFilterWords(app.settings, app.filterWords);
    EXPECT_EQ(Scan("<a href=\"http://www.example.org/a\">Docs</a> http://www.example.org/docs "
                   "<a href=\"http://www.example.org/docs/x\">private</a> http://www.example.org/b"),
              (Rows{{"http://www.example.org/a", "Docs"}, {"http://www.example.org/docs", ""}}));
}

TEST_F(LinkScannerTest, MemoryScanActsLikeAFileOfThatName)
{
    Prepare();
    LinkScanner scanner(app);
    const std::string bytes = "URL=http://www.example.org/";
    EXPECT_EQ(scanner.ScanLinksInMemory(bytes.data(), bytes.size(), "/favorites/Mine.url"), 1);
    EXPECT_EQ(Collect(), (Rows{{"http://www.example.org", "Mine"}}));
    EXPECT_EQ(app.list.GetCell(0, 2), "/favorites/Mine.url");
}

TEST_F(LinkScannerTest, MissingFileIsReported)
{
    Prepare();
    LinkScanner scanner(app);
    EXPECT_EQ(scanner.ScanLinks(tree.Path("no-such.htm")), 0);
    EXPECT_EQ(ui.Pane(1), "Could not open no-such.htm ");
}

TEST_F(LinkScannerTest, UrlsAcrossBlockAndCheckBoundaries)
{
    Prepare();
    for (const std::size_t at : {std::size_t{65536 - 3}, std::size_t{(1u << 20) - 5}, std::size_t{(1u << 20) - 1},
                                 std::size_t{(1u << 20) + 4094}}) {
        std::string bytes(at, 'x');
        bytes += "<a href=\"http://www.example.org/far\">Far away</a>";
        bytes.append(70000, 'y');
        EXPECT_EQ(Scan(bytes), (Rows{{"http://www.example.org/far", "Far away"}})) << at;
    }
}

TEST_F(LinkScannerTest, ProgressOnlyForLargeFiles)
{
    Prepare();
    Scan(std::string(808999, 'a'));
    EXPECT_EQ(ui.ProgressBegins(), 0);
    Scan(std::string(809000, 'a'));
    EXPECT_EQ(ui.ProgressBegins(), 1);
    EXPECT_EQ(ui.ProgressSteps(), 100);
}

// The file is changed when the first URL arrives, while only its first block has been read: the
// scan ends where the bytes end (a URL cut by the end of the data ends there too) and finds nothing
// beyond the bytes it read.
TEST_F(LinkScannerTest, FileThatShrinksGrowsOrVanishesWhileItIsScannedEndsCleanly)
{
    Prepare();
    const std::size_t block = BlockReader::kBlockSize;
    std::string bytes = "<a href=\"http://www.example.org/first\">First</a>\n";
    const auto fill = [&](std::size_t upTo) {
        while (bytes.size() < upTo)
            bytes += "<p>" + std::string(60, 'z') + "</p>\n";
    };
    fill(block + block / 2);
    bytes += "see http://www.example.org/second\n";
    fill(2 * block + block / 2);
    const std::size_t third = bytes.size() + 4;
    bytes += "see http://www.example.org/third/page.html\n";
    fill(3 * block);

    enum class Change { Shrink, Empty, Grow, Vanish };
    for (const Change change : {Change::Shrink, Change::Empty, Change::Grow, Change::Vanish}) {
        SCOPED_TRACE(static_cast<int>(change));
        const std::string path = tree.Write("changing.htm", bytes);
        app.list.ClearRows();
        LinkScanner scanner(app);
        bool changed = false;
        scanner.SetRowSink([&](AppState& state, const std::string& url) {
            if (!changed) {
                changed = true;
                if (change == Change::Shrink) {
                    EXPECT_EQ(truncate(path.c_str(), static_cast<off_t>(third + 14)), 0); // "http://www.exa"
                } else if (change == Change::Empty) {
                    EXPECT_EQ(truncate(path.c_str(), 0), 0);
                } else if (change == Change::Grow) {
                    FILE* f = std::fopen(path.c_str(), "ab");
                    std::fputs(" http://www.example.org/grown ", f);
                    std::fclose(f);
                } else {
                    EXPECT_EQ(unlink(path.c_str()), 0);
                }
            }
            return AddResultRow(state, url);
        });
        EXPECT_EQ(scanner.ScanLinks(path), 1);
        Rows want = {{"http://www.example.org/first", "First"}};
        if (change == Change::Shrink)
            want.insert(want.end(), {{"http://www.example.org/second", ""}, {"http://www.exa", ""}});
        if (change == Change::Grow || change == Change::Vanish)
            want.insert(want.end(), {{"http://www.example.org/second", ""},
                                     {"http://www.example.org/third/page.html", ""}});
        EXPECT_EQ(Collect(), want);
        unlink(path.c_str());
    }
}

// A URL scan whose port ends the job: at the first row (StoppingUiPort) or at the first progress
// step (StopAtProgressUiPort).
template <class Port>
struct StoppedScan
{
    Port ui;
    AppState app{ui};
    testing::TempTree tree;

    StoppedScan()
    {
        ui.jobCode = &app.jobs.jobCode;
        app.jobs.jobCode = kJobFolderSearch;
        app.list.SetColumns({{"Url", kColText}, {"Title", kColTitle}, {"File", kColPath}});
        SelectItemKind(app);
    }

    int Scan(const std::string& bytes)
    {
        if (!PrepareScan(app))
            return -100;
        LinkScanner scanner(app);
        return scanner.ScanLinks(tree.Write("big.txt", bytes));
    }
};

TEST(LinkScannerStop, StopEndsTheScanWithin64KiB)
{
    StoppedScan<StoppingUiPort> s;
    EXPECT_EQ(s.Scan("http://www.example.org/first " + std::string(200000, 'z') + " http://www.example.org/late"), 1);
    EXPECT_EQ(s.app.list.RowCount(), 1u);
}

// The job code is read at least every 64 KiB also where the data holds no anchor.
TEST(LinkScannerStop, StopIsSeenWithin64KiBWhereNoAnchorIs)
{
    StoppedScan<StopAtProgressUiPort> s;
    EXPECT_EQ(s.Scan(std::string(4u << 20, 'z') + " http://www.example.org/late"), 1);
    EXPECT_EQ(s.app.list.RowCount(), 0u);
    EXPECT_LE(s.ui.ProgressSteps(), 5); // each 1 % is 42 KB
}

} // namespace
} // namespace lt
