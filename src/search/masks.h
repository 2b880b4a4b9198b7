// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lt {

inline constexpr int kMaxMasks = 12;
inline constexpr std::size_t kMaxMaskLength = 31;

// Splits a mask list such as "*.htm; *.HTML,*.txt" into lower-case masks: ";" and "," count as
// blanks, at most 12 masks (the twelfth takes the rest of the text), masks of 32 bytes or more
// are dropped. Returns the number of masks now in `masks`.
int ParseMasks(std::string_view text, std::vector<std::string>& masks);

// The stored form of a parsed list: the masks joined with single blanks.
std::string JoinMasks(const std::vector<std::string>& masks);

// True when one of the masks is "*.*" (ignoring case).
bool HasAllFilesMask(const std::vector<std::string>& masks);

// Matches a file name against one mask, ignoring case: "?" takes any one byte; "*" jumps to the
// first later occurrence of the mask byte that follows it (to the end of the name when there is
// none or when "*" ends the mask). So "*.htm" does not match "a.b.htm": the "*" stops at the
// first ".".
bool MaskMatch(std::string_view mask, std::string_view name);

// True when any mask of the table matches the name.
bool MatchesAnyMask(const std::vector<std::string>& masks, std::string_view name);

} // namespace lt
