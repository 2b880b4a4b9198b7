// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace lt {

// What the registry and preference lists remember between reading a list and writing it back.
// Window thread only.
struct BrowserListState
{
    // The "Home" value of AboutURLs as read, type and bytes, so that it is written back unchanged.
    bool homeSeen = false;
    uint32_t homeType = 0;
    std::string homeData;
    // The Netscape typed-URL file found by the reader ("prefs.js", "preferences.js" or "Netscape.ini").
    std::string netscapeFile;
    // Why the last registry or preference write failed (a running wineserver, a file error).
    std::string lastError;
    // Where Wine keeps its server folders ("/tmp"; tests point it elsewhere).
    std::string wineServerRoot = "/tmp";
};

} // namespace lt
