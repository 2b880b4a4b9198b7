// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/compare_job.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/job_control.h"
#include "list_test_support.h"
#include "platform/file_info.h"
#include "search/temp_tree.h"

namespace lt {
namespace {

using test::ColumnTexts;
using test::MakeColumn;

class CompareTest : public ::testing::Test, protected test::ListFixture
{
protected:
    void SetUp() override
    {
        same = tree.Write("same.txt", "1");
        touched = tree.Write("touched.txt", "22");
        gone = tree.Write("gone.txt", "333");
        fifo = tree.Path("fifo");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        for (const std::string& p : {same, touched, gone})
            testing::TempTree::SetTimes(p, 1600000000);
        app.listState.kind = kListFileList;
        app.list.SetAutoSort(AutoSort::Off);
        app.list.SetColumns({MakeColumn("File", kColPath), MakeColumn("Modified", kColDate),
                             MakeColumn("Created", kColDate), MakeColumn("Accessed", kColDate),
                             MakeColumn("Size", kColSize)});
        for (const std::string& p : {same, touched, gone, fifo}) {
            FileFacts f;
            ReadFileFacts(p, f);
            ResultRow row;
            row.cells = {p, FileDateText(f.writeTime), FileDateText(f.creationTime), FileDateText(f.accessTime),
                         std::to_string(f.size)};
            app.list.InsertRow(std::move(row));
        }
        testing::TempTree::SetTimes(touched, 1700000000);
        std::filesystem::remove(gone);
    }
    std::string Run(const DiskCompareParams& p)
    {
        EXPECT_TRUE(StartCompareJob(app, p));
        JoinWorker(app);
        const auto m = port.Messages();
        return m.empty() ? std::string() : m.back().text;
    }

    testing::TempTree tree;
    std::string same, touched, gone, fifo;
};

TEST_F(CompareTest, EqualModifiedDeletesUnchangedFilesAndMarksMissingOnes)
{
    app.list.SetSelectedRows({2});
    EXPECT_EQ(Run({}), "1 Item(s) deleted from List !");
    EXPECT_EQ(ColumnTexts(app.list, 0), (std::vector<std::string>{touched, gone, fifo}));
    // A FIFO is never opened and counts as not found, like a deleted file.
    EXPECT_EQ(app.list.Icon(0), 1);
    EXPECT_EQ(app.list.Icon(1), kIconFileMissing);
    EXPECT_EQ(app.list.Icon(2), kIconFileMissing);
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{1})); // still "gone"

    DiskCompareParams different;
    different.compareDifferent = true;
    different.deleteIfMissing = true;
    EXPECT_EQ(Run(different), "3 Item(s) deleted from List !");
    EXPECT_EQ(app.list.RowCount(), 0u);
}

TEST_F(CompareTest, RefreshSelectsExactlyTheChangedRows)
{
    DiskCompareParams refresh;
    refresh.refreshMode = true;
    refresh.compareSize = true;
    EXPECT_EQ(Run(refresh), "3 Item(s) modified !");
    EXPECT_EQ(app.list.SelectedRows(), (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(app.list.GetCell(1, 1), FileDateText(1700000000));
    EXPECT_EQ(app.list.Icon(2), kIconFileMissing);
    EXPECT_EQ(Run(refresh), "2 Item(s) modified !"); // the missing ones only
    app.list.DeleteRows({2, 3});
    EXPECT_EQ(Run(refresh), "No items modified !");
}

TEST_F(CompareTest, SizesBeyondFourGigabytesAndTheFileListGuard)
{
    const std::string big = tree.Write("big.bin", "");
    ASSERT_EQ(truncate(big.c_str(), 5LL << 30), 0);
    app.list.ClearRows();
    ResultRow row;
    row.cells = {big, "", "", "", "5368709120"};
    app.list.InsertRow(row);
    row.cells[4] = "1073741824"; // the size cut to 32 bits would read like this
    app.list.InsertRow(row);
    DiskCompareParams size;
    size.compareModified = false;
    size.compareSize = true;
    EXPECT_EQ(Run(size), "1 Item(s) deleted from List !");
    EXPECT_EQ(app.list.GetCell(0, 4), "1073741824");

    app.listState.kind = kListFileSearch;
    EXPECT_FALSE(StartCompareJob(app, size));
    EXPECT_EQ(port.Messages().back().text, "Please first create or load a File List !");
}

} // namespace
} // namespace lt
