// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/atomic_write.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "program_files.h"

namespace lt {
namespace {

using testing_support::ReadAll;

namespace fs = std::filesystem;

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

// Run by root on a user's settings, the file must stay the user's, read-only files stay as they
// are, and a hard-linked file stays one file under both names.
TEST_F(AtomicWriteTest, KeepsOwnerReadOnlyFilesAndHardLinks)
{
    const fs::path owned = m_dir / "owned.ini";
    std::ofstream(owned) << "old";
    ::chmod(owned.c_str(), 0640);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(owned.c_str(), 12345, 23456), 0);
        EXPECT_EQ(WriteFileAtomically(owned.string(), "new"), "");
        struct stat st
        {
        };
        ASSERT_EQ(::stat(owned.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 12345u);
        EXPECT_EQ(st.st_gid, 23456u);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_EQ(ReadAll(owned), "new");
    }

    const fs::path readOnly = m_dir / "ro.ini";
    std::ofstream(readOnly) << "keep";
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_NE(WriteFileAtomically(readOnly.string(), "new"), "");
    EXPECT_EQ(ReadAll(readOnly), "keep");

    const fs::path first = m_dir / "first.ini", second = m_dir / "second.ini";
    std::ofstream(first) << "a much longer old content than the new one";
    fs::create_hard_link(first, second);
    EXPECT_EQ(WriteFileAtomically(second.string(), "short"), "");
    EXPECT_EQ(ReadAll(first), "short");
    EXPECT_EQ(fs::hard_link_count(first), 2u);
    EXPECT_TRUE(fs::equivalent(first, second));
    EXPECT_EQ(EntryCount(), 4u);
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
