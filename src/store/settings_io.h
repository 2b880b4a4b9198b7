// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/ini_file.h"
#include "store/options.h"

namespace lt {

struct AppState;

// The file-type code of section LTSfile, key U0.
enum SettingsFileType : int {
    kFileTypeNone = 0,
    kFileTypeIni = 1,
    kFileTypeSettings = 2,
    kFileTypeSession = 3,
    kFileTypeJob = 4,
    kFileTypeParseColumns = 5,
};

// Operation codes of the settings reader and writer.
enum SettingsCode : int {
    kSettingsLoad = 23,         // load a search settings file
    kSettingsSaveNow = 24,      // save the search settings into the INI file
    kSettingsSaveAs = 25,       // save a search settings file
    kSettingsSessionRead = 27,  // the settings part of a session before its rows
    kSettingsSessionCheck = 28, // check a session before appending its rows
    kSettingsStartup = 38,      // the INI file at start-up (no file-type check)
    kSettingsClose = 39,        // the search settings into the INI file at close
    kSettingsLoadJob = 40,      // load a job file
    kSettingsSaveJob = 42,      // save a job file
};

// Reads DIRS, SEARCH, OPTIONS, MISC and INET/RI3, RI4 from the document as the code says.
// Returns -1 when the file is not of the expected kind (U0 "0", missing or unknown; a job load
// needs "4"), 1 for an accepted append check (code 28, nothing else read), otherwise 0.
// At start-up (code 38) a missing key gives its documented default; when loading a file, a key
// the file does not hold keeps its current value.
int ReadSettings(AppState& app, const IniFile& ini, int code);
// The same from a file; -1 also when the path is empty or the file cannot be read (`error` then
// says why). A loaded DIRS/TEMPO is taken only when it names an existing folder by an absolute
// path; only the INI file at start-up (code 38) makes a missing temporary folder.
int ReadSettings(AppState& app, const std::string& path, int code, std::string* error = nullptr);

// The INET section (the "Read Internet Files" options, the time-out and the proxies).
void ReadInetSettings(AppState& app, const IniFile& ini, bool fromJob);
void WriteInetSettings(const AppState& app, IniFile& ini);

// Writes U0 and the settings of the code into the document; -1 for a code that writes nothing.
int WriteSettings(AppState& app, IniFile& ini, int code);
// The same into a file, keeping whatever else the file holds; the write is atomic. Returns -1 when
// nothing was written (code 39 with an INI file that must not be written, or a failure, which
// `error` describes).
int WriteSettings(AppState& app, const std::string& path, int code, std::string* error = nullptr);

// The WPOS position records: "%05d" per value, a value outside 0..30000 stored as 00000.
PositionRecord ReadPosition(const IniFile& ini, std::string_view key);
std::string FormatPosition(const PositionRecord& record);
// Writes the record only when the sum of its values differs from its checksum; then updates it.
// Returns whether it wrote.
bool WritePosition(IniFile& ini, std::string_view key, PositionRecord& record);

// Everything the INI file holds, read at start-up: ReadSettings with code 38, the INET section,
// BOOKMARKS, WPOS and the text-window font; then the kind is checked and selected and the item
// character table follows "Url like".
void ReadIniAtStartup(AppState& app, const IniFile& ini);
// The same from the INI file, making a missing temporary folder; a missing file gives the defaults. Returns
// an error text when the file exists but could not be read (the defaults are then in force).
std::string ReadIniAtStartup(AppState& app, const std::string& iniPath);

// Puts what the program writes at close into the document: U0 "1", DIRS, the SEARCH lists and
// flags, the OPTIONS keys of the options pages, BOOKMARKS, MISC, INET and the text-window font;
// the printer font, the window positions and the search settings only when their "Save on exit"
// box is ticked.
void WriteIniAtClose(AppState& app, IniFile& ini);

struct CloseWriteResult
{
    bool written = false;
    std::string error; // a failed write; the old file is then as it was
};
// The close of the program: writes nothing when the INI folder is not writable, nor when no option
// was changed and there is no INI file yet; otherwise updates the file atomically.
CloseWriteResult WriteIniAtClose(AppState& app, const std::string& iniPath);

// One key of a settings part written in a fixed order.
struct SettingsEntry
{
    const char* section;
    std::string key;
    std::string value;
};
// The DIRS, SEARCH, INET and OPTIONS keys of a session, in the order the session writer puts them
// (the project's own keys at the end of their sections).
std::vector<SettingsEntry> SessionSettingsEntries(const AppState& app);

// Section names.
inline constexpr const char* kSecLtsFile = "LTSfile";
inline constexpr const char* kSecDirs = "DIRS";
inline constexpr const char* kSecBookmarks = "BOOKMARKS";
inline constexpr const char* kSecWpos = "WPOS";
inline constexpr const char* kSecSearch = "SEARCH";
inline constexpr const char* kSecOptions = "OPTIONS";
inline constexpr const char* kSecInet = "INET";
inline constexpr const char* kSecMisc = "MISC";
inline constexpr const char* kSecTextWin = "TEXTWIN";

} // namespace lt
