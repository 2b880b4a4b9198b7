// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/block_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lt {

BlockReader::~BlockReader()
{
    Close();
}

bool BlockReader::Open(const std::string& path)
{
    Close();
    // O_NONBLOCK keeps a FIFO or device from blocking the open; only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    // O_NONBLOCK stays: it does not change reads of a regular file, and two calls per file
    // are a measurable share of a search over many small files. A file system that answers
    // EAGAIN all the same gets the flag cleared then (see Load).
    m_fd = fd;
    m_size = static_cast<uint64_t>(st.st_size);
    return true;
}

void BlockReader::Borrow(const OpenedFile& file)
{
    Close();
    m_fd = file.fd;
    m_borrowed = true;
    m_size = file.size;
    if (m_size != OpenedFile::kUnknownSize)
        return;
    // The first block is read now, so that Size() is right before the scan starts.
    m_sizeUnknown = true;
    Load(0);
    if (m_sizeUnknown) {
        // A whole block came: the rest of the file decides.
        m_sizeUnknown = false;
        struct stat st {};
        if (::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode))
            m_size = std::max<uint64_t>(static_cast<uint64_t>(st.st_size), m_blockLength);
        else
            m_size = m_blockLength;
    }
}

void BlockReader::Attach(const char* data, std::size_t length)
{
    Close();
    m_memory = reinterpret_cast<const uint8_t*>(data);
    m_size = data ? length : 0;
    m_data = m_memory;
    m_blockStart = 0;
    m_blockLength = m_size;
}

void BlockReader::Close()
{
    if (m_fd >= 0 && !m_borrowed)
        ::close(m_fd);
    m_fd = -1;
    m_borrowed = false;
    m_sizeUnknown = false;
    m_blocking = false;
    m_memory = nullptr;
    m_data = nullptr;
    m_size = 0;
    m_blockStart = 0;
    m_blockLength = 0;
    m_failed = false;
}

bool BlockReader::Load(uint64_t pos)
{
    if (m_fd < 0 || pos >= m_size)
        return false;
    const uint64_t start = pos > kOverlap ? pos - kOverlap : 0;
    // Small files get a small buffer; it grows up to one block and its overlap.
    const uint64_t fullBlock = m_blockSize + kOverlap;
    const auto needed = static_cast<std::size_t>(std::min<uint64_t>(m_size - start, fullBlock));
    if (m_block.size() < needed)
        m_block.resize(needed);
    std::size_t have = 0;
    // Reading on from the current block: keep its tail instead of reading it again, so the
    // overlap holds exactly the bytes the scanner has already seen.
    const uint64_t blockEnd = m_blockStart + m_blockLength;
    if (m_blockLength > 0 && start >= m_blockStart && start < blockEnd) {
        have = static_cast<std::size_t>(blockEnd - start);
        std::memmove(m_block.data(), m_block.data() + (start - m_blockStart), have);
    }
    const uint64_t want64 = m_size - start < m_block.size() ? m_size - start : m_block.size();
    const auto want = static_cast<std::size_t>(want64);
    while (have < want) {
        const ssize_t n = ::pread(m_fd, m_block.data() + have, want - have, static_cast<off_t>(start + have));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN && !m_blocking) {
                const int flags = ::fcntl(m_fd, F_GETFL);
                m_blocking = flags >= 0 && ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
                if (m_blocking)
                    continue;
            }
            m_failed = true;
            break;
        }
        if (n == 0)
            break;
        have += static_cast<std::size_t>(n);
        if (m_sizeUnknown && have < want) {
            // A short read of a regular file is its end; asking again would only answer 0.
            m_sizeUnknown = false;
            m_size = have;
            break;
        }
    }
    if (m_sizeUnknown && have < want) {
        m_sizeUnknown = false; // an empty file or a failed read
        m_size = have;
    }
    m_data = m_block.data();
    m_blockStart = start;
    m_blockLength = have;
    if (have < want) {
        // The file shrank (or could not be read further): its end is where the bytes end.
        m_size = start + have;
    }
    return pos < m_blockStart + m_blockLength;
}

int BlockReader::AtSlow(uint64_t pos)
{
    if (m_memory || !Load(pos))
        return -1;
    return m_data[pos - m_blockStart];
}

const uint8_t* BlockReader::SpanSlow(uint64_t pos, std::size_t& available)
{
    available = 0;
    if (m_memory || !Load(pos))
        return nullptr;
    available = static_cast<std::size_t>(m_blockStart + m_blockLength - pos);
    return m_data + (pos - m_blockStart);
}

} // namespace lt
