// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

// Options and locations read from the INI file beside the search settings.
struct Options
{
    // DIRS
    std::string saveFolder, openFolder, initFolder, tempFolder, cookieFolder, jobFolder;
    // OPTIONS
    std::string rowColor = "0xE6FFFE";
    bool alternateRowColors = false; // R12 position 6
    bool stdOpen = true;
    bool textWin = false;
    int savedListKind = 0;           // R14
    bool rebuildDomainsAfterSearch = false;
    bool optionsChanged = false;     // an option was changed during this run
};

} // namespace lt
