// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace lt {

struct AppState;
struct CharTables;
struct FilterWords;
struct SearchSettings;

// Splits the two filter lines into word tables; switches the filters off when both are empty.
void BuildFilterWords(SearchSettings& settings, FilterWords& words);
// The check of the "Search Options" dialog; false means "Invalid Arguments !".
bool FiltersValid(const SearchSettings& settings, const FilterWords& words, const CharTables& tables);

// The must-not test of a text (passes when filters are off, no words, or the text is empty).
bool MustNotPasses(const AppState& app, std::string_view text);
// The must test of a URL with its title (URL kinds).
bool MustPassesWithTitle(const AppState& app, std::string_view item, std::string_view title);
// The must test of an item alone (kinds 4 to 7).
bool MustPassesItem(const AppState& app, std::string_view item);

} // namespace lt
