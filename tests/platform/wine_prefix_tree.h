// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace lt::test {

// A Wine-like prefix in a temporary folder: drive_c with a user profile, dosdevices links, and
// whatever files a test writes into it. Removed with the object.
class WinePrefixTree
{
public:
    WinePrefixTree()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lt-wine-XXXXXX").string();
        m_root = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(m_root / "drive_c/users/u/Favorites");
        std::filesystem::create_directories(m_root / "drive_c/windows");
        std::filesystem::create_directories(m_root / "dosdevices");
        std::filesystem::create_directory_symlink("../drive_c", m_root / "dosdevices/c:");
    }
    ~WinePrefixTree()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    WinePrefixTree(const WinePrefixTree&) = delete;
    WinePrefixTree& operator=(const WinePrefixTree&) = delete;

    std::string Path() const { return m_root.string(); }
    std::string Path(const std::string& relative) const { return (m_root / relative).string(); }

    void Write(const std::string& relative, const std::string& bytes) const
    {
        const auto path = m_root / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& relative) const
    {
        std::ifstream in(m_root / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_root;
};

} // namespace lt::test
