// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/text_file_list.h"

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "list/list_kind.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

namespace fs = std::filesystem;

class TextFileListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("lt-textlist-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        app.startup.programFolder = m_dir.string() + "/";
    }
    void TearDown() override
    {
        JoinWorker(app);
        fs::remove_all(m_dir);
    }
    std::vector<std::string> Read(const std::string& bytes, const std::string& name = "list.txt")
    {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        EXPECT_TRUE(StartReadFileList(app, name));
        JoinWorker(app);
        std::vector<std::string> rows;
        for (std::size_t i = 0; i < app.list.RowCount(); ++i)
            rows.push_back(app.list.GetCell(i, 0));
        return rows;
    }

    RecordingUiPort port;
    AppState app{port};
    fs::path m_dir;
};

TEST_F(TextFileListTest, LinesBecomeRowsOfAFileList)
{
    using Rows = std::vector<std::string>;
    const std::string long300(300, 'a');
    struct Case
    {
        const char* name;
        std::string bytes;
        Rows rows;
    } cases[] = {
        {"CRLF", "/b/z.txt\r\n/a/y.txt\r\n", {"/b/z.txt", "/a/y.txt"}},
        {"LF, no last end", "/x\n/y", {"/x", "/y"}},
        {"CR only", "/x\r/y\r", {"/x", "/y"}},
        {"empty and blank lines", "\r\n/x\r\n\r\n   \r\n\t\n/y\n\n", {"/x", "/y"}},
        // A long line is cut and its rest dropped, never made a row of its own.
        {"long line", long300 + "\n/next\n", {long300.substr(0, 259), "/next"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Read(c.bytes), c.rows);
        EXPECT_EQ(app.listState.kind, kListFileList);
        EXPECT_EQ(app.list.GetAutoSort(), AutoSort::Off);
        EXPECT_EQ(app.list.GetHeaderText(0), "File");
    }
}

TEST_F(TextFileListTest, AMillionLinesAreRead)
{
    std::string bytes;
    for (int i = 0; i < 1000000; ++i)
        bytes += "/f" + std::to_string(i) + "\n";
    const auto rows = Read(bytes, "/" + (m_dir / "big.txt").string().substr(1));
    ASSERT_EQ(rows.size(), 1000000u);
    EXPECT_EQ(rows.back(), "/f999999");
}

TEST_F(TextFileListTest, FifoOrMissingFileChangesNothing)
{
    ResultRow row;
    row.cells = {"keep"};
    app.list.InsertRow(std::move(row));
    const fs::path fifo = m_dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(StartReadFileList(app, fifo.string(), &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos);
    EXPECT_FALSE(StartReadFileList(app, "missing.txt", &error));
    EXPECT_EQ(app.list.RowCount(), 1u);
    EXPECT_EQ(app.listState.kind, kListFileSearch);
}

} // namespace
} // namespace lt
