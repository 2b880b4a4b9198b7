// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "program_files.h"
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace lt {
namespace {

using testing_support::ReadAll;

namespace fs = std::filesystem;

void WriteAll(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `linktrawl --parse ...` with no display.
class ParseFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lt-parse-XXXXXX").string();
        dir = mkdtemp(pattern.data());
        WriteAll(dir / "test.ini", "[OPTIONS]\r\nR6=0\r\n");
        WriteAll(dir / "cols.lts", "[LTSfile]\r\nU0=5\r\n[FillCols]\r\nFCFF0=Name:\r\nFCFF1=Age:\r\n");
        WriteAll(dir / "logs/a.log", "Name: x Age: 5\r\nnoise\r\n");
        WriteAll(dir / "logs/b.log", "Name: y Age: 6\n");
    }
    void TearDown() override { fs::remove_all(dir); }

    int Run(const std::string& args)
    {
        const std::string command = "cd '" + dir.string() + "' && timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY -u " +
                                    "QT_QPA_PLATFORM LINKTRAWL_INI=test.ini '" + LINKTRAWL_BINARY + "' " + args +
                                    " >out.txt 2>err.txt </dev/null";
        const int raw = std::system(command.c_str());
        err = ReadAll(dir / "err.txt");
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    fs::path dir;
    std::string err;
};

TEST_F(ParseFormTest, FileFolderAndCsv)
{
    ASSERT_EQ(Run("--parse cols.lts logs/a.log -save2 one.txt"), 0) << err;
    EXPECT_EQ(ReadAll(dir / "one.txt"), "x\r\n  B: 5\r\n  Line: 1\r\n");

    ASSERT_EQ(Run("--parse cols.lts logs/. -savec2 all.csv"), 0) << err;
    // Files in path order, rows in file order, the path in "File".
    EXPECT_EQ(ReadAll(dir / "all.csv"), "x;5;;;1;" + (dir / "logs/a.log").string() + "\r\ny;6;;;1;" +
                                            (dir / "logs/b.log").string() + "\r\n");
}

TEST_F(ParseFormTest, RefusalsGiveOneLineAndKeepTheOutput)
{
    WriteAll(dir / "keep.txt", "old");
    WriteAll(dir / "settings.lts", "[LTSfile]\r\nU0=2\r\n");
    EXPECT_EQ(Run("--parse settings.lts logs -save2 keep.txt"), 1);
    EXPECT_NE(err.find("No Search Settings found !"), std::string::npos) << err;
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(Run("--parse cols.lts pipe -save2 keep.txt"), 1);
    EXPECT_NE(err.find("is not a regular file or a folder"), std::string::npos) << err;
    EXPECT_EQ(Run("--parse cols.lts missing.log -save2 keep.txt"), 1);
    EXPECT_EQ(ReadAll(dir / "keep.txt"), "old");
    EXPECT_EQ(Run("--parse cols.lts"), 2);
}

} // namespace
} // namespace lt
