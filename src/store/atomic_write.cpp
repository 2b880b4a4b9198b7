// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/atomic_write.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lt {

namespace {

std::string ErrorText(const char* what, const std::string& path, int err)
{
    return std::string(what) + " " + path + ": " + std::strerror(err);
}

// The file a write replaces: a symbolic link is followed so that the link stays in place.
std::string TargetPath(const std::string& path)
{
    struct stat st
    {
    };
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr)
        return path; // a dangling link: the link itself is replaced
    return resolved;
}

bool WriteAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // best effort: the rename is already done
        ::close(fd);
    }
}

} // namespace

std::string WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return "No file name given";
    const std::string target = TargetPath(path);
    const std::size_t slash = target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);

    struct stat old
    {
    };
    const bool hadFile = ::stat(target.c_str(), &old) == 0;
    if (hadFile && S_ISDIR(old.st_mode))
        return ErrorText("Could not write", path, EISDIR);

    std::random_device rd;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(rd()));
        temp = folder + "/." + base + suffix;
        // 0666 lets the umask decide the bits of a new file, as for any other file the user makes.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return ErrorText("Could not create a file beside", path, errno);
    }
    if (fd < 0)
        return ErrorText("Could not create a file beside", path, EEXIST);

    auto fail = [&](const char* what) {
        const int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return ErrorText(what, path, err);
    };
    if (hadFile && ::fchmod(fd, old.st_mode & 07777) != 0)
        return fail("Could not keep the permissions of");
    if (!WriteAll(fd, bytes))
        return fail("Could not write");
    if (::fsync(fd) != 0)
        return fail("Could not write");
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return ErrorText("Could not write", path, err);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return ErrorText("Could not replace", path, err);
    }
    SyncFolder(folder);
    return {};
}

} // namespace lt
