// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "sources/byte_source.h"

namespace lt {

struct AppState;

// One entry of a Netscape history hash file.
struct NetscapeEntry
{
    std::string url;
    std::string title;
    std::string hits;        // "%3u", empty for an entry of one time
    int64_t lastVisit = 0;   // Unix seconds
    int64_t firstVisit = 0;
    bool oneTime = false;    // exactly 4 data bytes: the old format's single visit time
};

// The page geometry of a Berkeley DB 1.85 hash file: from the header page when its magic number
// is valid, else 4096-byte little-endian pages.
struct HashGeometry
{
    uint32_t pageSize = 4096;
    bool bigEndian = false;
};
HashGeometry ReadHashGeometry(ByteSource& source);

// Hands every entry of the file's complete bucket pages (after the header page) to `onEntry`.
// Returns the number of entries.
long ScanNetscapeHistory(ByteSource& source, const std::function<void(const NetscapeEntry&)>& onEntry);

// The format the data decides: 1 the old format (the first entry with data holds 4 bytes), 0 the
// new one, -1 when the file has no entry with data.
int DetectNetscapeFormat(ByteSource& source);

// The profile folder named by "ProfileLocation" near the end of an nsreg.dat (a Windows path as
// stored); false when there is none.
bool FindNetscapeProfile(ByteSource& nsreg, std::string& folder);

// The time texts of the history lists: new-format times in local time; an old-format time is
// shown eight hours behind the stored one (raised by the runtime's time-zone offset first).
std::string NetscapeTimeText(int64_t seconds, bool oldFormat);

// Reads a history file into a fresh kind-6 list: `format` 0 new, 1 old, -1 decided by the data
// (the new format for a file without entries). False (message shown) when it cannot be opened.
// Window thread.
bool ReadNetscapeHistory(AppState& app, const std::string& path, int format = -1);

// The history file of a profile or bookmark folder: "netscape.hst", else a Unix "history.db".
std::string NetscapeHistoryIn(const std::string& folder);

} // namespace lt
