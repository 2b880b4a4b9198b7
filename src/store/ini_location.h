// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

// What the INI location depends on; tests fill it themselves.
struct IniEnvironment
{
    std::string iniOverride;   // $LINKTRAWL_INI (empty when unset)
    std::string programFolder; // the folder of the executable
    std::string xdgConfigHome; // $XDG_CONFIG_HOME
    std::string home;          // $HOME
};

inline constexpr const char* kIniFileName = "linktrawl.ini";

// The INI file: the override when set; else linktrawl.ini beside the executable when that file
// exists (a portable install); else $XDG_CONFIG_HOME/linktrawl/linktrawl.ini, with
// ~/.config as the configuration folder when $XDG_CONFIG_HOME is unset or not absolute.
std::string IniPathFor(const IniEnvironment& env);

// The same rule over the process environment.
std::string IniPath(const std::string& programFolder);

// False when the INI file must never be written: its folder (or, when the folder does not exist
// yet, the nearest folder above it that does) is not writable, or the file itself is read-only.
bool IniWritable(const std::string& iniPath);

} // namespace lt
