// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lt {

// Random access to the bytes of a file (read in large blocks, never a system call per byte) or of a
// memory buffer. The scanners read forward with bounded look-back and look-ahead; a block keeps
// enough of the previous one that look-back never seeks.
class BlockReader
{
public:
    static constexpr std::size_t kBlockSize = 1 << 20;
    static constexpr std::size_t kOverlap = 4096;

    BlockReader() = default;
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;
    ~BlockReader();

    // Opens a regular file for reading; false (errno set) when it cannot be opened.
    bool Open(const std::string& path);
    // Reads from memory the caller keeps alive.
    void Attach(const char* data, std::size_t length);
    void Close();

    uint64_t Size() const { return m_size; }
    // The byte at `pos`, or -1 past the end or on a read error.
    int At(uint64_t pos);
    // A pointer to the bytes from `pos` on and how many follow contiguously (0 past the end).
    const uint8_t* Span(uint64_t pos, std::size_t& available);
    bool Failed() const { return m_failed; }

private:
    bool Load(uint64_t pos);

    int m_fd = -1;
    const uint8_t* m_memory = nullptr;
    uint64_t m_size = 0;
    std::vector<uint8_t> m_block;
    uint64_t m_blockStart = 0;
    std::size_t m_blockLength = 0;
    bool m_failed = false;
};

} // namespace lt
