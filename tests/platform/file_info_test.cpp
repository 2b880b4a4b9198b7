// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_info.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace lt {
namespace {

class FileInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        std::string pattern = (std::filesystem::temp_directory_path() / "lt-info-XXXXXX").string();
        folder = mkdtemp(pattern.data());
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string folder;
};

TEST_F(FileInfoTest, RegularFileSizeAndTimes)
{
    const std::string path = folder + "/f.txt";
    std::ofstream(path) << "hello";
    struct timeval times[2] = {{946684800, 0}, {978307199, 0}}; // access 2000-01-01, write 2000-12-31
    ASSERT_EQ(utimes(path.c_str(), times), 0);
    FileFacts facts;
    ASSERT_TRUE(ReadFileFacts(path, facts));
    EXPECT_TRUE(facts.isRegular);
    EXPECT_EQ(facts.size, 5u);
    EXPECT_EQ(FileDateText(facts.writeTime), "2000/12/31, 23:59:59");
    EXPECT_EQ(FileDateText(facts.accessTime), "2000/01/01, 00:00:00");
    EXPECT_EQ(FileDateText(0), "");
}

TEST_F(FileInfoTest, SizesBeyondFourGigabytes)
{
    const std::string path = folder + "/sparse";
    std::ofstream(path).close();
    ASSERT_EQ(truncate(path.c_str(), (6LL << 30) + 1), 0);
    FileFacts facts;
    ASSERT_TRUE(ReadFileFacts(path, facts));
    EXPECT_EQ(facts.size, (6ULL << 30) + 1);
}

TEST_F(FileInfoTest, LinksFifosAndMissingEntries)
{
    const std::string fifo = folder + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    FileFacts facts;
    ASSERT_TRUE(ReadFileFacts(fifo, facts));
    EXPECT_FALSE(facts.isRegular);
    EXPECT_FALSE(facts.isDirectory);

    const std::string link = folder + "/link";
    ASSERT_EQ(symlink(folder.c_str(), link.c_str()), 0);
    ASSERT_TRUE(ReadFileFacts(AT_FDCWD, link, false, facts));
    EXPECT_TRUE(facts.isSymlink);
    ASSERT_TRUE(ReadFileFacts(AT_FDCWD, link, true, facts));
    EXPECT_TRUE(facts.isDirectory);

    EXPECT_FALSE(ReadFileFacts(folder + "/absent", facts));
}

} // namespace
} // namespace lt
