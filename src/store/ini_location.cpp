// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/ini_location.h"

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace lt {

namespace {

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool IsRegularFile(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ParentFolder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

} // namespace

std::string IniPathFor(const IniEnvironment& env)
{
    if (!env.iniOverride.empty())
        return env.iniOverride;
    if (!env.programFolder.empty()) {
        const std::string beside = Join(env.programFolder, kIniFileName);
        if (IsRegularFile(beside))
            return beside;
    }
    std::string config;
    if (!env.xdgConfigHome.empty() && env.xdgConfigHome.front() == '/')
        config = env.xdgConfigHome;
    else if (!env.home.empty())
        config = Join(env.home, ".config");
    if (config.empty())
        return Join(env.programFolder, kIniFileName); // no home at all: beside the program
    return Join(Join(config, "linktrawl"), kIniFileName);
}

std::string IniPath(const std::string& programFolder)
{
    IniEnvironment env;
    env.iniOverride = Env("LINKTRAWL_INI");
    env.programFolder = programFolder;
    env.xdgConfigHome = Env("XDG_CONFIG_HOME");
    env.home = Env("HOME");
    return IniPathFor(env);
}

bool IniWritable(const std::string& iniPath)
{
    if (iniPath.empty())
        return false;
    struct stat st
    {
    };
    if (::stat(iniPath.c_str(), &st) == 0)
        // A mode without write bits means read-only even to root, whom access() never refuses.
        return S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && ::access(iniPath.c_str(), W_OK) == 0 &&
               ::access(ParentFolder(iniPath).c_str(), W_OK) == 0;
    // The file does not exist: the first folder above it that exists decides.
    std::string folder = ParentFolder(iniPath);
    for (;;) {
        if (::stat(folder.c_str(), &st) == 0)
            return S_ISDIR(st.st_mode) && ::access(folder.c_str(), W_OK | X_OK) == 0;
        if (folder == "/" || folder == ".")
            return false;
        folder = ParentFolder(folder);
    }
}

} // namespace lt
