// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/index_file.h"

#include <gtest/gtest.h>
#include <vector>

#include "sources/index_fixture.h"

namespace lt {
namespace {

using test::IndexBuilder;

std::vector<IndexRow> Scan(const std::string& bytes, const std::string& label = "Visited:", int kind = kIndexMainHistory,
                           IndexScanResult* result = nullptr)
{
    MemoryByteSource source(bytes);
    IndexScanOptions options;
    options.label = label;
    options.kind = kind;
    std::vector<IndexRow> rows;
    const IndexScanResult r = ScanIndexFile(source, options, [&](const IndexRow& row) { rows.push_back(row); });
    if (result)
        *result = r;
    return rows;
}

TEST(IndexFileTest, SplitsHistoryTextsIntoUserAndUrl)
{
    struct Case
    {
        const char* text;
        int kind;
        const char* user;
        const char* url;
    } cases[] = {
        // The blank after the label stays with the user; the last "/" goes.
        {"Visited: joe@http://host/path/", kIndexMainHistory, " joe", "http://host/path"},
        // A port that looks like the start of a sub-history key is just a port.
        {"Visited: joe@http://host:2000/x", kIndexMainHistory, " joe", "http://host:2000/x"},
        {"Visited: joe@http://host:1999/", kIndexMainHistory, " joe", "http://host:1999"},
        // In label mode a blank ends the URL and other characters outside the set are escaped.
        {"Visited: joe@http://a/b\"c<d end", kIndexMainHistory, " joe", "http://a/b%22c%3Cd"},
        {"Visited: joe@http://a/[x]", kIndexMainHistory, " joe", "http://a/[x]"},
        {"Visited: joe@http://a/x]}.", kIndexMainHistory, " joe", "http://a/x"},
        {"Visited: joe@http://a/{x}", kIndexMainHistory, " joe", "http://a/{x}"},
        {"Visited: joe@:http://a/b\r\nc", kIndexMainHistory, " joe", "http://a/bc"},
    };
    for (const Case& c : cases) {
        IndexBuilder b;
        b.Record(c.text);
        const auto rows = Scan(b.bytes, "Visited:", c.kind);
        ASSERT_EQ(rows.size(), 1u) << c.text;
        EXPECT_EQ(rows[0].user, c.user) << c.text;
        EXPECT_EQ(rows[0].url, c.url) << c.text;
    }
}

TEST(IndexFileTest, ReadsSubHistoryKeysOnlyAtTheStart)
{
    IndexBuilder b;
    // Sub-history texts do not begin with the label: label mode ends at the first record.
    b.Record(":2024010120240108: joe@http://x/a b");
    b.Record(":1999123120000107: ann@ftp://y/");
    b.Record("http://host:2000/z");
    const auto rows = Scan(b.bytes, "Visited:", kIndexSubHistory);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].user, "joe");
    EXPECT_EQ(rows[0].url, "http://x/a b");
    EXPECT_EQ(rows[1].user, "ann");
    EXPECT_EQ(rows[1].url, "ftp://y");
    EXPECT_EQ(rows[2].user, "");
    EXPECT_EQ(rows[2].url, "http://host:2000/z");
    // Date 2 of a sub-history file is shown as stored (UTC), Date 1 in local time (UTC in tests).
    EXPECT_EQ(rows[0].date1, "2023/11/14, 22:13:20");
    EXPECT_EQ(rows[0].date2, "2023/11/14, 23:13:20");
    EXPECT_EQ(rows[0].hits, "  7");
}

TEST(IndexFileTest, CacheIndexWithTheHistoryLabelListsPlainUrls)
{
    IndexBuilder b;
    b.Record("http://a.example/x.gif");
    b.Record("http://b.example/page.html more");
    b.Record("http://c.example/q@r");
    const auto rows = Scan(b.bytes, "Visited:", kIndexTempFiles);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].url, "http://b.example/page.html");
    EXPECT_EQ(rows[2].url, "http://c.example/q@r");
    for (const auto& r : rows)
        EXPECT_EQ(r.user, "");
}

TEST(IndexFileTest, AcceptsRecordsOnlyOnBlockBoundariesOutsideTheirPredecessor)
{
    IndexBuilder b;
    const uint64_t first = b.Record("Visited: a@http://first/", 4);
    b.bytes.resize(first + 128 * 5, '\0');
    // A signature inside the first record's four blocks, and one off the block grid.
    b.bytes.replace(first + 128 * 2, 4, "URL ");
    b.bytes.replace(first + 128 * 4 + 64, 4, "URL ");
    b.Record("Visited: a@http://second/", 2, 1, 0, 0, "", first + 128 * 5);
    // A record of 300 blocks: the count is 32-bit, so its inside (block 260) is not a record.
    const uint64_t big = b.Record("Visited: a@http://big/", 300);
    b.Record("Visited: a@http://inside/", 3, 1, IndexBuilder::FileTime(1700000000), 0, "", big + 260 * 128);
    b.Record("Visited: a@http://after/", 3, 1, 0, 0, "", big + 300 * 128);
    const auto rows = Scan(b.bytes);
    std::vector<std::string> urls;
    for (const auto& r : rows)
        urls.push_back(r.url);
    EXPECT_EQ(urls, (std::vector<std::string>{"http://first", "http://second", "http://big", "http://after"}));
    // Two zero time stamps pass the date test with empty cells.
    EXPECT_EQ(rows[1].date1, "");
    EXPECT_EQ(rows[1].date2, "");
}

TEST(IndexFileTest, HeaderVersionsAndShortFiles)
{
    // Version 4 keeps the text offset at +56 and has no hit count.
    IndexBuilder v4(false, "4.7");
    v4.Record("Visited: a@http://old/");
    IndexScanResult result;
    auto rows = Scan(v4.bytes, "Visited:", kIndexMainHistory, &result);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].url, "http://old");
    EXPECT_EQ(rows[0].hits, "");
    EXPECT_EQ(result.versionText, "4.7");

    // Wine's header reads as version 5 but shows its own characters.
    IndexBuilder wine;
    wine.Record("Visited: a@http://wine/");
    rows = Scan(wine.bytes, "Visited:", kIndexMainHistory, &result);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].hits, "  7");
    EXPECT_EQ(result.versionText, "001");

    // 20479 bytes hold no records; a record running into the file end is cut there.
    std::string shortFile = IndexBuilder().bytes;
    shortFile.resize(20479);
    rows = Scan(shortFile, "Visited:", kIndexMainHistory, &result);
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(result.tooShort);
    IndexBuilder cut;
    cut.Record("Visited: a@http://cut.example/long/path");
    cut.bytes.resize(20480 + 0x68 + 30);
    rows = Scan(cut.bytes);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].url, "http://cut.example");
}

TEST(IndexFileTest, RejectsRecordsWithImpossibleDates)
{
    IndexBuilder b;
    b.Record("Visited: a@http://good/");
    b.Record("Visited: a@http://future/", 3, 1, 0, IndexBuilder::FileTime(4200000000LL * 2));
    b.Record("Visited: a@http://good2/");
    const auto rows = Scan(b.bytes);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].url, "http://good2");
}

TEST(IndexFileTest, CookieIndexNamesAndHeaders)
{
    IndexBuilder b;
    b.Record("Cookie:joe@example.com/", 3, 2, IndexBuilder::FileTime(1700000000), 0, "joe@example[1].txt");
    b.Record("Cookie:joe@gone.example/", 3, 2, IndexBuilder::FileTime(1700000000), 0, "joe@gone[1].txt");
    b.Record("Cookie:joe@evil.example/", 3, 2, IndexBuilder::FileTime(1700000000), 0, "../../.bashrc");
    const uint64_t crafted = b.Record("Cookie:joe@crafted.example/", 3, 2, IndexBuilder::FileTime(1700000000));
    b.bytes[crafted + 60] = 8; // a name offset inside the record header
    MemoryByteSource source(b.bytes);
    IndexScanOptions options;
    options.cookieReader = true;
    options.label = "Cookie:";
    std::vector<std::string> asked;
    options.textFileExists = [&](const std::string& name) {
        asked.push_back(name);
        return name == "joe@example[1].txt";
    };
    std::vector<IndexRow> rows;
    IndexScanResult result = ScanIndexFile(source, options, [&](const IndexRow& r) { rows.push_back(r); });
    EXPECT_TRUE(result.formatValid);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].user, "joe");
    EXPECT_EQ(rows[0].url, "example.com");
    EXPECT_EQ(rows[0].textFile, "joe@example[1].txt");
    EXPECT_EQ(rows[1].textFile, "**joe@gone[1].txt");
    EXPECT_EQ(rows[2].textFile, "**../../.bashrc");
    EXPECT_EQ(rows[3].textFile, "");
    // Only plain names reach the file system.
    EXPECT_EQ(asked, (std::vector<std::string>{"joe@example[1].txt", "joe@gone[1].txt"}));

    IndexBuilder foreign(false, "3.2");
    foreign.Record("Cookie:joe@example.com/");
    MemoryByteSource old(foreign.bytes);
    result = ScanIndexFile(old, options, [&](const IndexRow&) { FAIL(); });
    EXPECT_FALSE(result.formatValid);
}

TEST(IndexFileTest, BlanksExactlyTheRecordsBlocks)
{
    IndexBuilder b;
    const uint64_t first = b.Record("Visited: a@http://one/", 3);
    const uint64_t table = b.Table("HASH", 4);
    const uint64_t second = b.Record("Visited: a@http://two/", 3);
    std::string bytes = b.bytes;
    ASSERT_TRUE(BlankIndexRecord(bytes, first));
    const std::string fill("\x0D\xF0\xAD\x0B");
    for (uint64_t i = 0; i < 384; ++i)
        ASSERT_EQ(bytes[first + i], fill[i % 4]);
    EXPECT_EQ(bytes.substr(table), b.bytes.substr(table));

    // Without a block count the lines are counted up to the next structure.
    bytes = b.bytes;
    IndexBuilder::Put32(bytes, first + 4, 0);
    ASSERT_TRUE(BlankIndexRecord(bytes, first));
    EXPECT_EQ(bytes.substr(table), b.bytes.substr(table));
    EXPECT_NE(bytes.substr(first, 16), b.bytes.substr(first, 16));

    // Not a record, out of range.
    bytes = b.bytes;
    EXPECT_FALSE(BlankIndexRecord(bytes, table));
    EXPECT_FALSE(BlankIndexRecord(bytes, 100));
    EXPECT_FALSE(BlankIndexRecord(bytes, bytes.size() - 8));
    EXPECT_EQ(bytes, b.bytes);
    (void)second;
}

TEST(IndexFileTest, PlainFileNames)
{
    for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b", "/etc/passwd"})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    for (const char* good : {"joe@x[1].txt", "ABCDEF12.txt", "..x"})
        EXPECT_TRUE(IsPlainFileName(good)) << good;
}

} // namespace
} // namespace lt
