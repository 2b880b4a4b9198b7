// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

// Named numbers of the window's commands, by subsystem.

// List edits
inline constexpr int kCmdReplaceText = 1501;
inline constexpr int kCmdUnescapeUrls = 4223;
inline constexpr int kCmdUnescapeSelected = 4224;
inline constexpr int kCmdCutParams = 4225;
inline constexpr int kCmdCutParamsSelected = 4226;
inline constexpr int kCmdEditEntry = 4120;
inline constexpr int kCmdSelectWith = 4150;
inline constexpr int kCmdDeleteWith = 4132;
inline constexpr int kCmdCompareToDisk = 1475;
inline constexpr int kCmdParseTextFiles = 1502;
inline constexpr int kCmdRowMainAction = 4210; // "Delete &empty Lines" in the parsed-text list

} // namespace lt
