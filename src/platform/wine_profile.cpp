// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wine_profile.h"

#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lt {

namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool Exists(const std::string& path)
{
    struct stat st
    {
    };
    return ::lstat(path.c_str(), &st) == 0;
}

struct DirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// The entry of `folder` named `name` ignoring case: the exact name when it exists, else the first
// entry that matches, else `name` itself.
std::string MatchEntry(const std::string& folder, const std::string& name)
{
    if (Exists(folder + "/" + name))
        return name;
    std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return name;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (FileNameEqualsNoCase(entry->d_name, name))
            return entry->d_name;
    }
    return name;
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return {};
}

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

bool FileNameEqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

std::string WinePrefixPath(const std::string& configured)
{
    if (!configured.empty())
        return WithoutTrailingSlash(configured);
    if (const char* env = std::getenv("WINEPREFIX"); env && *env)
        return WithoutTrailingSlash(env);
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : WithoutTrailingSlash(home) + "/.wine";
}

std::string ResolvePathNoCase(const std::string& base, std::string_view relative)
{
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= relative.size()) {
        std::size_t end = relative.find_first_of("\\/", pos);
        if (end == std::string_view::npos)
            end = relative.size();
        const std::string_view part = relative.substr(pos, end - pos);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        pos = end + 1;
    }
    std::string path = WithoutTrailingSlash(base);
    for (const std::string& part : parts) {
        const std::string folder = path.empty() ? std::string("/") : path;
        path += "/" + MatchEntry(folder, part);
    }
    return path;
}

std::string MapWindowsPath(const std::string& prefix, std::string_view windowsPath)
{
    if (prefix.empty() || windowsPath.size() < 2 || windowsPath[1] != ':')
        return {};
    const char letter = AsciiLower(windowsPath[0]);
    if (letter < 'a' || letter > 'z')
        return {};
    const std::string base = WithoutTrailingSlash(prefix);
    std::string root = base + "/dosdevices/" + letter + ":";
    struct stat st
    {
    };
    if (::stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        if (letter != 'c')
            return {};
        root = base + "/drive_c";
    }
    return ResolvePathNoCase(root, windowsPath.substr(2));
}

} // namespace lt
