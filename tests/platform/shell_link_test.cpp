// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell_link.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "wine_prefix_tree.h"

namespace lt {
namespace {

void Put16(std::string& b, uint32_t v)
{
    b.push_back(static_cast<char>(v & 0xFF));
    b.push_back(static_cast<char>(v >> 8));
}

void Put32(std::string& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A shell link laid out as published: header, an ID list, LinkInfo with a local base path (and a
// network link when `share` is given), and a Unicode name string.
std::string MakeLink(const std::string& base, const std::string& suffix, const std::string& share = {},
                     uint32_t attributes = 0x20)
{
    std::string b;
    Put32(b, 0x4C);
    b += std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
    Put32(b, 0x1 | 0x2 | 0x4 | 0x80); // ID list, link info, name, Unicode
    Put32(b, attributes);
    b.resize(0x4C, '\0');
    Put16(b, 6); // ID list: one 4-byte item and the terminator
    Put16(b, 4);
    Put16(b, 0xABCD);
    Put16(b, 0);

    const uint32_t header = 0x1C;
    std::string net;
    if (!share.empty()) {
        Put32(net, static_cast<uint32_t>(0x14 + share.size() + 1));
        Put32(net, 0);
        Put32(net, 0x14);
        Put32(net, 0);
        Put32(net, 0);
        net += share + '\0';
    }
    const uint32_t volume = header;
    const std::string volumeId(16, '\0');
    const uint32_t local = volume + 16;
    const uint32_t network = static_cast<uint32_t>(local + base.size() + 1);
    const uint32_t suffixAt = static_cast<uint32_t>(network + net.size());
    const uint32_t size = static_cast<uint32_t>(suffixAt + suffix.size() + 1);
    Put32(b, size);
    Put32(b, header);
    Put32(b, share.empty() ? 0x1 : 0x3);
    Put32(b, volume);
    Put32(b, local);
    Put32(b, share.empty() ? 0 : network);
    Put32(b, suffixAt);
    b += volumeId + base + '\0' + net + suffix + '\0';

    const std::u16string name = u"Caf\u00e9 \u263a";
    Put16(b, static_cast<uint32_t>(name.size()));
    for (char16_t c : name)
        Put16(b, c);
    return b;
}

TEST(ReadShellLink, LocalAndNetworkTargetsAndNames)
{
    ShellLink link;
    std::string error;
    ASSERT_TRUE(ReadShellLink(MakeLink("C:\\users\\u\\", "Documents\\a.txt"), link, error)) << error;
    EXPECT_EQ(link.localPath, "C:\\users\\u\\Documents\\a.txt");
    EXPECT_EQ(link.Target(), link.localPath);
    EXPECT_EQ(link.name, "Caf\xe9 ?");
    EXPECT_FALSE(link.TargetIsFolder());

    ASSERT_TRUE(ReadShellLink(MakeLink("Z:\\", "docs", "\\\\server\\share", 0x10), link, error)) << error;
    EXPECT_EQ(link.uncPath, "\\\\server\\share\\docs");
    EXPECT_EQ(link.Target(), "\\\\server\\share\\docs"); // the UNC form is preferred
    EXPECT_TRUE(link.TargetIsFolder());
}

TEST(ReadShellLink, DamagedFilesFailWithoutReadingPastThem)
{
    const std::string good = MakeLink("C:\\x\\", "y.txt", "\\\\s\\t");
    ShellLink link;
    std::string error;
    // Every cut of a good link is refused or read within its bytes (the sanitizers watch the reads).
    for (std::size_t n = 0; n < good.size(); ++n) {
        const std::string cut = good.substr(0, n);
        EXPECT_FALSE(ReadShellLink(cut, link, error)) << n;
    }
    std::string wrongClass = good;
    wrongClass[4] = '\x02';
    EXPECT_FALSE(ReadShellLink(wrongClass, link, error));
    EXPECT_NE(error.find("class identifier"), std::string::npos);
    std::string wrongSize = good;
    wrongSize[0] = '\x4D';
    EXPECT_FALSE(ReadShellLink(wrongSize, link, error));
    // A local base path offset pointing outside the LinkInfo.
    std::string badOffset = good;
    const std::size_t info = 0x4C + 2 + 6;
    badOffset[info + 16] = '\x7F';
    EXPECT_FALSE(ReadShellLink(badOffset, link, error));
    EXPECT_NE(error.find("local base path"), std::string::npos);
}

TEST(ResolveShortcut, FilesFoldersAndSymbolicLinks)
{
    test::WinePrefixTree tree;
    tree.Write("drive_c/users/u/Documents/a.txt", "x");
    tree.Write("links/file.lnk", MakeLink("C:\\users\\u\\", "Documents\\a.txt"));
    tree.Write("links/folder.lnk", MakeLink("C:\\USERS\\u\\", "documents"));
    tree.Write("links/broken.lnk", "not a link");
    std::string target;
    EXPECT_EQ(ResolveShortcut(tree.Path(), tree.Path("links/file.lnk"), target), 1);
    EXPECT_EQ(target, "C:\\users\\u\\Documents\\a.txt");
    EXPECT_EQ(ResolveShortcut(tree.Path(), tree.Path("links/folder.lnk"), target), 2);
    EXPECT_EQ(ResolveShortcut(tree.Path(), tree.Path("links/broken.lnk"), target), 0);
    EXPECT_EQ(target, "");
    std::filesystem::create_directory_symlink(tree.Path("drive_c"), tree.Path("links/drive"));
    EXPECT_EQ(ResolveShortcut(tree.Path(), tree.Path("links/drive"), target), 2);
    EXPECT_EQ(target, std::filesystem::canonical(tree.Path("drive_c")).string());
}

} // namespace
} // namespace lt
