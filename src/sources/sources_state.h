// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace lt {

// An index file read in this run, by its file number (the rows' fileNumber).
struct IndexFileRead
{
    std::string path;
    std::string label;
    int kind = 1;             // IndexFileKind
    bool cookieReader = false;
};

// The browser-data readers' state: labels and choices that live until the program ends, the
// folders found at start-up, and which index files this run has read.
struct SourcesState
{
    std::string historyLabel = "Visited:";
    std::string dialogCookieLabel = "Cookie:";
    int dialogKind = 1;
    std::string historyFolder;
    std::string cookieFolder;
    std::string cookieTextFolder; // the "Select Cookie Directory" choice
    // Errors of the running reader go to the status bar instead of message boxes.
    bool errorsToStatus = false;
    // Index 0 is unused; file numbers are 1..255. Cleared when a reading starts a new list.
    std::vector<IndexFileRead> indexFiles;
};

} // namespace lt
