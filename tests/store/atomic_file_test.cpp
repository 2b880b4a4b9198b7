// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/atomic_file.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "program_files.h"

#include "platform/regular_file.h"
#include "store/options.h"
#include "store/temp_file.h"

namespace lt {
namespace {

using testing_support::ReadAll;

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("atomic_file_test_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::size_t EntryCount() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {})); }
    fs::path dir;
};

TEST_F(AtomicFileTest, OldFileStaysWholeUntilCommitAndAfterAbort)
{
    const fs::path target = dir / "list.ltn";
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    {
        AtomicFile file;
        ASSERT_TRUE(file.Open(target.string()));
        const std::string big(200000, 'x'); // larger than the buffer: written through
        EXPECT_TRUE(file.Write("new:") && file.Write(big));
        EXPECT_EQ(ReadAll(target), "old");
        EXPECT_EQ(EntryCount(), 2u);
        // Destroyed without Commit: the temporary file goes, the old file stays.
    }
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(EntryCount(), 1u);

    AtomicFile file;
    ASSERT_TRUE(file.Open(target.string()));
    file.Write("new");
    file.Write('!');
    ASSERT_TRUE(file.Commit()) << file.Error();
    EXPECT_EQ(ReadAll(target), "new!");
    EXPECT_EQ(file.BytesWritten(), 4u);
    EXPECT_EQ(EntryCount(), 1u);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(AtomicFileTest, NamesAtTheFileNameLimitCanBeReplaced)
{
    const fs::path target = dir / (std::string(251, 'n') + ".ini");
    std::ofstream(target) << "old";
    AtomicFile file;
    ASSERT_TRUE(file.Open(target.string())) << file.Error();
    file.Write("new");
    ASSERT_TRUE(file.Commit()) << file.Error();
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, RefusesFoldersAndSpecialFilesAndMissingFolders)
{
    for (const std::string& path : {dir.string(), std::string("/dev/null"), (dir / "no/such/file").string()}) {
        AtomicFile file;
        EXPECT_FALSE(file.Open(path)) << path;
        EXPECT_FALSE(file.Error().empty());
        EXPECT_FALSE(file.Write("x"));
        EXPECT_FALSE(file.Commit());
    }
    EXPECT_EQ(EntryCount(), 0u);
}

// Tests run as root, so a size limit, not permissions, makes the write fail half way.
TEST_F(AtomicFileTest, WriteFailingHalfWayKeepsTheOldFile)
{
    const fs::path target = dir / "out.txt";
    std::ofstream(target) << "previous run";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{100000, 100000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        AtomicFile file;
        if (!file.Open(target.string()))
            ::_exit(3);
        const std::string line(1000, 'y');
        for (int i = 0; i < 1000; ++i)
            file.Write(line);
        ::_exit(file.Commit() ? 0 : (file.Error().find("Could not write") == 0 ? 1 : 4));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(ReadAll(target), "previous run");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, TempFilesAreUniquePrivateAndRecognised)
{
    Options options;
    options.tempFolder = "C:\\WINDOWS\\TEMP";
    EXPECT_NE(TempFolder(options), options.tempFolder);
    options.tempFolder = dir.string() + "/";
    EXPECT_EQ(TempFolder(options), dir.string());

    std::string first, second, error;
    const int a = CreateTempFile(dir.string(), "tmpfile", ".txt", first, error);
    const int b = CreateTempFile(dir.string(), "tmpfile", ".txt", second, error);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    ::close(a);
    ::close(b);
    EXPECT_NE(first, second);
    EXPECT_EQ(fs::status(first).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(IsOwnTempFile(first, dir.string(), "tmpfile", ".txt"));
    EXPECT_FALSE(IsOwnTempFile(first, dir.string(), "other", ".txt"));
    EXPECT_FALSE(IsOwnTempFile((dir / "tmpfile.txt").string(), dir.string(), "tmpfile", ".txt"));
    EXPECT_FALSE(IsOwnTempFile("/etc/passwd", "/etc", "passwd", ""));
    EXPECT_LT(CreateTempFile((dir / "missing").string(), "x", "", first, error), 0);
    EXPECT_FALSE(error.empty());
}

TEST_F(AtomicFileTest, WholeFileReadsOnlyRegularFilesWithinTheLimit)
{
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(dir / "small") << "12345";
    std::string bytes, error;
    EXPECT_FALSE(ReadRegularFile(fifo.string(), 100, bytes, error)); // no hang
    EXPECT_NE(error.find("not a regular file"), std::string::npos);
    EXPECT_FALSE(ReadRegularFile("/dev/zero", 100, bytes, error));
    EXPECT_FALSE(ReadRegularFile(dir.string(), 100, bytes, error));
    EXPECT_FALSE(ReadRegularFile((dir / "small").string(), 4, bytes, error));
    EXPECT_NE(error.find("too large"), std::string::npos);
    ASSERT_TRUE(ReadRegularFile((dir / "small").string(), 5, bytes, error));
    EXPECT_EQ(bytes, "12345");
}

} // namespace
} // namespace lt
