// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell_folders.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/cp1252.h"
#include "platform/registry_file.h"
#include "platform/regular_file.h"
#include "platform/wine_profile.h"

namespace lt {

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kCacheBase = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache";
constexpr std::uint64_t kMaxRegistryBytes = 512ull << 20;

std::string UserName()
{
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name)
        return pw->pw_name;
    if (const char* user = std::getenv("USER"); user && *user)
        return user;
    return "user";
}

// A variable of the Windows profile: the user's "Environment" keys first, then the values Wine
// derives from the profile folder.
std::string Variable(const RegistryFile& user, const std::string& name)
{
    std::string value;
    for (const char* key : {"Volatile Environment", "Environment"})
        if (user.QueryString(key, name, value) && !value.empty())
            return value;
    std::string profile;
    if (!user.QueryString("Volatile Environment", "USERPROFILE", profile) || profile.empty())
        profile = "C:\\users\\" + UserName();
    if (Cp1252EqualsNoCase(name, "USERPROFILE"))
        return profile;
    if (Cp1252EqualsNoCase(name, "APPDATA"))
        return profile + "\\AppData\\Roaming";
    if (Cp1252EqualsNoCase(name, "LOCALAPPDATA"))
        return profile + "\\AppData\\Local";
    if (Cp1252EqualsNoCase(name, "SystemDrive"))
        return "C:";
    if (Cp1252EqualsNoCase(name, "SystemRoot") || Cp1252EqualsNoCase(name, "windir"))
        return "C:\\windows";
    return {};
}

std::string Expand(const RegistryFile& user, const std::string& text)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('%', pos);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            out.append(text, pos);
            break;
        }
        out.append(text, pos, open - pos);
        const std::string value = Variable(user, text.substr(open + 1, close - open - 1));
        out += value.empty() ? text.substr(open, close - open + 1) : value;
        pos = close + 1;
    }
    return out;
}

std::string Mapped(const std::string& prefix, const std::string& windowsPath)
{
    if (windowsPath.empty() || windowsPath.find('%') != std::string::npos)
        return {};
    std::string path = MapWindowsPath(prefix, windowsPath);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool IsFolder(const std::string& path)
{
    struct stat st
    {
    };
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// XDG_DOCUMENTS_DIR of user-dirs.dirs, else ~/Documents when it exists.
std::string XdgDocuments()
{
    const char* homeEnv = std::getenv("HOME");
    const std::string home = homeEnv ? homeEnv : "";
    if (home.empty())
        return {};
    const char* configEnv = std::getenv("XDG_CONFIG_HOME");
    const std::string config = configEnv && *configEnv ? configEnv : home + "/.config";
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    while (std::getline(in, line)) {
        const std::string key = "XDG_DOCUMENTS_DIR=";
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        if (IsFolder(value))
            return value;
    }
    const std::string documents = home + "/Documents";
    return IsFolder(documents) ? documents : std::string();
}

// The local-machine key of the history cache: named by the default value of its "Special Paths"
// key when that is set, else that key itself.
std::string HistoryKey(const RegistryFile& system)
{
    const std::string special = std::string(kCacheBase) + "\\Special Paths\\History";
    std::string named;
    if (system.QueryString(special, "", named) && !named.empty())
        return named;
    return special;
}

} // namespace

const char* ShellFolderValueName(ShellFolder folder)
{
    switch (folder) {
    case ShellFolder::Favorites: return "Favorites";
    case ShellFolder::Cookies: return "Cookies";
    case ShellFolder::Cache: return "Cache";
    case ShellFolder::History: return "History";
    case ShellFolder::Personal: return "Personal";
    case ShellFolder::Recent: return "Recent";
    case ShellFolder::SendTo: return "SendTo";
    }
    return "";
}

std::string ShellFolderPath(const std::string& prefix, const RegistryFile& user, const RegistryFile& system,
                            ShellFolder folder)
{
    const char* name = ShellFolderValueName(folder);
    std::string value;
    if (user.QueryString(kShellFolders, name, value))
        if (std::string path = Mapped(prefix, Expand(user, value)); !path.empty())
            return path;
    if (user.QueryString(kUserShellFolders, name, value))
        if (std::string path = Mapped(prefix, Expand(user, value)); !path.empty())
            return path;
    std::string key;
    if (folder == ShellFolder::Cookies)
        key = std::string(kCacheBase) + "\\Special Paths\\Cookies";
    else if (folder == ShellFolder::Cache)
        key = std::string(kCacheBase) + "\\Paths";
    else if (folder == ShellFolder::History)
        key = HistoryKey(system);
    if (!key.empty() && system.QueryString(key, "Directory", value))
        if (std::string path = Mapped(prefix, Expand(user, value)); !path.empty())
            return path;
    if (folder == ShellFolder::Personal)
        return XdgDocuments();
    return {};
}

std::string ShellFolderPath(const std::string& prefix, ShellFolder folder)
{
    RegistryFile user, system;
    std::string error;
    LoadRegistryFile(prefix + "/user.reg", user, error);
    LoadRegistryFile(prefix + "/system.reg", system, error);
    return ShellFolderPath(prefix, user, system, folder);
}

std::string HistoryCachePrefix(const RegistryFile& system)
{
    std::string label;
    if (system.QueryString(HistoryKey(system), "CachePrefix", label) && !label.empty())
        return label;
    return "Visited:";
}

bool LoadRegistryFile(const std::string& path, RegistryFile& registry, std::string& error)
{
    std::string bytes;
    if (!ReadRegularFile(path, kMaxRegistryBytes, bytes, error)) {
        registry.Load("WINE REGISTRY Version 2\n", error);
        return false;
    }
    std::string why;
    if (!registry.Load(std::move(bytes), why)) {
        error = path + ", " + why;
        return false;
    }
    return true;
}

} // namespace lt
