// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lt {

inline constexpr std::size_t kMaxDrives = 24;

// The stand-in for the fixed drives: the mount points of local disk file systems listed in a
// mounts table (the text of /proc/self/mounts). Network, pseudo and removable-media file systems
// and everything under /proc, /sys and /dev are left out; each mount point appears once, in
// table order, at most 24, each ending in '/'.
std::vector<std::string> LocalDrives(std::string_view mountsText);

// The same for this process's own mounts table.
std::vector<std::string> LocalDrives();

// True when the open folder `dirFd` lies on a kernel file system (proc, sysfs, devpts, cgroup and
// the like) or on the device file system mounted at /dev, wherever it is reached from: a link to
// "/" or a second proc mount reaches them under other names.
bool IsSystemFileSystem(int dirFd);

} // namespace lt
