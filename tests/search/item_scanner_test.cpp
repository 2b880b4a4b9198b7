// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/item_scanner.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/app_state.h"
#include "list/add_result_row.h"
#include "recording_ui_port.h"
#include "search/block_reader.h"
#include "search/item_kind.h"
#include "search/page_record.h"

namespace lt {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Skips the current file as soon as the first hit is counted.
class SkippingUiPort : public RecordingUiPort
{
public:
    JobControl* jobs = nullptr;
    void SetPaneText(int pane, const std::string& text) override
    {
        RecordingUiPort::SetPaneText(pane, text);
        if (pane == 2 && jobs)
            jobs->skipRequested.store(true);
    }
};

// Stops the job at the first step of the progress bar, as the window thread would.
class StopAtProgressUiPort : public RecordingUiPort
{
public:
    std::atomic<int32_t>* jobCode = nullptr;
    void ProgressStep() override
    {
        RecordingUiPort::ProgressStep();
        if (jobCode)
            jobCode->store(0);
    }
};

class ItemScannerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/lt_items_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
        app.jobs.jobCode.store(kJobFolderSearch);
        app.settings.duplicatesPolicy = 0;
        app.settings.userEntireLine = false;
        app.settings.fileTypeMode = 0;
        Columns(5);
        app.list.SetAutoSort(AutoSort::Off);
    }
    void TearDown() override
    {
        const std::string cmd = "rm -rf '" + m_dir + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    void Columns(int n)
    {
        std::vector<ColumnState> cols(static_cast<std::size_t>(n));
        app.list.SetColumns(cols);
    }
    std::string Write(const std::string& bytes, const std::string& name = "data.txt")
    {
        const std::string path = m_dir + "/" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }
    void Kind(int kind, const std::string& user = "")
    {
        app.settings.itemKind = kind;
        if (!user.empty())
            app.settings.userStrings[0] = user;
    }
    Rows TakeRows()
    {
        Rows rows;
        for (std::size_t i = 0; i < app.list.RowCount(); ++i)
            rows.push_back(app.list.Row(i).cells);
        app.list.ClearRows();
        app.listState.rowSerial = -1;
        app.listState.paramCounter = -1;
        return rows;
    }
    Rows ScanText(const std::string& text, bool reference = false, bool textOnly = false)
    {
        EXPECT_TRUE(PrepareScan(app));
        app.scan.nonBinaryOnly = textOnly;
        ItemScanner scanner(app);
        scanner.SetReferencePath(reference);
        EXPECT_EQ(scanner.ScanFile(Write(text)), 1);
        return TakeRows();
    }
    std::vector<std::string> Items(const std::string& text)
    {
        std::vector<std::string> items;
        for (const auto& row : ScanText(text))
            items.push_back(row[0]);
        return items;
    }

    RecordingUiPort ui;
    AppState app{ui};
    std::string m_dir;
};

using Strings = std::vector<std::string>;

TEST_F(ItemScannerTest, UserStringTakesTheTextAroundItUntilUrlLikeEndsIt)
{
    Kind(kItemUser, "www.");
    EXPECT_EQ(Items("see www.example.org/x y"), Strings{"see www.example.org/x y"});
    app.settings.userUrlLike = true;
    app.tables.SetUrlLike(true);
    EXPECT_EQ(Items("see www.example.org/x y"), Strings{"www.example.org/x"});
}

TEST_F(ItemScannerTest, UserStringBackPartStopsAtTheSchemeBeforeABlank)
{
    Kind(kItemUser, "://");
    EXPECT_EQ(Items("go http://example.org/c"), Strings{"http://example.org/c"});
    EXPECT_EQ(Items("get ftp://example.org/pub"), Strings{"ftp://example.org/pub"});
}

TEST_F(ItemScannerTest, UserStringKeepsTheLetterCaseOfTheData)
{
    Kind(kItemUser, "linktrawl");
    const Rows rows = ScanText("Made by LinkTrawl today\n");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "Made by LinkTrawl today");
    app.settings.caseSensitive = true;
    EXPECT_TRUE(Items("Made by LinkTrawl today\n").empty());
}

TEST_F(ItemScannerTest, RowsCarryLineOffsetAndFile)
{
    Kind(kItemEmail);
    const std::string text = "first line\nsecond\r\nwrite to john.doe@example.com now\n";
    const Rows rows = ScanText(text);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "john.doe@example.com");
    EXPECT_EQ(rows[0][1], "3");
    char offset[16];
    std::snprintf(offset, sizeof offset, "0x%zX", text.find('@'));
    EXPECT_EQ(rows[0][2], offset);
    EXPECT_EQ(rows[0][3], m_dir + "/data.txt");
    EXPECT_EQ(app.search.hitCount.load(), 1);
    EXPECT_EQ(ui.Pane(2), "1");
}

TEST_F(ItemScannerTest, EmailAddressesAndTheirRejections)
{
    Kind(kItemEmail);
    EXPECT_EQ(Items("mail john.doe@example.com."), Strings{"john.doe@example.com"});
    EXPECT_TRUE(Items("mail john.doe@example.exe").empty());
    EXPECT_TRUE(Items("mail john.doe@localhost here").empty());
    EXPECT_TRUE(Items("mail j@example.com").empty());
    EXPECT_TRUE(Items("mail john @example.com").empty()); // blank before "@"
    EXPECT_EQ(Items("<a href=\"mailto:Anna.Berg@mail.example.de\">"), Strings{"Anna.Berg@mail.example.de"});
    EXPECT_EQ(Items("(contact: ops-team@example.net)"), Strings{"ops-team@example.net"});
    // the back part stops at a second dot and at a dot before "@"
    EXPECT_EQ(Items("x..anna@example.com"), Strings{"anna@example.com"});
    EXPECT_TRUE(Items("anna.@example.com").empty());
    // "a-." and "._" shapes end the host
    EXPECT_EQ(Items("anna@example.com-.x"), Strings{"anna@example.com"});
}

TEST_F(ItemScannerTest, EmailPercentEncodingIsDecoded)
{
    Kind(kItemEmail);
    EXPECT_EQ(Items("mailto:%20info%2Esales@example.org"), Strings{"info.sales@example.org"});
    EXPECT_EQ(Items("to=anna@example%2Eorg&x"), Strings{"anna@example.org"});
}

TEST_F(ItemScannerTest, EmailsNextToEachOtherAreBothFound)
{
    Kind(kItemEmail);
    EXPECT_EQ(Items("anna@example.org bert@example.net"),
              (Strings{"anna@example.org", "bert@example.net"}));
    EXPECT_EQ(Items("anna@example.org;bert@example.net"),
              (Strings{"anna@example.org", "bert@example.net"}));
}

TEST_F(ItemScannerTest, IpAddressesWithSumAndFirstNumberRules)
{
    Kind(kItemIp);
    EXPECT_EQ(Items("host 192.168.0.1 up"), Strings{"192.168.0.1"});
    EXPECT_TRUE(Items("v 1.2.3.4 w").empty());
    EXPECT_TRUE(Items("v 10.0.0.1 w").empty());
    EXPECT_TRUE(Items("v 300.1.1.1 w").empty());
    EXPECT_TRUE(Items("v 11.2.3.4.5 w").empty());
    EXPECT_TRUE(Items("v 11.2.3.256 w").empty());
    EXPECT_TRUE(Items("v 011.2.3.4 w").empty());
    EXPECT_TRUE(Items("version2.11.2.3.4").empty());
    EXPECT_TRUE(Items("v 11.2..3.4 w").empty());
    EXPECT_EQ(Items("at 11.2.3.4."), Strings{"11.2.3.4"});
    app.settings.ipSumLimit = 400;
    EXPECT_TRUE(Items("host 192.168.0.1 up").empty());
    EXPECT_EQ(Items("host 192.168.10.41 up"), Strings{"192.168.10.41"});
}

TEST_F(ItemScannerTest, IpRowsAreRotated)
{
    Kind(kItemIp);
    const Rows rows = ScanText("# hosts\nserver 192.168.7.20 (main)\n");
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_GE(rows[0].size(), 5u);
    EXPECT_EQ(rows[0][0], "192.168.7.20");
    EXPECT_EQ(rows[0][1], "server 192.168.7.20 (main)");
    EXPECT_EQ(rows[0][2], "2");
    EXPECT_EQ(rows[0][3], "0xF");
    EXPECT_EQ(rows[0][4], m_dir + "/data.txt");
}

TEST_F(ItemScannerTest, JavascriptFunctionsWithTheirArguments)
{
    Kind(kItemJavascript);
    EXPECT_EQ(Items("function showMenu(a, b) {"), Strings{"showMenu(a, b)"});
    EXPECT_EQ(Items("FUNCTION\n\t openWindow(url)\n"), Strings{"openWindow(url)"});
    EXPECT_TRUE(Items("functional(xyzzy)").empty());
    EXPECT_TRUE(Items("function a.bcdef()").empty());
    EXPECT_TRUE(Items("function (anonymous)").empty());
    EXPECT_TRUE(Items("function outer(inner(x))").empty());
    EXPECT_TRUE(Items("function spaced name(x)").empty());
    EXPECT_EQ(Items("function spaced (xy)"), Strings{"spaced (xy)"});
    EXPECT_TRUE(Items(std::string("function ") + std::string(70, 'n') + "()").empty());
}

TEST_F(ItemScannerTest, EntireLineTakesTheWholeLine)
{
    Kind(kItemUser, "TODO");
    app.settings.userEntireLine = true;
    const Rows rows = ScanText("int x;\n  // TODO: (fix) the &amp; case \r\nnext\n");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "// TODO: (fix) the &amp; case");
    EXPECT_EQ(rows[0][1], "2");
}

TEST_F(ItemScannerTest, PrefixStartsAtTheAnchorAndDropsTrailingPunctuation)
{
    Kind(kItemUser, "ref:");
    app.settings.userPrefix = true;
    EXPECT_EQ(Items("see ref:chapter-12; more"), Strings{"ref:chapter-12; more"});
    app.tables.SetUrlLike(true);
    EXPECT_EQ(Items("see ref:chapter-12; more"), Strings{"ref:chapter-12"});
    EXPECT_EQ(Items("see ref:chapter-12..."), Strings{"ref:chapter-12"});
}

TEST_F(ItemScannerTest, ReferencesAndTagsAreCleanedFromTheParts)
{
    Kind(kItemUser, "title=");
    app.tables.SetUrlLike(true);
    EXPECT_EQ(Items("x title=Caf&eacute;&#44;Bar y"), Strings{"title=Caf\xE9,Bar"});
    EXPECT_EQ(Items("x title=Fish&amp;Chips&lt;b y"), Strings{"title=Fish&Chips"});
    // a decoded closing tag cuts the forward part
    EXPECT_EQ(Items("x title=&#60;/b&#62;rest y"), Strings{"title="});
    EXPECT_EQ(Items("x title=abcd&#60;/b&#62; y"), Strings{"title=abcd"});
}

TEST_F(ItemScannerTest, BracketsAndQuotesStayBalanced)
{
    Kind(kItemUser, ":=");
    app.settings.minimalLength = 3;
    app.tables.SetUrlLike(true);
    // an unmatched opening bracket ends the back part; the tail trim drops an unmatched ")"
    EXPECT_EQ(Items("(a[b]:=c)"), Strings{"a[b]:=c"});
    EXPECT_EQ(Items("x)key:=value"), Strings{"key:=value"});
    EXPECT_EQ(Items("f(x):=y+1"), Strings{"f(x):=y+1"});
    EXPECT_EQ(Items("a:=(b+c)"), Strings{"a:=(b+c)"});
    // an odd quote count cuts the forward part at its last quote
    EXPECT_EQ(Items("key:=va'lue"), Strings{"key:=va"});
    EXPECT_EQ(Items("key:=it's'ok"), Strings{"key:=it's'ok"});
    // a one-byte anchor keeps brackets out of the back part
    Kind(kItemUser, "=");
    EXPECT_EQ(Items("f(x)=y+1"), Strings{"=y+1"});
}

TEST_F(ItemScannerTest, HexModeDumpsTheFollowingBytes)
{
    Kind(kItemUser, "4a6F");
    app.settings.userHex = true;
    const Rows rows = ScanText(std::string("xxJohn\x01Smith", 12));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "4A 6F 68 6E 01 53 6D 69 74 68 [John.Smith]");
    EXPECT_EQ(rows[0][2], "0x2");
    EXPECT_EQ(rows[0][4], "68 6E 01 53 6D 69 74 68");
    // the bytes are matched exactly
    EXPECT_TRUE(Items("xxjohn").empty());
    app.settings.minimalLength = 1;
    EXPECT_EQ(Items("Jo"), Strings{"4A 6F"});
}

TEST_F(ItemScannerTest, HexModeWithLongStringsStaysWithinACell)
{
    Kind(kItemUser);
    app.settings.userHex = true;
    for (std::size_t len : {40u, 60u, 100u, 200u}) {
        std::string bytes;
        std::string hex;
        for (std::size_t i = 0; i < len; ++i) {
            bytes += static_cast<char>('A' + i % 26);
            char h[3];
            std::snprintf(h, sizeof h, "%02X", 'A' + static_cast<int>(i % 26));
            hex += h;
        }
        app.settings.userStrings[0] = hex;
        const Rows rows = ScanText("..." + bytes + "0123456789abcdefghij");
        ASSERT_EQ(rows.size(), 1u) << len;
        EXPECT_LE(rows[0][0].size(), 259u) << len;
        EXPECT_EQ(rows[0][0].substr(0, 8), "41 42 43") << len;
    }
}

TEST_F(ItemScannerTest, DuplicatePolicies)
{
    Kind(kItemEmail);
    const std::string aba = "anna@example.org bert@example.org anna@example.org";
    const std::string abca = aba.substr(0, 34) + "carl@example.org anna@example.org";
    app.settings.duplicatesPolicy = 1;
    EXPECT_EQ(Items(aba), (Strings{"anna@example.org", "bert@example.org"}));
    EXPECT_EQ(Items(abca).size(), 4u);
    app.settings.duplicatesPolicy = 0;
    EXPECT_EQ(Items(aba).size(), 3u);
    app.settings.duplicatesPolicy = 3;
    EXPECT_EQ(Items(abca), Strings{"anna@example.org"});
}

TEST_F(ItemScannerTest, FilterWordsApplyToTheItem)
{
    Kind(kItemEmail);
    app.settings.restrictEnabled = true;
    app.filterWords.mustNot = {"spam"};
    EXPECT_EQ(Items("spam@example.org anna@example.org"), Strings{"anna@example.org"});
    app.filterWords.mustNot.clear();
    app.filterWords.must = {".net"};
    EXPECT_EQ(Items("anna@example.org bert@example.net"), Strings{"bert@example.net"});
}

TEST_F(ItemScannerTest, BinaryDataEndsAScanOfTextFilesOnly)
{
    Kind(kItemEmail);
    const std::string text = std::string("anna@example.org \x02 bert@example.org", 36);
    EXPECT_EQ(Items(text).size(), 2u);
    ASSERT_TRUE(PrepareScan(app));
    app.settings.fileTypeMode = 2;
    app.scan.nonBinaryOnly = true;
    ItemScanner scanner(app);
    scanner.ScanFile(Write(text));
    EXPECT_EQ(TakeRows().size(), 1u);
    // the control bytes that text files hold do not count
    scanner.ScanFile(Write(std::string("anna@example.org \t\x0C\x1B\x15\0 bert@example.org", 39)));
    EXPECT_EQ(TakeRows().size(), 2u);
}

TEST_F(ItemScannerTest, StopAndSkipEndTheScanAtOnce)
{
    SkippingUiPort skipping;
    AppState other(skipping);
    skipping.jobs = &other.jobs;
    other.jobs.jobCode.store(kJobFolderSearch);
    other.settings.itemKind = kItemEmail;
    other.settings.duplicatesPolicy = 0;
    other.list.SetColumns(std::vector<ColumnState>(4));
    ASSERT_TRUE(PrepareScan(other));
    const std::string filler(300000, 'x');
    const std::string path = Write("anna@example.org " + filler + " bert@example.org " + filler + " carl@example.org");
    ItemScanner scanner(other);
    EXPECT_EQ(scanner.ScanFile(path), 1);
    EXPECT_EQ(other.list.RowCount(), 1u);
    // the next file starts with the flag cleared
    skipping.jobs = nullptr;
    EXPECT_EQ(scanner.ScanFile(path), 1);
    EXPECT_EQ(other.list.RowCount(), 4u);

    other.jobs.jobCode.store(kJobIdle);
    EXPECT_EQ(scanner.ScanFile(path), 1);
    EXPECT_EQ(other.list.RowCount(), 4u);
}

TEST_F(ItemScannerTest, MissingFileIsReportedByName)
{
    Kind(kItemEmail);
    ASSERT_TRUE(PrepareScan(app));
    ItemScanner scanner(app);
    EXPECT_EQ(scanner.ScanFile(m_dir + "/gone.txt"), 0);
    EXPECT_EQ(ui.Pane(1), "Could not open gone.txt ");
    EXPECT_EQ(scanner.ScanFile(m_dir), 0);
}

TEST_F(ItemScannerTest, SeveralFilesShowTheirPaths)
{
    Kind(kItemEmail);
    ASSERT_TRUE(PrepareScan(app));
    app.search.severalFiles = true;
    ItemScanner scanner(app);
    const std::string path = Write("nothing here");
    scanner.ScanFile(path);
    EXPECT_EQ(ui.Pane(0), path);
}

TEST_F(ItemScannerTest, ProgressFromTheDocumentedSizeOn)
{
    Kind(kItemEmail);
    ASSERT_TRUE(PrepareScan(app));
    ItemScanner scanner(app);
    scanner.ScanFile(Write(std::string(808999, 'a')));
    EXPECT_EQ(ui.ProgressBegins(), 0);
    scanner.ScanFile(Write(std::string(809000, 'a')));
    EXPECT_EQ(ui.ProgressBegins(), 1);
    EXPECT_EQ(ui.ProgressSteps(), 100);
    EXPECT_EQ(ui.ProgressEnds(), 1);
}

TEST_F(ItemScannerTest, LinesStayRightAcrossBlocksAndHits)
{
    Kind(kItemEmail);
    std::string text;
    std::vector<std::string> expectLines;
    int line = 1;
    for (int i = 0; i < 7000; ++i) {
        text += std::string(static_cast<std::size_t>(i % 700), 'z') + "\n";
        ++line;
        if (i % 97 == 0) {
            text += "user" + std::to_string(i) + "@example.org\n";
            expectLines.push_back(std::to_string(line));
            ++line;
        }
    }
    const Rows rows = ScanText(text);
    ASSERT_EQ(rows.size(), expectLines.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i][1], expectLines[i]) << i;
    EXPECT_GT(text.size(), 2 * BlockReader::kBlockSize);
}

TEST_F(ItemScannerTest, BufferWindowsGiveTheRowsOfTheWholePage)
{
    Kind(kItemEmail);
    std::string page;
    for (int i = 0; i < 60; ++i)
        page += "line " + std::to_string(i) + " mail person" + std::to_string(i) + "@example.org ok\n";
    const Rows whole = ScanText(page);
    ASSERT_EQ(whole.size(), 60u);

    ItemScanner scanner(app);
    PageRecord record;
    for (std::size_t at = 0; at < page.size(); at += 1024) {
        record.lastBuffer = at + 1024 >= page.size();
        scanner.ScanBuffer(page.data() + at, page.size() - at, at, record);
    }
    const Rows windows = TakeRows();
    ASSERT_EQ(windows.size(), whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) {
        EXPECT_EQ(windows[i][0], whole[i][0]);
        EXPECT_EQ(windows[i][1], whole[i][1]);
        EXPECT_EQ(windows[i][2], whole[i][2]);
    }
    EXPECT_TRUE(record.followLinks);
}

TEST_F(ItemScannerTest, BinaryPageClearsTheLinkFlags)
{
    Kind(kItemEmail);
    ASSERT_TRUE(PrepareScan(app));
    ItemScanner scanner(app);
    PageRecord record;
    record.lastBuffer = true;
    record.binaryTest = true;
    const std::string page("\x01 anna@example.org", 18);
    scanner.ScanBuffer(page.data(), page.size(), 4096, record);
    EXPECT_FALSE(record.followLinks);
    EXPECT_FALSE(record.followLinks2);
    const Rows rows = TakeRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], ""); // no line number in binary data of a buffer
    EXPECT_EQ(rows[0][2], "0x1006");
}

// The fast path skips to the anchor's first byte; the reference path reads every byte. Both must
// give the same rows, in the same order, with the same lines and offsets.
TEST_F(ItemScannerTest, FastPathMatchesByteByByteReading)
{
    const char* pieces[] = {"function ", "go(", "a, b)", "@", ".", "1", "192.", "168.", "0.", "7", "example",
                            "org", " ", "\n", "\r\n", "\t", "\x01", "(", ")", "<", ">", "&amp;", "&#64;",
                            "\"", "'", "www.", "http://", "ww", "Function", "%2E", "-", "_", ",", ";",
                            "\xC4", "\xE4", "Jo", "jo", "aa", "bb", "cc", "fun", "F"};
    std::mt19937 rng(12345);
    struct Setting
    {
        int kind;
        const char* user;
        bool hex, prefix, line, urlLike, fold;
        int dup;
    };
    const Setting settings[] = {
        {kItemUser, "www.", false, false, false, false, true, 0},
        {kItemUser, "jo", false, false, true, false, true, 1},
        {kItemUser, "aab", false, true, false, true, true, 0},
        {kItemUser, "4A6F", true, false, false, false, false, 0},
        {kItemUser, "\xE4", false, false, false, false, true, 0},
        {kItemUser, "@", false, false, false, false, true, 0},
        {kItemJavascript, "", false, false, false, false, true, 1},
        {kItemEmail, "", false, false, false, false, true, 0},
        {kItemEmail, "", false, false, false, true, true, 2},
        {kItemIp, "", false, false, false, false, true, 0},
    };
    app.settings.minimalLength = 2;
    for (const Setting& s : settings) {
        app.settings.itemKind = s.kind;
        app.settings.userStrings[0] = s.user;
        app.settings.userHex = s.hex;
        app.settings.userPrefix = s.prefix;
        app.settings.userEntireLine = s.line;
        app.settings.caseSensitive = !s.fold;
        app.settings.duplicatesPolicy = s.dup;
        app.tables.SetUrlLike(s.urlLike);
        for (int round = 0; round < 16; ++round) {
            std::string text;
            const int count = 50 + static_cast<int>(rng() % 3000);
            for (int i = 0; i < count; ++i)
                text += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
            // every fourth round stops at the first binary byte
            const bool textOnly = round % 4 == 3;
            app.settings.fileTypeMode = textOnly ? 2 : 0;
            const Rows fast = ScanText(text, false, textOnly);
            const Rows slow = ScanText(text, true, textOnly);
            ASSERT_EQ(fast, slow) << "kind " << s.kind << " user " << s.user << " round " << round;
        }
    }
    // across the reader's block boundaries
    app.settings.itemKind = kItemEmail;
    app.settings.fileTypeMode = 0;
    std::string big;
    while (big.size() < 3 * BlockReader::kBlockSize)
        big += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
    const Rows fast = ScanText(big, false);
    EXPECT_FALSE(fast.empty());
    EXPECT_EQ(fast, ScanText(big, true));
}

// Candidates a few bytes apart, in small files (their last bytes), and across the reader's block
// boundaries: the places where the fast path tests a start through the reader instead of the wide
// filter, or keeps the filter's marks from one candidate to the next.
TEST_F(ItemScannerTest, FastPathMatchesByteByByteReadingOnDenseCandidates)
{
    const char* pieces[] = {"1",        "22",        "333",   "4444", "0",   "256", "19",   ".", ".",
                            "..",       " ",         "\n",    "x",    "@",   "a.b", "ab",   "_", "\"",
                            "function", "FUNCTION ", " ",     "(",    ")",   "\t",  "www.", "w", "ww",
                            "e.g.",     "192.168.",  "10.0.", "\x01", "%41", "-",   "."};
    struct Setting
    {
        int kind;
        const char* user;
        bool textOnly;
    };
    const Setting settings[] = {{kItemIp, "", false},         {kItemIp, "", true},
                                {kItemEmail, "", false},      {kItemEmail, "", true},
                                {kItemJavascript, "", false}, {kItemUser, "www.", false},
                                {kItemUser, "..", false},     {kItemUser, "w", true}};
    std::mt19937 rng(777);
    app.settings.minimalLength = 2;
    app.settings.ipSumLimit = 10;
    const auto text = [&](std::size_t size) {
        std::string out;
        while (out.size() < size)
            out += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
        out.resize(size);
        return out;
    };
    for (const Setting& s : settings) {
        app.settings.itemKind = s.kind;
        app.settings.userStrings[0] = s.user;
        app.settings.fileTypeMode = s.textOnly ? 2 : 0;
        // small files: every candidate is near the end of the data
        for (std::size_t size = 1; size < 160; size += 1 + rng() % 5) {
            const std::string small = text(size);
            ASSERT_EQ(ScanText(small, false, s.textOnly), ScanText(small, true, s.textOnly))
                << "kind " << s.kind << " size " << size << " text " << small;
        }
        // a file of three blocks, with the candidates going on over their boundaries
        const std::string big = text(2 * BlockReader::kBlockSize + 3 * BlockReader::kOverlap + 777);
        const Rows fast = ScanText(big, false, s.textOnly);
        ASSERT_EQ(fast, ScanText(big, true, s.textOnly)) << "kind " << s.kind << " user " << s.user;
        if (!s.textOnly) {
            EXPECT_FALSE(fast.empty()) << "kind " << s.kind;
        }
    }
}

// The file is changed when the first row arrives, while only its first block has been read: the
// scan ends where the bytes end, finds nothing that was not in the data it read, and the rows it
// gives keep their lines and offsets.
TEST_F(ItemScannerTest, FileThatShrinksGrowsOrVanishesWhileItIsScannedEndsCleanly)
{
    Kind(kItemEmail);
    const std::size_t block = BlockReader::kBlockSize;
    std::string text = "first anna@example.org\n";
    const auto fill = [&](std::size_t upTo) {
        while (text.size() < upTo)
            text += std::string(70, 'z') + "\n";
    };
    fill(block + block / 2);
    const std::size_t bert = text.size();
    text += "then bert@example.org\n";
    fill(2 * block + block / 2);
    const std::size_t carl = text.size();
    text += "last carl@example.org\n";
    fill(3 * block);
    const auto lineOf = [&](std::size_t at) {
        return std::to_string(1 +
                              std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    };

    enum class Change { Shrink, Empty, ShrinkIntoTheFirstBlock, Grow, Vanish };
    for (const Change change :
         {Change::Shrink, Change::Empty, Change::ShrinkIntoTheFirstBlock, Change::Grow, Change::Vanish}) {
        for (const bool reference : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << "change " << static_cast<int>(change) << " reference " << reference);
            const std::string path = Write(text);
            ASSERT_TRUE(PrepareScan(app));
            ItemScanner scanner(app);
            scanner.SetReferencePath(reference);
            bool changed = false;
            scanner.SetRowSink([&](AppState& state, const std::string& item) {
                if (!changed) {
                    changed = true;
                    switch (change) {
                    case Change::Shrink: // in the middle of carl's address
                        EXPECT_EQ(truncate(path.c_str(), static_cast<off_t>(carl + 12)), 0);
                        break;
                    case Change::Empty:
                        EXPECT_EQ(truncate(path.c_str(), 0), 0);
                        break;
                    case Change::ShrinkIntoTheFirstBlock:
                        EXPECT_EQ(truncate(path.c_str(), 100), 0);
                        break;
                    case Change::Grow: {
                        FILE* f = std::fopen(path.c_str(), "ab");
                        std::fputs("grown dora@example.org\n", f);
                        std::fclose(f);
                        break;
                    }
                    case Change::Vanish:
                        EXPECT_EQ(unlink(path.c_str()), 0);
                        break;
                    }
                }
                return AddResultRow(state, item);
            });
            EXPECT_EQ(scanner.ScanFile(path), 1);
            const Rows rows = TakeRows();
            Strings items;
            for (const auto& row : rows)
                items.push_back(row[0]);
            switch (change) {
            case Change::Shrink:
                EXPECT_EQ(items, (Strings{"anna@example.org", "bert@example.org"}));
                break;
            case Change::Empty:
            case Change::ShrinkIntoTheFirstBlock:
                EXPECT_EQ(items, Strings{"anna@example.org"});
                break;
            case Change::Grow:
            case Change::Vanish:
                EXPECT_EQ(items, (Strings{"anna@example.org", "bert@example.org", "carl@example.org"}));
                break;
            }
            if (rows.size() >= 2) {
                EXPECT_EQ(rows[1][1], lineOf(bert));
                char offset[24];
                std::snprintf(offset, sizeof offset, "0x%zX", text.find('@', bert));
                EXPECT_EQ(rows[1][2], offset);
            }
            if (rows.size() >= 3) {
                EXPECT_EQ(rows[2][1], lineOf(carl));
            }
            unlink(path.c_str());
        }
    }
}

// The job code is read at least every 64 KiB also where the data holds no candidate: a stop made
// at the first progress step ends the scan long before the hit at the end.
TEST_F(ItemScannerTest, StopIsSeenWithin64KiBWhereNoCandidateIs)
{
    StopAtProgressUiPort stopping;
    AppState other(stopping);
    stopping.jobCode = &other.jobs.jobCode;
    other.jobs.jobCode.store(kJobFolderSearch);
    other.list.SetColumns(std::vector<ColumnState>(4));
    for (const int kind : {kItemEmail, kItemIp, kItemJavascript}) {
        other.jobs.jobCode.store(kJobFolderSearch);
        other.settings.itemKind = kind;
        ASSERT_TRUE(PrepareScan(other));
        const std::string path =
            Write(std::string(4u << 20, 'z') + " anna@example.org function go(x) host 192.168.1.1 up");
        ItemScanner scanner(other);
        const int stepsBefore = stopping.ProgressSteps();
        EXPECT_EQ(scanner.ScanFile(path), 1);
        EXPECT_EQ(other.list.RowCount(), 0u) << kind;
        // each 1 % is 42 KB: a stop seen within 64 KiB leaves a few steps, not a hundred
        EXPECT_LE(stopping.ProgressSteps() - stepsBefore, 5) << kind;
    }
}

// Line numbers and the binary stop where long stretches without a candidate lie between the
// hits: the fast path counts those stretches only when a hit needs them, or every 64 KiB.
TEST_F(ItemScannerTest, LinesAndBinaryStopOverLongStretchesWithoutCandidates)
{
    Kind(kItemIp);
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += std::string(static_cast<std::size_t>(1000 + i * 7919 % 90000), 'q');
        text += std::string(static_cast<std::size_t>(i % 5), '\n');
        text += " 3.14 1.2.3 host 192.168." + std::to_string(i) + ".9 up\n";
    }
    const Rows fast = ScanText(text, false);
    ASSERT_EQ(fast.size(), 40u);
    EXPECT_EQ(fast, ScanText(text, true));
    // a binary byte in the middle of a long stretch ends a text-only scan before the next hit
    app.settings.fileTypeMode = 2;
    std::string binary = text;
    binary[text.find("192.168.20.") - 500] = '\x02';
    const Rows stopped = ScanText(binary, false, true);
    EXPECT_EQ(stopped.size(), 20u);
    EXPECT_EQ(stopped, ScanText(binary, true, true));
}

} // namespace
} // namespace lt
