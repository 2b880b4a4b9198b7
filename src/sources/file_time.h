// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_info.h"

namespace lt {

// FILETIME (100 ns since 1601-01-01 UTC) to Unix seconds.
inline int64_t FileTimeToUnix(uint64_t fileTime)
{
    return static_cast<int64_t>(fileTime / 10000000ULL) - 11644473600LL;
}

// The calendar fields of Unix seconds, in local time or UTC; false when the C library cannot
// represent the moment.
bool CalendarFields(int64_t seconds, bool local, LocalTime& fields);

// "YYYY/MM/DD, HH:MM:SS" when minYear < year < maxYear, else empty.
std::string DateTextWithin(const LocalTime& fields, int minYear, int maxYear);

} // namespace lt
