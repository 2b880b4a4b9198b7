// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "search/search_settings.h"

namespace lt {

struct AppState;
class ResultList;
struct ResultRow;

// The settings of "Find in List".
struct FindState
{
    std::string findText;                // at most 259 characters
    History findHistory{};               // shared with the favorites search
    std::array<bool, 6> findColumns{true, false, false, false, false, false};
    bool addToSelection = false;         // "&Add to current selection"
    bool dialogOpen = false;             // a find dialog is open
};

// Searches `list` for FindText in the chosen columns, from the row after (forward) or before the
// selected row. Past the end it wraps (unless `stopAtEnd`) and shows the wrap message, except in
// the domain view. A hit is selected and focused (other selections removed unless
// AddToSelection). Nothing found: "No items found !" (not in the domain view), selection kept.
// Window thread.
bool FindInList(AppState& app, ResultList& list, bool forward, bool stopAtEnd, bool domainView = false);

// The row index of the next hit from `start` (inclusive) in the direction, without wrapping; -1.
long FindMatchFrom(const ResultList& list, const FindState& find, long start, bool forward);
// True when one of the chosen cells of the row holds the text, ignoring case.
bool RowMatches(const ResultList& list, const FindState& find, std::size_t row);
bool RowMatches(const ResultRow& row, const FindState& find, int columnCount);

// "Find &next" (F3) and "Find pre&vious" (F4, Ctrl+F3): the result list, or the folders while the
// domain view is shown.
bool FindNextCommand(AppState& app, bool forward);

// The find dialog: whether it may open, the labels of its six column boxes ("&" and the header,
// at most 15 characters; "&Url", "&Title", "&File name" before the list has columns) and "&Ok",
// which stores the settings (the text goes to the top of the history) and searches forward.
bool CanOpenFindDialog(const AppState& app);
std::array<std::string, 6> FindColumnLabels(const ResultList& list);
bool FindDialogAccept(AppState& app, const std::string& text, const std::array<bool, 6>& columns,
                      bool addToSelection);

// Puts `text` at the top of a history, removing an equal older entry.
void AddToHistory(History& history, const std::string& text);

} // namespace lt
