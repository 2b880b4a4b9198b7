// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "search/search_settings.h"

namespace lt {

// Codes of SetRecentDate beside the minute counts 2..60.
inline constexpr int kRecentUnknown = -1; // 1 January 1990, 00:00
inline constexpr int kRecentToday = 0;    // today, 00:00
inline constexpr int kRecentNow = 1;
inline constexpr int kRecentDay = 100;
inline constexpr int kRecentWeek = 200;
inline constexpr int kRecent35Days = 300;

// Fills `date` from the local time `now` minus the interval that `code` names (minutes for 2..60,
// one day, one week or 35 days for 100, 200, 300) and formats its text again.
void SetRecentDate(FilterDate& date, int code, std::time_t now);

// True when the file time, taken as local time, lies between `from` and `to`, both included.
bool DateInRange(std::time_t fileTime, const FilterDate& from, const FilterDate& to);

// "YYYY/MM/DD HH:MM:SS", the form the date fields show and the INI file stores.
std::string FormatFilterDate(const FilterDate& date);
// Reads that form into the six fields and the text; false (date unchanged) for anything else.
bool ParseFilterDate(std::string_view text, FilterDate& date);

} // namespace lt
