// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lt {

// What a Windows shell link (".lnk") file says, texts as Windows-1252 bytes.
struct ShellLink
{
    uint32_t flags = 0;          // LinkFlags
    uint32_t fileAttributes = 0; // of the target when the link was made
    std::string localPath;       // LinkInfo: local base path + common path suffix
    std::string uncPath;         // LinkInfo: network share name + "\" + common path suffix
    std::string name, relativePath, workingDir, arguments, iconLocation; // StringData

    bool TargetIsFolder() const { return (fileAttributes & 0x10) != 0; }
    // The target as the shell gives it: the UNC form when there is one, else the local path,
    // else the relative path.
    std::string Target() const;
};

// Decodes a shell link from its bytes (the published Shell Link binary format):
//   0x00 u32  HeaderSize, 0x4C
//   0x04 16   LinkCLSID 00021401-0000-0000-C000-000000000046
//   0x14 u32  LinkFlags (0x1 target ID list, 0x2 link info, 0x4 name, 0x8 relative path, 0x10
//             working dir, 0x20 arguments, 0x40 icon location, 0x80 Unicode strings, 0x100 no link info)
//   0x18 u32  FileAttributes of the target (0x10 a folder)
//   0x4C      [u16 IDListSize, ID list]  [LinkInfo]  [StringData: u16 count + characters, each]
// LinkInfo: u32 size, u32 header size, u32 flags (0x1 volume + local base path, 0x2 network link),
// u32 volume ID offset, u32 local base path offset, u32 network link offset, u32 common path
// suffix offset (offsets from the LinkInfo start); the network link: u32 size, u32 flags, u32 net
// name offset (from its own start). Every offset and size is checked against the bytes given.
// False with `error` (what failed and at which offset) for a damaged or foreign file.
bool ReadShellLink(std::string_view bytes, ShellLink& link, std::string& error);

// Resolves a shortcut: a ".lnk" file through ReadShellLink (its target mapped into `prefix` for
// the folder test), a symbolic link through the file system. 0 failure (`target` empty), 1 the
// target is a file, 2 a folder. `target` is the link's own target text (a Windows path for .lnk
// files), at most 259 bytes.
int ResolveShortcut(const std::string& prefix, const std::string& path, std::string& target);

} // namespace lt
