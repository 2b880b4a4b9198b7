// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lt {

// Random access to the bytes of a browser file, so that the readers never hold a path and the fuzz
// targets can hand them memory.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Copies up to `length` bytes from `pos` into `out`; returns how many (0 at or past the end).
    virtual std::size_t ReadAt(uint64_t pos, void* out, std::size_t length) = 0;
};

// Bytes the caller keeps alive.
class MemoryByteSource final : public ByteSource
{
public:
    explicit MemoryByteSource(std::string_view bytes) : m_bytes(bytes) {}
    uint64_t Size() const override { return m_bytes.size(); }
    std::size_t ReadAt(uint64_t pos, void* out, std::size_t length) override;

private:
    std::string_view m_bytes;
};

// A regular file read with pread; FIFOs and devices are refused when opening.
class FileByteSource final : public ByteSource
{
public:
    FileByteSource() = default;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;
    ~FileByteSource() override;

    // False with a one-line `error` when the file cannot be opened or is not a regular file.
    bool Open(const std::string& path, std::string& error);
    uint64_t Size() const override { return m_size; }
    std::size_t ReadAt(uint64_t pos, void* out, std::size_t length) override;

private:
    int m_fd = -1;
    uint64_t m_size = 0;
};

// Buffered reading of a ByteSource in large windows: the scanners ask for single bytes and short
// spans without a read per byte. Never answers past the end of the source.
class SourceWindow
{
public:
    static constexpr std::size_t kWindow = 1 << 20;

    explicit SourceWindow(ByteSource& source) : m_source(source), m_size(source.Size()) {}

    uint64_t Size() const { return m_size; }
    // The byte at `pos`, or -1 past the end.
    int At(uint64_t pos)
    {
        if (pos - m_start < m_length)
            return m_buffer[static_cast<std::size_t>(pos - m_start)];
        return AtSlow(pos);
    }
    // Up to `length` bytes from `pos`, cut at the end of the source.
    std::string_view Bytes(uint64_t pos, std::size_t length);
    // Little-endian fields; 0 when they would reach past the end.
    uint32_t U32(uint64_t pos);
    uint64_t U64(uint64_t pos);

private:
    int AtSlow(uint64_t pos);
    bool Load(uint64_t pos, std::size_t want);

    ByteSource& m_source;
    uint64_t m_size;
    std::vector<uint8_t> m_buffer;
    uint64_t m_start = 0;
    uint64_t m_length = 0;
};

} // namespace lt
