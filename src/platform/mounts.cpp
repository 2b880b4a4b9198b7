// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/mounts.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>

namespace lt {

namespace {

// File systems that keep files on a local disk. Anything else (nfs, cifs, fuse.sshfs, proc,
// tmpfs, iso9660, ...) is not a fixed drive.
constexpr std::array<std::string_view, 20> kDiskTypes = {
    "ext2",  "ext3", "ext4",  "xfs",     "btrfs", "f2fs", "jfs",     "reiserfs", "vfat",     "msdos",
    "exfat", "ntfs", "ntfs3", "fuseblk", "zfs",   "hfs",  "hfsplus", "nilfs2",   "bcachefs", "overlay",
};

// Mount tables write blanks, tabs, newlines and backslashes in paths as three octal digits.
std::string DecodeOctal(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const char a = field[i + 1], b = field[i + 2], c = field[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
                out.push_back(static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0')));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

bool UnderSystemFolder(const std::string& path)
{
    for (std::string_view top : {"/proc", "/sys", "/dev"}) {
        if (path.compare(0, top.size(), top) == 0 && (path.size() == top.size() || path[top.size()] == '/'))
            return true;
    }
    return false;
}

} // namespace

std::vector<std::string> LocalDrives(std::string_view mountsText)
{
    std::vector<std::string> drives;
    std::size_t lineStart = 0;
    while (lineStart < mountsText.size() && drives.size() < kMaxDrives) {
        std::size_t lineEnd = mountsText.find('\n', lineStart);
        if (lineEnd == std::string_view::npos)
            lineEnd = mountsText.size();
        std::istringstream fields{std::string(mountsText.substr(lineStart, lineEnd - lineStart))};
        lineStart = lineEnd + 1;

        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type))
            continue;
        if (std::find(kDiskTypes.begin(), kDiskTypes.end(), type) == kDiskTypes.end())
            continue;
        std::string path = DecodeOctal(mountPoint);
        if (path.empty() || path[0] != '/' || UnderSystemFolder(path))
            continue;
        if (path.back() != '/')
            path.push_back('/');
        if (std::find(drives.begin(), drives.end(), path) == drives.end())
            drives.push_back(std::move(path));
    }
    return drives;
}

std::vector<std::string> LocalDrives()
{
    std::ifstream in("/proc/self/mounts", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return LocalDrives(text.str());
}

bool IsSystemFileSystem(int dirFd)
{
    struct statfs fs
    {
    };
    if (::fstatfs(dirFd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case BPF_FS_MAGIC:
    case PSTOREFS_MAGIC:
    case EFIVARFS_MAGIC:
        return true;
    default:
        break;
    }
    // /dev is a tmpfs-like file system of its own; tmpfs as such (/tmp) is searched. A /dev that is
    // a plain folder of the root file system excludes nothing.
    static const dev_t kDevDevice = [] {
        struct stat dev
        {
        }, root{};
        if (::stat("/dev", &dev) != 0 || ::stat("/", &root) != 0 || dev.st_dev == root.st_dev)
            return static_cast<dev_t>(-1);
        return dev.st_dev;
    }();
    struct stat st
    {
    };
    return kDevDevice != static_cast<dev_t>(-1) && ::fstat(dirFd, &st) == 0 && st.st_dev == kDevDevice;
}

} // namespace lt
