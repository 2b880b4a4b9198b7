// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_in_use.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "wine_prefix_tree.h"

namespace lt {
namespace {

// A child holds the file (open, or only mapped after closing it) until told to end. Our own
// descriptors never count: the reader itself has the file open while it checks.
TEST(FileInUse, SeesOtherProcessesThatOpenOrMapTheFile)
{
    test::WinePrefixTree tree;
    tree.Write("index.dat", std::string(8192, 'x'));
    const std::string path = tree.Path("index.dat");
    const int own = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(own, 0);
    EXPECT_FALSE(FileInUseByOtherProcess(path));
    EXPECT_FALSE(FileInUseByOtherProcess(tree.Path("missing.dat")));

    for (const bool mapOnly : {false, true}) {
        SCOPED_TRACE(mapOnly ? "mapped" : "open");
        int ready[2], release[2];
        ASSERT_EQ(::pipe(ready), 0);
        ASSERT_EQ(::pipe(release), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            void* map = mapOnly ? ::mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0) : nullptr;
            if (mapOnly)
                ::close(fd);
            const char ok = fd >= 0 && map != MAP_FAILED ? 'y' : 'n';
            (void)!::write(ready[1], &ok, 1);
            char wait;
            (void)!::read(release[0], &wait, 1);
            ::_exit(0);
        }
        char ok = 0;
        ASSERT_EQ(::read(ready[0], &ok, 1), 1);
        ASSERT_EQ(ok, 'y');
        EXPECT_TRUE(FileInUseByOtherProcess(path));
        (void)!::write(release[1], "x", 1);
        ::waitpid(child, nullptr, 0);
        EXPECT_FALSE(FileInUseByOtherProcess(path));
        for (int fd : {ready[0], ready[1], release[0], release[1]})
            ::close(fd);
    }
    ::close(own);
}

} // namespace
} // namespace lt
