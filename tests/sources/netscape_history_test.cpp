// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/netscape_history.h"

#include <gtest/gtest.h>
#include <vector>

#include "core/app_state.h"
#include "recording_ui_port.h"
#include "search/temp_tree.h"

namespace lt {
namespace {

// Builds Berkeley DB 1.85 hash files: a header page and bucket pages packed from the end down.
class HashBuilder
{
public:
    explicit HashBuilder(uint32_t pageSize = 4096, bool big = false, bool header = true) : m_size(pageSize), m_big(big)
    {
        bytes.assign(pageSize, '\0');
        if (header) {
            // The header is in the byte order of the machine that wrote it; take the pages' order.
            Put32(bytes, 0, 0x061561);
            Put32(bytes, 4, 2);
            Put32(bytes, 8, big ? 4321 : 1234);
            Put32(bytes, 12, pageSize);
        }
    }
    void Put32(std::string& b, std::size_t at, uint32_t v) const
    {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<char>(m_big ? v >> (24 - 8 * i) : v >> (8 * i));
    }
    void Put16(std::string& b, std::size_t at, uint32_t v) const
    {
        b[at] = static_cast<char>(m_big ? v >> 8 : v);
        b[at + 1] = static_cast<char>(m_big ? v : v >> 8);
    }
    static std::string Data(uint32_t last, uint32_t first, uint32_t count, const std::string& title, bool wide = true)
    {
        std::string d(wide ? 16 : 9, '\0');
        for (int i = 0; i < 4; ++i) {
            d[i] = static_cast<char>(last >> (8 * i));
            d[4 + i] = static_cast<char>(first >> (8 * i));
        }
        if (wide)
            for (int i = 0; i < 4; ++i)
                d[8 + i] = static_cast<char>(count >> (8 * i));
        else
            d[8] = static_cast<char>(count);
        return d + title + '\0';
    }
    static std::string OneTime(uint32_t t)
    {
        std::string d(4, '\0');
        for (int i = 0; i < 4; ++i)
            d[i] = static_cast<char>(t >> (8 * i));
        return d;
    }
    // A bucket page of (key, data) pairs; `fill` is what free space holds.
    void Page(const std::vector<std::pair<std::string, std::string>>& pairs, char fill = '\0')
    {
        std::string page(m_size, fill);
        const uint32_t n = static_cast<uint32_t>(pairs.size() * 2);
        Put16(page, 0, n);
        uint32_t end = m_size;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            const std::string& key = pairs[i].first;
            const std::string& data = pairs[i].second;
            const uint32_t keyAt = end - static_cast<uint32_t>(key.size());
            const uint32_t dataAt = keyAt - static_cast<uint32_t>(data.size());
            page.replace(keyAt, key.size(), key);
            page.replace(dataAt, data.size(), data);
            Put16(page, 2 + 4 * i, keyAt);
            Put16(page, 4 + 4 * i, dataAt);
            end = dataAt;
        }
        // The free-space and offset words behind the table.
        Put16(page, 2 + 2 * n, end - (4 + 2 * n));
        Put16(page, 4 + 2 * n, end);
        bytes += page;
    }
    void Raw(const std::string& page) { bytes += page; }

    std::string bytes;

private:
    uint32_t m_size;
    bool m_big;
};

std::vector<NetscapeEntry> Scan(const std::string& bytes)
{
    MemoryByteSource source(bytes);
    std::vector<NetscapeEntry> entries;
    ScanNetscapeHistory(source, [&](const NetscapeEntry& e) { entries.push_back(e); });
    return entries;
}

TEST(NetscapeHistoryTest, ReadsEntriesOfBothDataLayouts)
{
    HashBuilder b;
    b.Page({{std::string("http://a.example/\0", 18), HashBuilder::Data(1700000000, 1600000000, 40, "Forty visits")},
            {std::string("http://b.example/\0", 18), HashBuilder::Data(1700000000, 1600000000, 3, "Nine bytes", false)},
            {std::string("http://c.example/\0", 18), HashBuilder::OneTime(1700000000)}},
           'x');
    // A bitmap page: its first word is no count of pairs.
    b.Raw(std::string(4096, '\xFF'));
    b.Page({{std::string("http://d.example/\0", 18), HashBuilder::Data(1, 1, 1, "T\x01rest")}});
    const auto entries = Scan(b.bytes);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].url, "http://a.example/");
    EXPECT_EQ(entries[0].title, "Forty visits");
    EXPECT_EQ(entries[0].hits, " 40");
    EXPECT_EQ(entries[0].lastVisit, 1700000000);
    EXPECT_EQ(entries[0].firstVisit, 1600000000);
    EXPECT_EQ(entries[1].title, "Nine bytes");
    EXPECT_EQ(entries[1].hits, "  3");
    EXPECT_TRUE(entries[2].oneTime);
    EXPECT_EQ(entries[2].hits, "");
    EXPECT_EQ(entries[3].title, "T");
}

TEST(NetscapeHistoryTest, BoundsKeysPagesAndGeometry)
{
    // A key without a zero byte is dropped; a count that does not fit skips the page.
    HashBuilder b;
    b.Page({{"http://nozero.example/", HashBuilder::Data(1, 1, 1, "x")},
            {std::string("http://ok.example/\0", 19), HashBuilder::Data(1, 1, 1, "y")}});
    std::string odd(4096, '\0');
    odd[0] = 3; // an odd count
    b.Raw(odd);
    auto entries = Scan(b.bytes);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].url, "http://ok.example/");

    // One byte short of three pages: only the second page is read.
    HashBuilder three;
    three.Page({{std::string("http://second/\0", 15), HashBuilder::OneTime(5)}});
    three.Page({{std::string("http://third/\0", 14), HashBuilder::OneTime(5)}});
    three.bytes.pop_back();
    entries = Scan(three.bytes);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].url, "http://second/");

    // Big-endian pages of 512 bytes, as the header says.
    HashBuilder big(512, true);
    big.Page({{std::string("http://big.example/\0", 20), std::string("\x65\x53\xF1\x00", 4)}});
    entries = Scan(big.bytes);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].url, "http://big.example/");
    EXPECT_EQ(entries[0].lastVisit, 0x6553F100);

    // Without a valid header: 4096-byte little-endian pages.
    HashBuilder plain(4096, false, false);
    plain.Page({{std::string("http://plain/\0", 14), HashBuilder::OneTime(7)}});
    EXPECT_EQ(Scan(plain.bytes).size(), 1u);
    MemoryByteSource source(plain.bytes);
    EXPECT_EQ(DetectNetscapeFormat(source), 1);
}

TEST(NetscapeHistoryTest, ListsFilesWithTheirFormatsColumns)
{
    testing::TempTree tree;
    RecordingUiPort port;
    AppState app(port);
    HashBuilder old;
    old.Page({{std::string("http://old.example/\0", 20), HashBuilder::OneTime(1700000000)}});
    ASSERT_TRUE(ReadNetscapeHistory(app, tree.Write("old.hst", old.bytes)));
    ASSERT_EQ(app.list.ColumnCount(), 2);
    EXPECT_EQ(app.list.GetHeaderText(1), "Date");
    // Shown eight hours behind the stored time (UTC in tests).
    EXPECT_EQ(app.list.GetCell(0, 1), "2023/11/14, 14:13:20");

    HashBuilder fresh;
    fresh.Page({{std::string("http://new.example/\0", 20), HashBuilder::Data(1700000000, 1600000000, 33, "Title")}});
    ASSERT_TRUE(ReadNetscapeHistory(app, tree.Write("new.hst", fresh.bytes)));
    ASSERT_EQ(app.list.ColumnCount(), 5);
    EXPECT_EQ(app.list.GetCell(0, 1), "Title");
    EXPECT_EQ(app.list.GetCell(0, 2), " 33");
    EXPECT_EQ(app.list.GetCell(0, 3), "2023/11/14, 22:13:20");
    EXPECT_EQ(app.list.GetCell(0, 4), "2020/09/13, 12:26:40");

    ASSERT_TRUE(ReadNetscapeHistory(app, tree.Write("short.hst", std::string(4095, '\0'))));
    EXPECT_EQ(port.Messages().back().text, "No items found !");
    EXPECT_FALSE(ReadNetscapeHistory(app, tree.Path("missing.hst")));
    EXPECT_EQ(port.Messages().back().text, "Could not open " + tree.Path("missing.hst") + " ");

    tree.Write("unix/history.db", fresh.bytes);
    EXPECT_EQ(NetscapeHistoryIn(tree.Path("unix")), tree.Path("unix/history.db"));
}

TEST(NetscapeHistoryTest, FindsTheProfileNearTheEndOfNsreg)
{
    struct Case
    {
        std::string bytes;
        bool found;
        const char* folder;
    } cases[] = {
        {std::string(100, 'x') + "ProfileLocation" + '\0' + "C:\\Program Files\\Netscape\\Users\\joe" + '\0' + "zz", true,
         "C:\\Program Files\\Netscape\\Users\\joe"},
        {std::string(100, 'x') + "PROFILELOCATION?C:\\p" + std::string(6, 'y'), true, "C:\\pyyyyy"},
        {std::string(10, 'x') + "ProfileLocation" + '\0' + "C:\\x" + '\0' + std::string(3000, 'z'), false, ""},
        {std::string(10, 'x') + "ProfileLocation" + "\0ab", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        MemoryByteSource source(c.bytes);
        std::string folder;
        EXPECT_EQ(FindNetscapeProfile(source, folder), c.found) << c.bytes.substr(0, 40);
        EXPECT_EQ(folder, c.folder);
    }
}

} // namespace
} // namespace lt
