// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_file.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/regular_file.h"

namespace lt {

bool ExportFile::Open(const std::string& path, Mode mode)
{
    if (m_file.IsOpen() || path.empty() || !m_file.Open(path))
        return false;
    if (mode == Mode::Append && RegularFileExists(path)) {
        std::string error;
        const int fd = OpenRegularFile(path, error);
        if (fd < 0) {
            m_file.Abort();
            return false;
        }
        char buffer[1 << 16];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                ::close(fd);
                m_file.Abort();
                return false;
            }
            if (n == 0 || !m_file.Write(std::string_view(buffer, static_cast<std::size_t>(n))))
                break;
        }
        ::close(fd);
    }
    return !m_file.Failed();
}

bool RegularFileExists(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace lt
