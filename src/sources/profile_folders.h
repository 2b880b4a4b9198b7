// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "search/search_settings.h"

namespace lt {

struct AppState;

// The special folders of the Windows profile found at start-up (Linux paths, empty when missing),
// with the history label and the table of up to 7 distinct folders that fills the empty places
// of the search-folder history.
struct SpecialFolders
{
    std::string favorites, cookies, cache, history, personal, recent, sendTo;
    std::string historyLabel = "Visited:";
    std::vector<std::string> table;
};

// Reads the profile's user.reg and system.reg once and looks every folder up (see ShellFolderPath).
SpecialFolders FindSpecialFolders(const AppState& app);

// Puts the table's folders into the empty places of `folders`, in order, skipping folders it
// already holds.
void FillFolderHistory(History& folders, const std::vector<std::string>& table);

// The start-up step: finds the folders and gives the history and cookie readers their folders
// and label, and the search-folder history its empty places.
void ApplySpecialFolders(AppState& app);

} // namespace lt
