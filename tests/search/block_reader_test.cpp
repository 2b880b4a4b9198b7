// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/block_reader.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace lt {
namespace {

class BlockReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/lt_block_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
    }
    void TearDown() override
    {
        std::string cmd = "rm -rf '" + m_dir + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = m_dir + "/" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }
    static std::string Pattern(std::size_t n)
    {
        std::string s(n, '\0');
        for (std::size_t i = 0; i < n; ++i)
            s[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
        return s;
    }
    std::string m_dir;
};

TEST_F(BlockReaderTest, ReadsEveryByteAcrossBlocksAndLooksBack)
{
    // The full block, and a small one just over the overlap; each reader then reads a second,
    // shorter file with the buffer the first one left.
    for (const std::size_t block : {BlockReader::kBlockSize, BlockReader::kOverlap * 3}) {
        BlockReader r(block);
        for (const std::size_t length : {block * 2 + 777, block / 2 + 3}) {
            const std::string data = Pattern(length + block);
            ASSERT_TRUE(r.Open(Write("f" + std::to_string(length), data)));
            ASSERT_EQ(r.Size(), data.size());
            const uint64_t step = block / 1051 + 1;
            for (uint64_t i = 0; i < data.size(); i += step) {
                ASSERT_EQ(r.At(i), static_cast<uint8_t>(data[i])) << block << " " << i;
                // bounded look-back and look-ahead around the position
                if (i >= 80) {
                    ASSERT_EQ(r.At(i - 80), static_cast<uint8_t>(data[i - 80]));
                }
                if (i + 260 < data.size()) {
                    ASSERT_EQ(r.At(i + 260), static_cast<uint8_t>(data[i + 260]));
                }
            }
            EXPECT_EQ(r.At(data.size()), -1);
            EXPECT_EQ(r.At(data.size() + 100000), -1);
            // far back again
            EXPECT_EQ(r.At(3), static_cast<uint8_t>(data[3]));

            std::string joined;
            uint64_t pos = 0;
            std::size_t avail = 0;
            while (const uint8_t* p = r.Span(pos, avail)) {
                ASSERT_GT(avail, 0u);
                joined.append(reinterpret_cast<const char*>(p), avail);
                pos += avail;
            }
            EXPECT_EQ(joined, data) << block;
            EXPECT_FALSE(r.Failed());
        }
    }
}

TEST_F(BlockReaderTest, BorrowedFileLearnsItsSizeAndStaysOpen)
{
    // Sizes around the first read's length: a short read ends the file, a full one asks for the size.
    const std::size_t first = BlockReader::kBlockSize + BlockReader::kOverlap;
    for (const std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, first - 1, first, first + 1,
                                BlockReader::kBlockSize * 3 + 5}) {
        const std::string data = Pattern(n);
        const int fd = ::open(Write("borrowed", data).c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        for (const uint64_t given : {OpenedFile::kUnknownSize, static_cast<uint64_t>(n)}) {
            BlockReader r;
            r.Borrow(OpenedFile{fd, given});
            EXPECT_EQ(r.Size(), n) << n;
            std::string joined;
            uint64_t pos = 0;
            std::size_t avail = 0;
            while (const uint8_t* p = r.Span(pos, avail)) {
                joined.append(reinterpret_cast<const char*>(p), avail);
                pos += avail;
            }
            EXPECT_TRUE(joined == data) << n;
            EXPECT_FALSE(r.Failed());
            r.Close();
            // The descriptor is the caller's: still open after Close.
            EXPECT_NE(::fcntl(fd, F_GETFD), -1);
        }
        ::close(fd);
    }
}

TEST_F(BlockReaderTest, MemoryBuffersNeedNoFile)
{
    const std::string data = "abc";
    BlockReader r;
    r.Attach(data.data(), data.size());
    EXPECT_EQ(r.Size(), 3u);
    EXPECT_EQ(r.At(2), 'c');
    EXPECT_EQ(r.At(3), -1);
    std::size_t avail = 0;
    EXPECT_NE(r.Span(1, avail), nullptr);
    EXPECT_EQ(avail, 2u);
    EXPECT_EQ(r.Span(3, avail), nullptr);
    EXPECT_EQ(avail, 0u);
}

TEST_F(BlockReaderTest, OnlyRegularFilesOpen)
{
    BlockReader r;
    EXPECT_FALSE(r.Open(m_dir));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_FALSE(r.Open(m_dir + "/missing"));
    EXPECT_EQ(errno, ENOENT);
    const std::string fifo = m_dir + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(r.Open(fifo)); // must not block
    EXPECT_TRUE(r.Open(Write("empty", "")));
    EXPECT_EQ(r.Size(), 0u);
    EXPECT_EQ(r.At(0), -1);
}

TEST_F(BlockReaderTest, FileThatShrinksEndsWhereItsBytesEnd)
{
    const std::string data = Pattern(BlockReader::kBlockSize * 3);
    const std::string path = Write("shrink", data);
    BlockReader r;
    ASSERT_TRUE(r.Open(path));
    ASSERT_EQ(r.At(10), static_cast<uint8_t>(data[10]));
    // The first block was read before the cut; the bytes after it are gone.
    const uint64_t cut = 2 * BlockReader::kBlockSize + 5;
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(cut)), 0);
    EXPECT_EQ(r.At(cut - 1), static_cast<uint8_t>(data[cut - 1]));
    EXPECT_EQ(r.At(cut), -1);
    EXPECT_EQ(r.At(data.size() - 1), -1);
    EXPECT_EQ(r.Size(), cut);
}

TEST_F(BlockReaderTest, FileThatGrowsOrVanishesKeepsItsOpeningSize)
{
    const std::string data = Pattern(5000);
    const std::string path = Write("grow", data);
    BlockReader r;
    ASSERT_TRUE(r.Open(path));
    {
        FILE* f = std::fopen(path.c_str(), "ab");
        std::fputs("more bytes", f);
        std::fclose(f);
    }
    EXPECT_EQ(r.At(4999), static_cast<uint8_t>(data[4999]));
    EXPECT_EQ(r.At(5000), -1);
    ASSERT_EQ(unlink(path.c_str()), 0);
    EXPECT_EQ(r.At(0), static_cast<uint8_t>(data[0]));
    r.Close();
    EXPECT_EQ(r.At(0), -1);
}

} // namespace
} // namespace lt
