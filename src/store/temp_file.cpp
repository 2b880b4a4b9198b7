// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/temp_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/options.h"

namespace lt {

namespace {

constexpr std::size_t kUniqueLength = 6; // mkstemps' XXXXXX

bool IsFolder(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string WithoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace

std::string TempFolder(const Options& options)
{
    // A Windows file may carry "C:\WINDOWS\TEMP": only an absolute path of a real folder counts.
    if (!options.tempFolder.empty() && options.tempFolder.front() == '/' && IsFolder(options.tempFolder))
        return WithoutTrailingSlash(options.tempFolder);
    const char* env = std::getenv("TMPDIR");
    if (env && *env == '/' && IsFolder(env))
        return WithoutTrailingSlash(env);
    return "/tmp";
}

int CreateTempFile(const std::string& folder, const std::string& stem, const std::string& extension,
                   std::string& path, std::string& error)
{
    std::string pattern = WithoutTrailingSlash(folder.empty() ? std::string("/tmp") : folder);
    if (pattern != "/")
        pattern += '/';
    pattern += stem + "-XXXXXX" + extension;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const mode_t old = ::umask(077);
    const int fd = ::mkstemps(name.data(), static_cast<int>(extension.size()));
    ::umask(old);
    if (fd < 0) {
        error = "Could not create a temporary file in " + folder + ": " + std::strerror(errno);
        return -1;
    }
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    path.assign(name.data());
    return fd;
}

bool IsOwnTempFile(const std::string& path, const std::string& folder, const std::string& stem,
                   const std::string& extension)
{
    std::string prefix = WithoutTrailingSlash(folder);
    if (prefix != "/")
        prefix += '/';
    prefix += stem + "-";
    if (path.size() != prefix.size() + kUniqueLength + extension.size())
        return false;
    if (path.compare(0, prefix.size(), prefix) != 0 ||
        path.compare(path.size() - extension.size(), extension.size(), extension) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + kUniqueLength; ++i) {
        const char c = path[i];
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!plain)
            return false;
    }
    struct stat st
    {
    };
    // Ours: a regular file of this user, not a link someone put there.
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid();
}

} // namespace lt
