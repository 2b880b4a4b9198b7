// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wine_profile.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/shell_folders.h"
#include "platform/registry_file.h"
#include "wine_prefix_tree.h"

namespace lt {
namespace {

TEST(WinePrefixPath, ConfiguredThenEnvironmentThenHome)
{
    ::setenv("WINEPREFIX", "/env/prefix/", 1);
    EXPECT_EQ(WinePrefixPath("/ini/prefix/"), "/ini/prefix");
    EXPECT_EQ(WinePrefixPath(""), "/env/prefix");
    ::unsetenv("WINEPREFIX");
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(WinePrefixPath(""), "/home/someone/.wine");
}

TEST(MapWindowsPath, DrivesSeparatorsAndCase)
{
    test::WinePrefixTree tree;
    tree.Write("drive_c/users/u/AppData/Local/Microsoft/Windows/History/History.IE5/index.dat", "x");
    const std::string prefix = tree.Path();
    // The documented "Index.dat" and mixed case find Wine's lower-case files; the C: link is used.
    EXPECT_EQ(MapWindowsPath(prefix, "C:\\USERS\\U\\appdata\\local\\Microsoft\\Windows\\History\\History.IE5\\Index.dat"),
              prefix + "/dosdevices/c:/users/u/AppData/Local/Microsoft/Windows/History/History.IE5/index.dat");
    // Missing components stay as given; ".." does not climb out of the drive.
    EXPECT_EQ(MapWindowsPath(prefix, "c:\\Users\\New Folder\\..\\..\\..\\Windows\\nsreg.dat"),
              prefix + "/dosdevices/c:/windows/nsreg.dat");
    EXPECT_EQ(MapWindowsPath(prefix, "D:\\data"), "");
    EXPECT_EQ(MapWindowsPath(prefix, "\\\\server\\share\\x"), "");
    EXPECT_EQ(MapWindowsPath(prefix, "relative\\name"), "");

    // Without dosdevices, C: is drive_c; another drive letter is found through its link.
    std::filesystem::remove(tree.Path("dosdevices/c:"));
    EXPECT_EQ(MapWindowsPath(prefix, "C:\\Users\\U\\favorites"), prefix + "/drive_c/users/u/Favorites");
    std::filesystem::create_directory_symlink(tree.Path("drive_c/windows"), tree.Path("dosdevices/e:"));
    EXPECT_EQ(MapWindowsPath(prefix, "E:/SYSTEM32"), prefix + "/dosdevices/e:/SYSTEM32");
}

TEST(ResolvePathNoCase, PrefersTheExactName)
{
    test::WinePrefixTree tree;
    tree.Write("drive_c/a/Index.dat", "1");
    tree.Write("drive_c/a/index.dat", "2");
    EXPECT_EQ(ResolvePathNoCase(tree.Path("drive_c"), "A\\index.dat"), tree.Path("drive_c/a/index.dat"));
    EXPECT_EQ(ResolvePathNoCase(tree.Path("drive_c"), "a/Index.dat"), tree.Path("drive_c/a/Index.dat"));
}

std::string Reg(const std::string& body)
{
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n" + body;
}

TEST(ShellFolderPath, ShellFoldersThenUserShellFoldersThenMachineKeys)
{
    test::WinePrefixTree tree;
    tree.Write("drive_c/users/u/AppData/Local/Microsoft/Windows/INetCache/x", "");
    tree.Write("user.reg",
               Reg("\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1700000000\n"
                   "#time=1da0f1e2c3b4a59\n\"Favorites\"=\"C:\\\\users\\\\u\\\\Favorites\"\n"
                   "\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\User Shell Folders] 1700000000\n"
                   "\"Cache\"=str(2):\"%LOCALAPPDATA%\\\\Microsoft\\\\Windows\\\\INetCache\"\n"
                   "\n[Volatile Environment] 1700000000\n\"USERPROFILE\"=\"C:\\\\users\\\\u\"\n"));
    tree.Write("system.reg",
               Reg("\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Internet Settings\\\\Cache\\\\Special Paths\\\\History] 1\n"
                   "@=\"Software\\\\Hist\"\n"
                   "\n[Software\\\\Hist] 1\n\"Directory\"=\"C:\\\\windows\\\\History\"\n\"CachePrefix\"=\"Seen:\"\n"));
    const std::string prefix = tree.Path();
    EXPECT_EQ(ShellFolderPath(prefix, ShellFolder::Favorites), prefix + "/dosdevices/c:/users/u/Favorites");
    EXPECT_EQ(ShellFolderPath(prefix, ShellFolder::Cache),
              prefix + "/dosdevices/c:/users/u/AppData/Local/Microsoft/Windows/INetCache");
    EXPECT_EQ(ShellFolderPath(prefix, ShellFolder::History), prefix + "/dosdevices/c:/windows/History");
    EXPECT_EQ(ShellFolderPath(prefix, ShellFolder::Recent), "");
    RegistryFile system;
    std::string error;
    ASSERT_TRUE(LoadRegistryFile(tree.Path("system.reg"), system, error));
    EXPECT_EQ(HistoryCachePrefix(system), "Seen:");
    EXPECT_EQ(HistoryCachePrefix(RegistryFile()), "Visited:");
    // No registry at all: only the XDG documents folder is left.
    const std::string empty = tree.Path("drive_c/users");
    ::setenv("HOME", tree.Path("drive_c/users/u").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", tree.Path("none").c_str(), 1);
    std::filesystem::create_directories(tree.Path("drive_c/users/u/Documents"));
    EXPECT_EQ(ShellFolderPath(empty, ShellFolder::Personal), tree.Path("drive_c/users/u/Documents"));
    EXPECT_EQ(ShellFolderPath(empty, ShellFolder::Favorites), "");
}

} // namespace
} // namespace lt
