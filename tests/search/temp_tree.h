// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>

namespace lt::testing {

// A real folder under the temporary folder, removed with everything in it at the end.
class TempTree
{
public:
    TempTree()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lt-walk-XXXXXX").string();
        m_root = mkdtemp(pattern.data());
    }
    ~TempTree()
    {
        std::error_code ignored;
        // Give back any permissions a test took away so that the tree can go.
        for (auto it = std::filesystem::recursive_directory_iterator(
                 m_root, std::filesystem::directory_options::skip_permission_denied, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
            if (it->is_directory(ignored) && !it->is_symlink(ignored))
                chmod(it->path().c_str(), 0755);
        chmod(m_root.c_str(), 0755);
        std::filesystem::remove_all(m_root, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The root with a trailing '/'.
    std::string Root() const { return m_root + "/"; }
    std::string Path(const std::string& relative) const { return m_root + "/" + relative; }

    std::string Write(const std::string& relative, const std::string& bytes) const
    {
        const std::string path = Path(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Folder(const std::string& relative) const
    {
        const std::string path = Path(relative);
        std::filesystem::create_directories(path);
        return path;
    }
    // Sets the write and access times of a file to a moment in seconds since the epoch.
    static void SetTimes(const std::string& path, std::time_t when)
    {
        struct timeval times[2] = {{when, 0}, {when, 0}};
        utimes(path.c_str(), times);
    }

private:
    std::string m_root;
};

// Seconds since the epoch of a UTC calendar moment (tests run with TZ=UTC).
inline std::time_t UtcTime(int year, int month, int day, int hour, int minute, int second)
{
    struct tm parts
    {
    };
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    return timegm(&parts);
}

} // namespace lt::testing
