// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

// Named numbers of the window's commands (their texts and guards are in the command table).

// Sessions and settings files
inline constexpr int kCmdReadTextFileList = 1477; // "&Read from Text File"
inline constexpr int kCmdSessionSaveAs = 1530;
inline constexpr int kCmdSessionLoad = 1531;
inline constexpr int kCmdSessionAppend = 1532;
inline constexpr int kCmdSettingsSaveAs = 5410;
inline constexpr int kCmdSettingsLoad = 5420;

} // namespace lt
