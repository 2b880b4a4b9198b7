// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <vector>

#include "search/search_settings.h"

namespace lt {

inline constexpr const char* kDefaultFollowMustNot =
    ".gif .jpg .exe .zip .rar .ace .mp3 .mpg .mpeg .avi .wmv .pdf .ps";
// The entry the proxy list holds when none is stored.
inline constexpr const char* kDefaultProxy = "127.0.0.1:8080";
// The most requests a job opens at once ("Parallel requests").
inline constexpr int kMaxParallelRequests = 64;
inline constexpr const char* kDefaultTextFontFace = "Courier New";
inline constexpr const char* kDefaultTextFontFields = "-12;0;400;0;0;3;2;1;49;0;";

// A window position record of section WPOS: the integers of "%05d" fields. `checksum` is the sum
// of the values when they were read or last written; the record is written again only when the
// sum has changed.
struct PositionRecord
{
    std::vector<int> values;
    long long checksum = -1;
};

// Options of "Read Internet Files" and the fetch layer (section INET).
struct InetOptions
{
    History urlHistory{};     // IU0..IU6
    History fileHistory{};    // IF0..IF6
    History ireHistory{};     // IRE0..IRE6
    bool saveToDisk = false;  // RI0
    int crawlMode = 0;        // RI1, 0..3
    std::string followMust;   // RI3
    std::string followMustNot = kDefaultFollowMustNot; // RI4
    bool enumerativeNames = false; // RI5
    std::string baseFileName;      // RI6
    std::string savePath;          // RI7; empty until read (the reader supplies its default)
    std::string startUrl;          // RI8
    std::string savedMust;         // RI9
    std::string savedMustNot;      // RI10
    bool saveOnly = false;         // RI11
    int timeoutSeconds = 30;       // RI12
    bool urlsFromFile = false;     // RI14
    std::string urlFile;           // RI15
    bool useProxy = false;         // RI16
    std::vector<std::string> proxies{kDefaultProxy}; // RI17, most recent first
    bool followMustAll = true;     // AWL1
    bool followMustNotAll = false; // AWL2
    bool savedMustAll = true;      // AWS1
    bool savedMustNotAll = false;  // AWS2
    int level = 1;                 // RI2: the highest level whose pages yield links
    int retries = 0;               // RI13: further passes over the failed rows
    int delayMinutes = 0;          // RI18
    std::string ftpUser;           // RI19
    std::string ftpPassword;       // RI20
    int parallelRequests = 8;      // RI21: requests open at once (status test, batch download); 1 one after the other
    // The directory the last download (batch or single) saved into; not stored. Empty: the
    // folder of RI7.
    std::string downloadDir;
};

// Options and locations read from the INI file beside the search settings.
struct Options
{
    // DIRS
    std::string saveFolder, openFolder, initFolder, tempFolder, cookieFolder, jobFolder;
    // The Wine prefix whose Windows profile the browser lists read (WINEPREFIX); empty: $WINEPREFIX
    // or ~/.wine.
    std::string winePrefix;
    // OPTIONS
    std::string rowColor = "0xE6FFFE";
    bool alternateRowColors = true;  // R12 position 6 (on in the default "0000010")
    bool stdOpen = true;
    bool textWin = false;
    int savedListKind = 0;           // R14
    bool rebuildDomainsAfterSearch = false;
    bool optionsChanged = false;     // an option was changed during this run

    // BOOKMARKS
    std::string netscapeBookmarks, msieFavorites, operaBookmarks;
    // SEARCH: the two further history lists of the search dialogs
    History buHistory{};
    History rfHistory{};
    // OPTIONS
    int r5 = 0;
    bool logUrl = false;             // R12 position 3
    bool standardBrowser = false;    // A3 (forced on when launchProgram is empty)
    std::string launchProgram;       // A4
    std::string browserOrder = "123"; // A5: 1 Internet Explorer, 2 Netscape, 3 Opera
    std::string printerFont1 = "0", printerFont2 = "0", printerFont3 = "0"; // P1..P3
    std::string printerFontFace;     // P4
    // MISC
    std::string joinDirSuffix = "_files";    // CMI1
    std::string joinFileName = "_index.htm"; // CMI2
    std::string miscText;                    // CMI3
    // The text window's font as stored: FT1 (empty: kDefaultTextFontFace) and FT2 ("0;" or empty:
    // kDefaultTextFontFields).
    std::string textFontFace;
    std::string textFontFields = "0;";
    // WPOS records by key ("WPS01".."WPS07", "WPS10").
    std::map<std::string, PositionRecord> positions;
    // "Save on exit" on the options page "Misc"; cleared at every start.
    bool saveSearchOnExit = false;
    bool saveWindowPositionsOnExit = false;
    bool savePrinterFontOnExit = false;

    InetOptions inet;
};

} // namespace lt
