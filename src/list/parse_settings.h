// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

namespace lt {

class IniFile;

// The settings of "Parse Text files" (INI section "FillCols").
struct ParseSettings
{
    std::string parseFile;                  // FCFILE: a file, or a folder
    std::array<std::string, 6> startMarker; // FCFF0..FCFF5, at most 259 characters
    std::array<bool, 6> spaceMarker{};      // FCSPACES
    std::array<bool, 6> entireLine{};       // FCLINES
    long startLine = 0;                     // FCSTEND "%d;%d;": 1-based, 0 for no limit
    long endLine = 0;

    bool operator==(const ParseSettings&) const = default;
};

inline constexpr const char* kParseSection = "FillCols";

void ReadParseSettings(const IniFile& ini, ParseSettings& settings);
void WriteParseSettings(IniFile& ini, const ParseSettings& settings);

// "&Save as": a fresh file with `LTSfile` `U0` "5" and the "FillCols" section, written
// atomically. Returns an error text, empty on success.
std::string SaveParseSettingsFile(const std::string& path, const ParseSettings& settings);
// "&Load": refuses a file whose `U0` is not "5" with "No Search Settings found !" and leaves
// `settings` alone then. Returns an error text, empty on success.
std::string LoadParseSettingsFile(const std::string& path, ParseSettings& settings);

} // namespace lt
