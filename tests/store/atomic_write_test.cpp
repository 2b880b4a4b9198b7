// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/atomic_write.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace lt {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class AtomicWriteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("atomic_write_test_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    size_t EntryCount() const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(m_dir), {}));
    }
    fs::path m_dir;
};

TEST_F(AtomicWriteTest, ReplacesContentKeepsModeAndLeavesNoTemporaryFile)
{
    const fs::path file = m_dir / "a.ini";
    std::ofstream(file) << "old content that is longer";
    ::chmod(file.c_str(), 0640);
    std::string bytes("new\0bytes", 9);
    EXPECT_EQ(WriteFileAtomically(file.string(), bytes), "");
    EXPECT_EQ(ReadAll(file), bytes);
    struct stat st
    {
    };
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicWriteTest, WritesThroughASymbolicLink)
{
    const fs::path real = m_dir / "real.ini";
    const fs::path link = m_dir / "link.ini";
    std::ofstream(real) << "x";
    fs::create_symlink(real, link);
    EXPECT_EQ(WriteFileAtomically(link.string(), "through"), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), "through");
}

TEST_F(AtomicWriteTest, FailureLeavesTheOldFileAndReportsIt)
{
    // A missing folder: nothing can be created beside the file.
    EXPECT_NE(WriteFileAtomically((m_dir / "no" / "such.ini").string(), "x"), "");
    EXPECT_FALSE(fs::exists(m_dir / "no"));

    // A folder in the place of the file is not replaced.
    fs::create_directories(m_dir / "dir.ini");
    EXPECT_NE(WriteFileAtomically((m_dir / "dir.ini").string(), "x"), "");
    EXPECT_TRUE(fs::is_directory(m_dir / "dir.ini"));

    EXPECT_NE(WriteFileAtomically("", "x"), "");
}

TEST_F(AtomicWriteTest, ReadOnlyFolderKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    const fs::path file = m_dir / "ro" / "a.ini";
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "old";
    ::chmod(file.parent_path().c_str(), 0555);
    EXPECT_NE(WriteFileAtomically(file.string(), "new"), "");
    ::chmod(file.parent_path().c_str(), 0755);
    EXPECT_EQ(ReadAll(file), "old");
}

} // namespace
} // namespace lt
