// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wine_server.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "wine_prefix_tree.h"

namespace lt {
namespace {

// fcntl locks of our own process are invisible to F_GETLK, so the "server" is a child process.
TEST(WineServerRunning, SeesTheLockOfAnotherProcess)
{
    test::WinePrefixTree tree;
    const std::string root = tree.Path("tmp");
    const std::string folder = WineServerFolder(tree.Path(), root);
    ASSERT_FALSE(folder.empty());
    EXPECT_FALSE(WineServerRunning(tree.Path(), root));
    std::filesystem::create_directories(folder);
    tree.Write(folder.substr(tree.Path().size() + 1) + "/lock", "");
    EXPECT_FALSE(WineServerRunning(tree.Path(), root)); // a lock file nobody holds: a dead server

    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open((folder + "/lock").c_str(), O_RDWR);
        struct flock lock
        {
        };
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_len = 1;
        const char ok = (fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0) ? 'y' : 'n';
        (void)!::write(ready[1], &ok, 1);
        char c;
        (void)!::read(release[0], &c, 1);
        ::_exit(0);
    }
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    EXPECT_EQ(ok, 'y');
    EXPECT_TRUE(WineServerRunning(tree.Path(), root));
    (void)!::write(release[1], "x", 1);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(WineServerRunning(tree.Path(), root));
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        ::close(fd);
}

} // namespace
} // namespace lt
