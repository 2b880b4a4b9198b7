// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lt {

struct AppState;

// The profile folder named in the last bytes of "nsreg.dat" as read (the last 2048 bytes of the
// file; a shorter file all but its last byte): the text after "ProfileLocation" (any case) and one
// more byte, up to a NUL, at most 260 bytes and never past what was read. The match must end more
// than 4 bytes before the end. Empty when there is none.
std::string NsregProfileLocation(std::string_view tail);

// The bytes of nsreg.dat that NsregProfileLocation reads.
std::string_view NsregTail(std::string_view file);

// Netscape's profile folder from the Windows folder's "nsreg.dat" of the Windows profile, as a
// Linux path. False when the file is missing or empty or names no folder.
bool FindNetscapeProfile(const AppState& app, std::string& folder);

// A path from the settings or from browser data: a Windows path ("C:\...") is mapped into the
// Wine prefix; a Linux path is taken as it is.
std::string ProfilePath(const AppState& app, const std::string& path);

} // namespace lt
