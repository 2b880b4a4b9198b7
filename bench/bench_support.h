// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fcntl.h>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include <unistd.h>

#include "core/app_state.h"
#include "core/console_ui_port.h"

// Set-up shared by the benchmark and fuzz programs (header-only; fuzz/fuzz_support.h builds on it).
namespace lt::bench {

namespace detail {

// Holds the stream before ConsoleUiPort is built with it (a base is built before any member).
struct DiscardedLines
{
    std::ostream sink{nullptr}; // no buffer: every write is dropped
};

} // namespace detail

// The port of unattended runs with its message lines thrown away: nothing is printed, questions
// are answered No (or Cancel), status texts and the clipboard are kept in memory.
class SilentUiPort : private detail::DiscardedLines, public ConsoleUiPort
{
public:
    SilentUiPort() : ConsoleUiPort(sink, false) {}
};

// Engine state behind a silent port.
struct QuietApp
{
    SilentUiPort ui;
    AppState app{ui};
};

// A path for a scratch file of this process: on tmpfs where /dev/shm is writable, else in the
// temporary folder.
inline std::string ScratchPath(std::string_view name, std::string_view suffix = {})
{
    const std::string dir =
        ::access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : std::filesystem::temp_directory_path().string();
    return dir + "/" + std::string(name) + "." + std::to_string(::getpid()) + std::string(suffix);
}

// A scratch file, removed when the object goes. Write() keeps the file (and its inode) and
// replaces its bytes, so a harness may call it for every input without the file system
// allocating and freeing an inode each time.
class ScratchFile
{
public:
    explicit ScratchFile(std::string path) : m_path(std::move(path)) {}
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        ::unlink(m_path.c_str());
    }

    const std::string& Path() const { return m_path; }

    // The file holds exactly these bytes afterwards; false when it cannot be written.
    bool Write(const void* data, std::size_t size)
    {
        if (m_fd < 0)
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (m_fd < 0)
            return false;
        const auto* bytes = static_cast<const char*>(data);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(m_fd, bytes + done, size - done, static_cast<off_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return ::ftruncate(m_fd, static_cast<off_t>(size)) == 0;
    }

private:
    std::string m_path;
    int m_fd = -1;
};

// Reads every file once, so that the timed runs find them in the page cache ("warm", as the
// rg runs they are compared with): on a machine with little cache the files read by the benchmark
// before would otherwise have pushed them out.
inline void WarmUp(const std::vector<std::string>& files)
{
    std::vector<char> buffer(1 << 20);
    for (const std::string& path : files) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        while (::read(fd, buffer.data(), buffer.size()) > 0) {
        }
        ::close(fd);
    }
}

// The regular files below `root` (symbolic links left out, as the folder search leaves them), with
// their total size in `bytes`.
inline std::vector<std::string> CorpusFiles(const std::string& root, uint64_t& bytes)
{
    std::vector<std::string> files;
    bytes = 0;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec) && !it->is_symlink(ec)) {
            files.push_back(it->path().string());
            bytes += it->file_size(ec);
        }
    }
    return files;
}

} // namespace lt::bench
