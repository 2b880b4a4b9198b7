// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/parse_settings.h"

#include <cstdlib>

#include "store/ini_file.h"

namespace lt {
namespace {

constexpr const char* kNoSettings = "No Search Settings found !";

void ReadFlags(const std::string& text, std::array<bool, 6>& flags)
{
    for (std::size_t i = 0; i < flags.size(); ++i)
        flags[i] = i < text.size() && text[i] == '1';
}

std::string FlagsText(const std::array<bool, 6>& flags)
{
    std::string text;
    for (const bool f : flags)
        text.push_back(f ? '1' : '0');
    return text;
}

long ReadNumber(const std::string& text, std::size_t& at)
{
    long value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        if (value < 100000000)
            value = value * 10 + (text[at] - '0');
        ++at;
    }
    return value;
}

} // namespace

void ReadParseSettings(const IniFile& ini, ParseSettings& s)
{
    s.parseFile = ini.GetString(kParseSection, "FCFILE", "", 4095);
    for (int i = 0; i < 6; ++i)
        s.startMarker[i] = ini.GetString(kParseSection, "FCFF" + std::to_string(i), "", 259);
    ReadFlags(ini.GetString(kParseSection, "FCSPACES", "000000"), s.spaceMarker);
    ReadFlags(ini.GetString(kParseSection, "FCLINES", "000000"), s.entireLine);
    const std::string range = ini.GetString(kParseSection, "FCSTEND", "0;0;");
    std::size_t at = 0;
    s.startLine = ReadNumber(range, at);
    if (at < range.size() && range[at] == ';')
        ++at;
    s.endLine = ReadNumber(range, at);
}

void WriteParseSettings(IniFile& ini, const ParseSettings& s)
{
    ini.SetString(kParseSection, "FCFILE", s.parseFile);
    for (int i = 0; i < 6; ++i)
        ini.SetString(kParseSection, "FCFF" + std::to_string(i), s.startMarker[i]);
    ini.SetString(kParseSection, "FCSPACES", FlagsText(s.spaceMarker));
    ini.SetString(kParseSection, "FCLINES", FlagsText(s.entireLine));
    ini.SetString(kParseSection, "FCSTEND", std::to_string(s.startLine) + ";" + std::to_string(s.endLine) + ";");
}

std::string SaveParseSettingsFile(const std::string& path, const ParseSettings& settings)
{
    IniFile ini;
    ini.SetString("LTSfile", "U0", "5");
    WriteParseSettings(ini, settings);
    return ini.Save(path);
}

std::string LoadParseSettingsFile(const std::string& path, ParseSettings& settings)
{
    IniFile ini;
    std::string error = ini.Load(path);
    if (!error.empty())
        return error;
    if (!ini.FileExisted() || ini.GetString("LTSfile", "U0", "0") != "5")
        return kNoSettings;
    ReadParseSettings(ini, settings);
    return {};
}

} // namespace lt
