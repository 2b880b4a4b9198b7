// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/atomic_file.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lt {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

std::string TargetOf(const std::string& path)
{
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path; // a dangling link: the link itself is replaced
    return resolved;
}

} // namespace

AtomicFile::~AtomicFile()
{
    Abort();
}

bool AtomicFile::Fail(const char* what, int err)
{
    if (m_error.empty())
        m_error = std::string(what) + " " + m_path + ": " + std::strerror(err);
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        ::unlink(m_temp.c_str());
    }
    m_buffer.clear();
    return false;
}

bool AtomicFile::Open(const std::string& path)
{
    Abort();
    m_error.clear();
    m_written = 0;
    m_path = path;
    if (path.empty()) {
        m_error = "No file name given";
        return false;
    }
    m_target = TargetOf(path);
    const std::size_t slash = m_target.rfind('/');
    m_folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : m_target.substr(0, slash));
    const std::string base = slash == std::string::npos ? m_target : m_target.substr(slash + 1);

    struct stat old
    {
    };
    const bool hadFile = ::stat(m_target.c_str(), &old) == 0;
    if (hadFile && !S_ISREG(old.st_mode))
        return Fail("Could not write", S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
    // The rename needs no write permission on the file itself, and root has every permission: a
    // file whose mode says read-only is left alone, as an ordinary open for writing would.
    if (hadFile && ((old.st_mode & 0222) == 0 || ::access(m_target.c_str(), W_OK) != 0))
        return Fail("Could not write", EACCES);
    m_inPlace = hadFile && old.st_nlink > 1;

    // O_EXCL makes the name safe; the suffix only has to differ between writers. A clock and the
    // process id do that without opening a random device for every file saved.
    uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    (static_cast<uint64_t>(::getpid()) << 40) ^ reinterpret_cast<std::uintptr_t>(this);
    for (int attempt = 0; attempt < 16 && m_fd < 0; ++attempt) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(seed >> 32));
        // Short whatever the target's name: a name near the file-name limit must still be writable.
        m_temp = m_folder + "/." + base.substr(0, 32) + suffix;
        // 0666: the umask decides the bits of a new file, as for any other file the user makes.
        m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            return Fail("Could not create a file beside", errno);
    }
    if (m_fd < 0)
        return Fail("Could not create a file beside", EEXIST);
    // Owner first: a change of owner clears the set-id bits that the mode then restores. Run by root
    // on a user's file, the file stays the user's.
    if (hadFile && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(m_fd, old.st_uid, old.st_gid) != 0)
        return Fail("Could not keep the owner of", errno);
    if (hadFile && ::fchmod(m_fd, old.st_mode & 07777) != 0)
        return Fail("Could not keep the permissions of", errno);
    m_buffer.reserve(kBufferSize);
    return true;
}

bool AtomicFile::Flush()
{
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Fail("Could not write", errno);
        }
        done += static_cast<std::size_t>(n);
    }
    m_buffer.clear();
    return true;
}

bool AtomicFile::Write(std::string_view bytes)
{
    if (m_fd < 0)
        return Fail("Could not write", EBADF);
    m_written += bytes.size();
    if (m_buffer.size() + bytes.size() > kBufferSize) {
        if (!Flush())
            return false;
        if (bytes.size() >= kBufferSize) {
            m_buffer.assign(bytes.data(), bytes.size());
            return Flush();
        }
    }
    m_buffer.append(bytes.data(), bytes.size());
    return true;
}

bool AtomicFile::Commit()
{
    if (m_fd < 0)
        return Fail("Could not write", EBADF);
    if (!Flush())
        return false;
    if (::fsync(m_fd) != 0)
        return Fail("Could not write", errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(m_temp.c_str());
        return Fail("Could not write", err);
    }
    if (m_inPlace)
        return CopyOverTarget();
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        const int err = errno;
        ::unlink(m_temp.c_str());
        return Fail("Could not replace", err);
    }
    const int dir = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir); // best effort: the rename is done
        ::close(dir);
    }
    return true;
}

// A rename would split a hard-linked file from its other names. The complete, synced new file is
// copied over the old one instead: a full disk has already shown itself, and only a crash during
// the copy itself can leave a mix.
bool AtomicFile::CopyOverTarget()
{
    const int in = ::open(m_temp.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(m_target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat st
    {
    };
    int err = 0;
    if (in < 0 || out < 0)
        err = errno;
    else if (::fstat(out, &st) != 0 || !S_ISREG(st.st_mode))
        err = EINVAL;
    char buffer[1 << 16];
    while (err == 0) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            err = n < 0 ? errno : 0;
            break;
        }
        for (ssize_t done = 0; done < n && err == 0;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno != EINTR)
                err = errno;
            else if (w > 0)
                done += w;
        }
    }
    if (err == 0 && (::ftruncate(out, static_cast<off_t>(m_written)) != 0 || ::fsync(out) != 0))
        err = errno;
    if (in >= 0)
        ::close(in);
    if (out >= 0 && ::close(out) != 0 && err == 0)
        err = errno;
    ::unlink(m_temp.c_str());
    if (err != 0)
        return Fail("Could not write", err);
    return true;
}

void AtomicFile::Abort()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        ::unlink(m_temp.c_str());
    }
    m_buffer.clear();
}

} // namespace lt
