// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

class RegistryFile;

// The shell's special folders the program uses, with their value names in "Shell Folders".
enum class ShellFolder { Favorites, Cookies, Cache, History, Personal, Recent, SendTo };

// The value name of a folder in "Shell Folders" ("Favorites", "Cookies", "Cache", ...).
const char* ShellFolderValueName(ShellFolder folder);

// The Linux path of a special folder of the Windows profile in `prefix` (no trailing '/'):
// "Shell Folders" of `user`, then "User Shell Folders" with %USERPROFILE% and the like expanded,
// then the local-machine cache keys of `system` (Cookies, Cache, History), then the XDG documents
// folder for Personal; empty when none gives one, which makes the commands that need it do nothing.
std::string ShellFolderPath(const std::string& prefix, const RegistryFile& user, const RegistryFile& system,
                            ShellFolder folder);

// The same, reading the prefix's user.reg and system.reg (missing or unreadable files count as empty).
std::string ShellFolderPath(const std::string& prefix, ShellFolder folder);

// The label of history entries: the local-machine "CachePrefix" of the history cache key, else
// "Visited:".
std::string HistoryCachePrefix(const RegistryFile& system);

// Reads a registry file whole (at most 512 MB). False with `error` when it is missing, not a
// regular file, too large or not a Wine registry file.
bool LoadRegistryFile(const std::string& path, RegistryFile& registry, std::string& error);

} // namespace lt
