// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/regular_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lt {

int OpenRegularFile(const std::string& path, std::string& error)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; the fstat below then refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = "Could not open " + path + ": " + std::strerror(errno);
        return -1;
    }
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = path + " is not a regular file";
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool ReadRegularFile(const std::string& path, std::uint64_t maxBytes, std::string& bytes, std::string& error)
{
    bytes.clear();
    const int fd = OpenRegularFile(path, error);
    if (fd < 0)
        return false;
    struct stat st
    {
    };
    if (::fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        error = path + " is too large (more than " + std::to_string(maxBytes) + " bytes)";
        return false;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = "Could not read " + path + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        // The file may grow while read: the limit holds for what is read, not only the first size.
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            error = path + " is too large (more than " + std::to_string(maxBytes) + " bytes)";
            ::close(fd);
            bytes.clear();
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

} // namespace lt
