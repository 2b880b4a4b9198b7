// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/byte_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/regular_file.h"

namespace lt {

std::size_t MemoryByteSource::ReadAt(uint64_t pos, void* out, std::size_t length)
{
    if (pos >= m_bytes.size())
        return 0;
    const std::size_t n = std::min<uint64_t>(length, m_bytes.size() - pos);
    std::memcpy(out, m_bytes.data() + pos, n);
    return n;
}

FileByteSource::~FileByteSource()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool FileByteSource::Open(const std::string& path, std::string& error)
{
    if (m_fd >= 0)
        close(m_fd);
    m_size = 0;
    m_fd = OpenRegularFile(path, error);
    if (m_fd < 0)
        return false;
    struct stat facts {};
    if (fstat(m_fd, &facts) != 0) {
        error = "Could not read " + path + ": " + std::strerror(errno);
        close(m_fd);
        m_fd = -1;
        return false;
    }
    m_size = static_cast<uint64_t>(facts.st_size);
    return true;
}

std::size_t FileByteSource::ReadAt(uint64_t pos, void* out, std::size_t length)
{
    if (m_fd < 0 || pos >= m_size)
        return 0;
    length = static_cast<std::size_t>(std::min<uint64_t>(length, m_size - pos));
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = pread(m_fd, static_cast<char*>(out) + done, length - done, static_cast<off_t>(pos + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // a file cut short since it was opened reads as ending here
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool SourceWindow::Load(uint64_t pos, std::size_t want)
{
    if (pos >= m_size)
        return false;
    // A small source gets a buffer of its own size, not a whole window to clear.
    const auto length = static_cast<std::size_t>(std::min<uint64_t>(std::max(want, kWindow), m_size - pos));
    if (m_buffer.size() < length)
        m_buffer.resize(length);
    m_start = pos;
    m_length = m_source.ReadAt(pos, m_buffer.data(), length);
    return m_length != 0;
}

int SourceWindow::AtSlow(uint64_t pos)
{
    if (!Load(pos, 0))
        return -1;
    return m_buffer[0];
}

std::string_view SourceWindow::Bytes(uint64_t pos, std::size_t length)
{
    if (pos >= m_size)
        return {};
    length = static_cast<std::size_t>(std::min<uint64_t>(length, m_size - pos));
    if (pos < m_start || pos + length > m_start + m_length)
        if (!Load(pos, length))
            return {};
    const std::size_t offset = static_cast<std::size_t>(pos - m_start);
    const std::size_t have = static_cast<std::size_t>(std::min<uint64_t>(length, m_length - offset));
    return {reinterpret_cast<const char*>(m_buffer.data()) + offset, have};
}

uint32_t SourceWindow::U32(uint64_t pos)
{
    const std::string_view b = Bytes(pos, 4);
    if (b.size() < 4)
        return 0;
    const auto* p = reinterpret_cast<const uint8_t*>(b.data());
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint64_t SourceWindow::U64(uint64_t pos)
{
    if (pos > m_size || m_size - pos < 8)
        return 0;
    return U32(pos) | static_cast<uint64_t>(U32(pos + 4)) << 32;
}

} // namespace lt
