// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace lt {

// Where a folder search takes its files from.
enum SearchSource : int { kSourceOneFolder = 1, kSourceRecursive = 2, kSourceAllDrives = 17 };

// State of the current search shared by the drivers and the scanners.
struct SearchState
{
    std::atomic<long> hitCount{0};
    int source = kSourceOneFolder;
    std::string folder;            // the folder searched, ending in '/'
    std::string searchCaption;     // shown in pane 0 at the end
    std::string targetText;        // what is being searched (pane 0 while it runs)
    std::string droppedCaption;    // the dropped-names caption
    std::string singleTargetText;  // pane 1 text for a single target
    bool severalTargets = false;
    bool fileSizeFlag = false;     // the walk fills the date and size cells
    bool relativePaths = false;    // file-list rows relative to the walk's root
    bool severalFiles = false;     // more than one file: the status bar shows each path
    std::vector<std::string> masks;// parsed masks, lower case
    bool allFiles = true;
    // The favorites folder while a favorites search runs: its rows name files relative to it.
    std::string favoritesFolder;
    // Description of the last file search, written at the top of a text export.
    std::string description;
};

} // namespace lt
