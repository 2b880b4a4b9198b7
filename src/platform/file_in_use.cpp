// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_in_use.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace lt {

namespace {

bool OpenInFds(const std::string& fdFolder, dev_t device, ino_t inode)
{
    DIR* folder = opendir(fdFolder.c_str());
    if (!folder)
        return false;
    bool found = false;
    while (const dirent* entry = readdir(folder)) {
        if (entry->d_name[0] == '.')
            continue;
        struct stat facts {};
        // stat follows the descriptor's link to the open file itself.
        if (stat((fdFolder + "/" + entry->d_name).c_str(), &facts) == 0 && facts.st_dev == device &&
            facts.st_ino == inode) {
            found = true;
            break;
        }
    }
    closedir(folder);
    return found;
}

bool MappedInMaps(const std::string& mapsPath, dev_t device, ino_t inode)
{
    FILE* maps = std::fopen(mapsPath.c_str(), "re");
    if (!maps)
        return false;
    bool found = false;
    char line[4096];
    while (!found && std::fgets(line, sizeof line, maps)) {
        // "start-end perms offset major:minor inode path"
        unsigned major = 0, minor = 0;
        unsigned long long number = 0;
        if (std::sscanf(line, "%*s %*s %*s %x:%x %llu", &major, &minor, &number) == 3 && number != 0)
            found = number == inode && makedev(major, minor) == device;
        // A line longer than the buffer continues; its rest is no new entry.
        while (!std::strchr(line, '\n') && std::fgets(line, sizeof line, maps)) {
        }
    }
    std::fclose(maps);
    return found;
}

} // namespace

bool FileInUseByOtherProcess(const std::string& path)
{
    struct stat target {};
    if (stat(path.c_str(), &target) != 0)
        return false;
    DIR* proc = opendir("/proc");
    if (!proc)
        return false;
    const long self = static_cast<long>(getpid());
    bool found = false;
    while (!found) {
        const dirent* entry = readdir(proc);
        if (!entry)
            break;
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (*end != '\0' || pid <= 0 || pid == self)
            continue;
        const std::string base = std::string("/proc/") + entry->d_name;
        found = OpenInFds(base + "/fd", target.st_dev, target.st_ino) ||
                MappedInMaps(base + "/maps", target.st_dev, target.st_ino);
    }
    closedir(proc);
    return found;
}

} // namespace lt
