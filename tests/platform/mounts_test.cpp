// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/mounts.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(LocalDrives, KeepsLocalDiskFileSystemsOnly)
{
    const std::string table = "overlay / overlay rw,relatime 0 0\n"
                              "proc /proc proc rw,nosuid 0 0\n"
                              "sysfs /sys sysfs ro 0 0\n"
                              "tmpfs /dev tmpfs rw 0 0\n"
                              "devpts /dev/pts devpts rw 0 0\n"
                              "/dev/sda2 /home ext4 rw,relatime 0 0\n"
                              "/dev/sdb1 /media/usb\\040stick vfat rw 0 0\n"
                              "server:/export /mnt/nfs nfs4 rw 0 0\n"
                              "//nas/share /mnt/smb cifs rw 0 0\n"
                              "sshfs#me@host: /mnt/ssh fuse.sshfs rw 0 0\n"
                              "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
                              "tmpfs /run tmpfs rw 0 0\n"
                              "/dev/sda2 /home ext4 rw,relatime 0 0\n"
                              "/dev/sda3 /sys/fs/odd ext4 rw 0 0\n"
                              "broken line\n";
    EXPECT_EQ(LocalDrives(table), (std::vector<std::string>{"/", "/home/", "/media/usb stick/"}));
}

TEST(LocalDrives, AtMostTwentyFour)
{
    std::string table;
    for (int i = 0; i < 30; ++i)
        table += "/dev/sd" + std::to_string(i) + " /data/" + std::to_string(i) + " xfs rw 0 0\n";
    const auto drives = LocalDrives(table);
    ASSERT_EQ(drives.size(), 24u);
    EXPECT_EQ(drives.front(), "/data/0/");
    EXPECT_EQ(drives.back(), "/data/23/");
}

TEST(SystemFileSystem, KernelAndDeviceFileSystemsButNotDisksOrTmp)
{
    const std::pair<const char*, bool> folders[] = {
        {"/proc", true}, {"/proc/self", true}, {"/sys", true}, {"/dev", true}, {"/", false}, {"/tmp", false}};
    for (const auto& [folder, expected] : folders) {
        const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << folder;
        EXPECT_EQ(IsSystemFileSystem(fd), expected) << folder;
        ::close(fd);
    }
}

} // namespace
} // namespace lt
