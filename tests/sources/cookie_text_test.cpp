// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/cookie_text.h"

#include <gtest/gtest.h>
#include <vector>

#include "core/app_state.h"
#include "recording_ui_port.h"
#include "search/temp_tree.h"

namespace lt {
namespace {

// FILETIME 2023-11-14 22:13:20 UTC as the two decimal halves a cookie file holds.
constexpr const char* kLow = "3329032192";
constexpr const char* kHigh = "31070023";

std::string Cookie(const std::string& name, const std::string& value, const std::string& host,
                   const std::string& low = kLow, const std::string& high = kHigh)
{
    return name + "\n" + value + "\n" + host + "\n1024\n" + low + "\n" + high + "\n" + low + "\n" + high + "\n*\n";
}

std::vector<CookieRecord> Parse(const std::string& text)
{
    std::vector<CookieRecord> out;
    ParseCookieText(text, [&](const CookieRecord& r) { out.push_back(r); });
    return out;
}

TEST(CookieTextTest, ParsesRecordsLastFirst)
{
    const std::string text = Cookie("first", "1", "a.example/") + Cookie("second", std::string(300, 'v'), "b.example/path/") +
                             Cookie("third", "3", "c.example/");
    auto records = Parse(text);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].name, "third");
    EXPECT_EQ(records[2].name, "first");
    EXPECT_EQ(records[1].domain, "b.example/path");
    EXPECT_EQ(records[1].data, std::string(252, 'v') + " ...");
    EXPECT_EQ(records[0].created, "2023/11/14, 22:13:20");
    EXPECT_EQ(records[0].expires, "2023/11/14, 22:13:20");

    // CRLF line ends read as LF.
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    records = Parse(crlf);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].name, "third");
    EXPECT_EQ(records[0].data, "3");
}

TEST(CookieTextTest, MalformedRecordsEndTheFile)
{
    struct Case
    {
        std::string text;
        std::size_t rows;
    } cases[] = {
        // Parsing runs from the end: a bad record stops it, the later ones stay.
        {Cookie("a", "1", "a.example/") + Cookie("b", "2", "b.example/", "33290O2192") + Cookie("c", "3", "c.example/"), 1},
        // Ten digits above 2^31 are fine; above 2^32 they are not.
        {Cookie("a", "1", "a.example/", "4294967295"), 1},
        {Cookie("a", "1", "a.example/", "4294967296"), 0},
        {Cookie("a", "1", "a.example/", "9999999999"), 0},
        {Cookie("a", "1", "a.example/", "7"), 0},
        {Cookie("a", "1", ""), 0},
        {Cookie("a", "1", "/"), 0}, // no host once the slash goes (found by fuzzing)
        {"name\nvalue\nhost/\n*\n", 0},
        {"short\n*\n", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.text).size(), c.rows) << c.text;
}

TEST(CookieTextTest, ListsTextFilesOfAFolder)
{
    testing::TempTree tree;
    RecordingUiPort port;
    AppState app(port);
    tree.Write("cookies/joe@example[1].txt", Cookie("a", "1", "x.example/") + Cookie("b", "2", "x.example/"));
    // Wine's names carry no "@".
    tree.Write("cookies/ABCD1234.TXT", Cookie("w", "wine", "wine.example/"));
    tree.Write("cookies/big.txt", Cookie("big", std::string(8200, 'v'), "big.example/"));
    tree.Write("cookies/notes.dat", Cookie("n", "n", "n.example/"));
    tree.Write("cookies/readme.txt", "just some text that is no cookie file\n");
    ASSERT_TRUE(StartCookieTextJob(app, tree.Path("cookies")));
    JoinWorker(app);
    ASSERT_EQ(app.list.RowCount(), 3u);
    EXPECT_EQ(app.list.GetCell(0, 0), "ABCD1234.TXT");
    EXPECT_EQ(app.list.GetCell(0, 5), "wine");
    EXPECT_EQ(app.list.GetCell(1, 0), "joe@example[1].txt");
    EXPECT_EQ(app.list.GetCell(1, 4), "b");
    EXPECT_EQ(app.list.GetCell(2, 4), "a");
    EXPECT_EQ(app.list.GetCell(1, 1), "x.example");
    EXPECT_EQ(app.list.GetHeaderText(5), "Data");
    EXPECT_EQ(port.Messages().back().text, "3 Items found !");
    EXPECT_EQ(app.sources.cookieTextFolder, tree.Path("cookies"));
}

} // namespace
} // namespace lt
