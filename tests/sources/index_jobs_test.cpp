// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/index_jobs.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "core/app_state.h"
#include "list/list_kind.h"
#include "recording_ui_port.h"
#include "search/temp_tree.h"
#include "sources/index_delete.h"
#include "sources/index_fixture.h"

namespace lt {
namespace {

using test::IndexBuilder;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class IndexJobsTest : public ::testing::Test
{
protected:
    void RunHistory(const std::string& folder)
    {
        ASSERT_TRUE(StartCurrentHistory(app, folder));
        JoinWorker(app);
    }
    std::vector<std::string> Urls() const
    {
        std::vector<std::string> urls;
        app.list.ForEachRow([&](std::size_t, const ResultRow& r) { urls.push_back(r.Cell(0)); });
        return urls;
    }
    void Select(const std::vector<std::string>& urls)
    {
        std::vector<std::size_t> rows;
        app.list.ForEachRow([&](std::size_t i, const ResultRow& r) {
            for (const auto& u : urls)
                if (r.Cell(0) == u)
                    rows.push_back(i);
        });
        app.list.SetSelectedRows(rows);
    }

    testing::TempTree tree;
    RecordingUiPort port;
    AppState app{port};
};

TEST_F(IndexJobsTest, CurrentHistoryReadsMainAndSubHistories)
{
    IndexBuilder main;
    main.Record("Visited: joe@http://main.example/");
    const std::string mainPath = tree.Write("History/History.IE5/index.dat", main.bytes);
    IndexBuilder sub;
    sub.Record(":2024010120240108: joe@http://sub.example/");
    const std::string subPath = tree.Write("History/History.IE5/MSHist012024010120240108/INDEX.DAT", sub.bytes);
    tree.Write("History/History.IE5/.hidden/index.dat", sub.bytes);
    RunHistory(tree.Path("History"));

    ASSERT_EQ(Urls(), (std::vector<std::string>{"http://main.example", "http://sub.example"}));
    const ResultRow first = app.list.Row(0), second = app.list.Row(1);
    EXPECT_EQ(app.listState.kind, kListHistoryIndex);
    EXPECT_EQ(first.Cell(1), " joe");
    EXPECT_EQ(first.Cell(2), "  7");
    EXPECT_EQ(first.Cell(5), mainPath);
    EXPECT_EQ(second.Cell(1), "joe");
    EXPECT_EQ(second.Cell(5), subPath);
    EXPECT_EQ(first.fileNumber, 1u);
    EXPECT_EQ(second.fileNumber, 2u);
    EXPECT_EQ(first.param, 20480u | 1u << 24);
    ASSERT_FALSE(port.Messages().empty());
    EXPECT_EQ(port.Messages().back().text, "2 Items found !");
    EXPECT_EQ(port.Pane(1), "MSIE v001");
}

TEST_F(IndexJobsTest, StopsAtTheLastFileNumber)
{
    IndexBuilder sub;
    sub.Record(":2024010120240108: joe@http://sub.example/");
    tree.Write("H/index.dat", sub.bytes);
    for (int i = 0; i < 260; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "H/MSHist%03d/index.dat", i);
        tree.Write(name, sub.bytes);
    }
    RunHistory(tree.Path("H"));
    EXPECT_EQ(app.list.RowCount(), 255u);
    uint32_t highest = 0;
    app.list.ForEachRow([&](std::size_t, const ResultRow& r) {
        EXPECT_NE(r.fileNumber, 0u);
        highest = std::max(highest, r.fileNumber);
    });
    EXPECT_EQ(highest, 255u);
}

TEST_F(IndexJobsTest, DeleteBlanksOnlyTheRecordsAndKeepsATableBetween)
{
    IndexBuilder b;
    b.Record("Visited: a@http://one/");
    b.Table("HASH", 4);
    b.Record("Visited: a@http://two/");
    b.Record("Visited: a@http://three/");
    // A record beyond 16 MiB: its 24-bit parameter points elsewhere.
    b.Record("Visited: a@http://far/", 3, 1, IndexBuilder::FileTime(1700000000), 0, "", (uint64_t{16} << 20) + 20480 + 128 * 3);
    const std::string path = tree.Write("H/index.dat", b.bytes);
    RunHistory(tree.Path("H"));
    ASSERT_EQ(app.list.RowCount(), 4u);

    Select({"http://one", "http://far"});
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(DeleteIndexRecords(app), 2);
    EXPECT_EQ(port.Messages().back().text, "2 Items deleted !");
    EXPECT_EQ(Urls(), (std::vector<std::string>{"http://three", "http://two"}));
    const std::string after = ReadAll(path);
    ASSERT_EQ(after.size(), b.bytes.size());
    // Everything but the two records' own blocks is as it was.
    std::size_t changed = 0;
    for (std::size_t i = 0; i < after.size(); ++i)
        changed += after[i] != b.bytes[i];
    EXPECT_GT(changed, 500u);
    EXPECT_LE(changed, 2u * 384u);
    EXPECT_EQ(after.substr(20480 + 384, 512), b.bytes.substr(20480 + 384, 512)); // the HASH table
    EXPECT_EQ(after.substr(20480, 384).find("URL"), std::string::npos);

    // A re-read lists the others unchanged.
    RunHistory(tree.Path("H"));
    EXPECT_EQ(Urls(), (std::vector<std::string>{"http://three", "http://two"}));
}

TEST_F(IndexJobsTest, DeleteRefusesRowsNotReadFromTheRecordNow)
{
    IndexBuilder b;
    const uint64_t one = b.Record("Visited: a@http://one/");
    b.Record("Visited: a@http://two/");
    const std::string path = tree.Write("H/index.dat", b.bytes);
    RunHistory(tree.Path("H"));
    ASSERT_EQ(app.list.RowCount(), 2u);

    // The browser rewrote the file: another URL at the same place.
    IndexBuilder changed;
    changed.Record("Visited: a@http://other/");
    changed.Record("Visited: a@http://two/");
    tree.Write("H/index.dat", changed.bytes);
    // A row as a session restores it: no file of this run.
    app.list.Modify([](std::vector<ResultRow>& rows) { rows[1].fileNumber = 0; });
    app.list.SetSelectedRows({0, 1});
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(DeleteIndexRecords(app), 0);
    EXPECT_EQ(app.list.RowCount(), 2u);
    EXPECT_EQ(ReadAll(path), changed.bytes);
    (void)one;

    // No answer, nothing done.
    app.list.SetSelectedRows({0});
    port.QueueAnswer(MsgAnswer::No);
    EXPECT_EQ(DeleteIndexRecords(app), -1);
}

TEST_F(IndexJobsTest, CookieIndexListsAndDeletesTextFilesBesideIt)
{
    IndexBuilder b;
    b.Record("Cookie:joe@example.com/", 3, 2, IndexBuilder::FileTime(1700000000), 0, "joe@example[1].txt");
    b.Record("Cookie:joe@gone.example/", 3, 2, IndexBuilder::FileTime(1700000000), 0, "joe@gone[1].txt");
    b.Record("Cookie:joe@evil.example/", 3, 2, IndexBuilder::FileTime(1700000000), 0, "../victim.txt");
    const std::string path = tree.Write("C/index.dat", b.bytes);
    const std::string text = tree.Write("C/joe@example[1].txt", "a\nb\nexample.com/\n");
    const std::string victim = tree.Write("victim.txt", "keep");
    ReadCookieIndex(app, path, "Cookie:");
    ASSERT_EQ(Urls(), (std::vector<std::string>{"evil.example", "example.com", "gone.example"}));
    EXPECT_EQ(app.listState.kind, kListCookieIndex);
    EXPECT_EQ(app.list.Row(1).Cell(2), "joe@example[1].txt");
    EXPECT_EQ(app.list.Row(2).Cell(2), "**joe@gone[1].txt");
    EXPECT_EQ(app.list.Row(1).Cell(4), "2023/11/14, 22:13:20");

    app.list.SetSelectedRows({0, 1, 2});
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(DeleteIndexRecords(app), 3);
    EXPECT_EQ(port.Messages()[0].text, "Overwrite selected Url(s)\r\nand delete corresponding Text file(s) ?");
    EXPECT_FALSE(std::filesystem::exists(text));
    EXPECT_EQ(ReadAll(victim), "keep");

    // A foreign header is refused with a message.
    IndexBuilder old(false, "3.2");
    old.Record("Cookie:joe@example.com/");
    ReadCookieIndex(app, tree.Write("C2/index.dat", old.bytes), "Cookie:");
    EXPECT_EQ(port.Messages().back().text, "File format not valid !");
    EXPECT_EQ(app.list.RowCount(), 0u);
}

TEST_F(IndexJobsTest, DialogReadingListsKindFiveWithoutFileNumbers)
{
    IndexBuilder b;
    b.Record("http://cache.example/a.gif");
    const std::string path = tree.Write("T/index.dat", b.bytes);
    ASSERT_TRUE(StartIndexFileJob(app, path, "Visited:", 3));
    JoinWorker(app);
    ASSERT_EQ(app.list.RowCount(), 1u);
    EXPECT_EQ(app.listState.kind, kListCacheIndex);
    EXPECT_EQ(app.list.Row(0).fileNumber, 0u);

    std::string shortFile = b.bytes.substr(0, 20479);
    const std::string shortPath = tree.Write("T/short.dat", shortFile);
    const std::size_t before = port.Messages().size();
    ASSERT_TRUE(StartIndexFileJob(app, shortPath, "Visited:", 1));
    JoinWorker(app);
    EXPECT_EQ(app.list.RowCount(), 0u);
    EXPECT_EQ(port.Messages().size(), before); // no result message

    EXPECT_FALSE(StartIndexFileJob(app, tree.Path("T/missing.dat"), "Visited:", 1));
    EXPECT_EQ(port.Messages().back().text, "Could not open " + tree.Path("T/missing.dat") + " ");
}

} // namespace
} // namespace lt
