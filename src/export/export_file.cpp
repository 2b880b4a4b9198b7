// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lt {

namespace {

constexpr std::size_t kFlushSize = 64 * 1024;

} // namespace

ExportFile::~ExportFile()
{
    if (m_fd >= 0)
        Close();
}

bool ExportFile::Open(const std::string& path, Mode mode)
{
    if (m_fd >= 0 || path.empty())
        return false;
    struct stat info{};
    // Checked before opening: opening a FIFO could block and truncating a device is never wanted.
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        return false;
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    flags |= mode == Mode::Append ? O_APPEND : O_TRUNC;
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    // The entry may have been swapped between the check and the open.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0)
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    m_fd = fd;
    m_failed = false;
    m_append = mode == Mode::Append;
    m_oldSize = info.st_size;
    m_buffer.clear();
    return true;
}

void ExportFile::Write(std::string_view bytes)
{
    if (m_fd < 0 || m_failed)
        return;
    m_buffer.append(bytes);
    if (m_buffer.size() >= kFlushSize)
        Flush();
}

void ExportFile::Flush()
{
    std::size_t done = 0;
    while (!m_failed && done < m_buffer.size()) {
        const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            m_failed = true;
        else
            done += static_cast<std::size_t>(n);
    }
    m_buffer.clear();
}

bool ExportFile::Close()
{
    if (m_fd < 0)
        return false;
    if (!m_failed)
        Flush();
    if (m_failed && m_append)
        (void)::ftruncate(m_fd, m_oldSize);
    if (::close(m_fd) != 0 && errno != EINTR)
        m_failed = true;
    m_fd = -1;
    return !m_failed;
}

bool RegularFileExists(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace lt
