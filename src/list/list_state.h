// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "list/result_list.h"

namespace lt {

// What the result list holds.
enum ListKind : int {
    kListFileSearch = 0,
    kListNetscapeTyped = 1,
    kListIeTyped = 2,
    kListAboutUrls = 3,
    kListHistoryIndex = 4,
    kListCacheIndex = 5,
    kListNetscapeHistory = 6,
    kListOldSession = 7,
    kListCookieIndex = 8,
    kListCookieFiles = 9,
    kListInetSaved = 10,
    kListInetRead = 11,
    kListFilesInUse = 12,
    kListRasAutodial = 13,
    kListFavorites = 14,
    kListFileList = 15,
    kListRecentLinks = 16,
    kListParsedText = 18,
};

// The state that goes with the list's contents: its kind, the producer's row texts and counters.
// Written by the window thread when a job starts and by the one running producer while it adds rows.
struct ListState
{
    int kind = kListFileSearch;
    int previousKind = kListFileSearch;
    int hitRateMode = 0;          // 0 none, 1 per column, 2 over-all (two columns)
    bool fileInfoOption = false;  // "File Date" and "File Size" columns of file-search lists
    bool netscapeDetail = false;  // Netscape 4.x history columns
    int pendingParseColumns = 0;  // column count pending from the parse dialog, 0 for none
    bool parseTextFileMode = false; // parsed text: empty first cells are kept in the text export
    // Kept with a session: the "Status" column (-1 none), the layout-changed flag and the
    // source-file count code (1 for a list from a single file, else the number of files given).
    int statusColumn = -1;
    bool layoutChanged = false;
    int sourceFiles = 2;

    // Producers fill buffers 1..5 (and further cells for some kinds) before AddResultRow.
    std::array<std::string, kMaxColumns> rowTexts{};
    long rowSerial = -1;
    long paramCounter = -1;
    int indexFileNumber = 0;  // 1..255 for the index-file readers
    int lastIcon = 1;         // the icon a producer with job code 110 set itself
    long lastAddedRow = -1;   // index of the row AddResultRow added last

    // Measured by the window: the width of "ABCDEFabcdef" in the list font (0 until measured),
    // the list's client width and the vertical scroll bar's width, in pixels.
    int fontProbeWidth = 0;
    int clientWidth = 0;
    int scrollBarWidth = 17;
    // Widths of the first six columns from the INI file.
    std::array<int, 6> initialWidths{364, 144, 360, 120, 120, 100};
    // Icons added behind the 18 standard row icons (files in use, recent links); the window
    // drops its extra images when this goes back to 0.
    int addedIconCount = 0;
    // Called by ClearResultList so that the domain view and the sort state can reset with the
    // list (mode 3 keeps the domain list).
    std::function<void(int mode)> onClear;

    // Remembered when leaving kind 0 (and when entering hit-rate mode) and restored on return.
    std::vector<ColumnState> savedColumns;

    // The applied state; ApplyListKind does nothing while it is unchanged.
    struct Applied
    {
        int kind = -1, previousKind = -1, itemKind = -1, hitRateMode = -1;
        bool fileInfo = false, netscapeDetail = false;
    } applied;
};

} // namespace lt
