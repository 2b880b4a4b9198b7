// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wine_server.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lt {

std::string WineServerFolder(const std::string& prefix, const std::string& serverRoot)
{
    struct stat st
    {
    };
    if (prefix.empty() || ::stat(prefix.c_str(), &st) != 0)
        return {};
    char name[96];
    std::snprintf(name, sizeof name, "/.wine-%u/server-%llx-%llx", static_cast<unsigned>(::getuid()),
                  static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino));
    return serverRoot + name;
}

bool WineServerRunning(const std::string& prefix, const std::string& serverRoot)
{
    const std::string folder = WineServerFolder(prefix, serverRoot);
    if (folder.empty())
        return false;
    const std::string lockPath = folder + "/lock";
    const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct flock lock
    {
    };
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    const bool held = ::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    if (held)
        return true;
    // A socket without a lock holder is left from a server that died: it does not rewrite anything.
    return false;
}

} // namespace lt
