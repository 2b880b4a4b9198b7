// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lt {

// A regular file already open for reading, with its size; `fd` -1 when there is none.
struct OpenedFile
{
    // The size when nobody has asked the file system for it: the reader learns it from its first
    // read (a short read of a regular file ends it), and asks only for files of a block or more.
    static constexpr uint64_t kUnknownSize = UINT64_MAX;
    int fd = -1;
    uint64_t size = kUnknownSize;
};

// Random access to the bytes of a file (read in large blocks, never a system call per byte) or of a
// memory buffer. The scanners read forward with bounded look-back and look-ahead; a block keeps
// enough of the previous one that look-back never seeks.
class BlockReader
{
public:
    static constexpr std::size_t kBlockSize = 1 << 20;
    static constexpr std::size_t kOverlap = 4096;

    // Tests and the fuzz target give a small block (more than kOverlap) so that crossing blocks
    // costs little.
    explicit BlockReader(std::size_t blockSize = kBlockSize) : m_blockSize(blockSize) {}
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;
    ~BlockReader();

    // Opens a regular file for reading; false (errno set) when it cannot be opened.
    bool Open(const std::string& path);
    // Reads the regular file `file` that the caller opened, knows the size of and closes after
    // Close(); saves the folder walk a second open and stat of every file.
    void Borrow(const OpenedFile& file);
    // Reads from memory the caller keeps alive.
    void Attach(const char* data, std::size_t length);
    void Close();

    uint64_t Size() const { return m_size; }
    // The byte at `pos`, or -1 past the end or on a read error.
    int At(uint64_t pos)
    {
        // The scanners call this for every byte they look at closely: the loaded block (or the
        // memory) answers without a call.
        if (pos - m_blockStart < m_blockLength)
            return m_data[pos - m_blockStart];
        return AtSlow(pos);
    }
    // A pointer to the bytes from `pos` on and how many follow contiguously (0 past the end).
    const uint8_t* Span(uint64_t pos, std::size_t& available)
    {
        if (pos - m_blockStart < m_blockLength) {
            available = static_cast<std::size_t>(m_blockLength - (pos - m_blockStart));
            return m_data + (pos - m_blockStart);
        }
        return SpanSlow(pos, available);
    }
    // How many bytes before `pos` the last Span(pos) answer can also be read at (behind its pointer).
    std::size_t Behind(uint64_t pos) const
    {
        return pos - m_blockStart < m_blockLength ? static_cast<std::size_t>(pos - m_blockStart) : 0;
    }
    bool Failed() const { return m_failed; }

private:
    bool Load(uint64_t pos);
    int AtSlow(uint64_t pos);
    const uint8_t* SpanSlow(uint64_t pos, std::size_t& available);

    std::size_t m_blockSize;
    int m_fd = -1;
    bool m_borrowed = false;    // m_fd belongs to the caller
    bool m_sizeUnknown = false; // until the first read of a borrowed file
    bool m_blocking = false; // O_NONBLOCK was cleared after a read answered EAGAIN
    const uint8_t* m_memory = nullptr;
    uint64_t m_size = 0;
    std::vector<uint8_t> m_block;
    // The bytes at hand: the loaded block, or the whole of an attached memory buffer.
    const uint8_t* m_data = nullptr;
    uint64_t m_blockStart = 0;
    uint64_t m_blockLength = 0;
    bool m_failed = false;
};

} // namespace lt
