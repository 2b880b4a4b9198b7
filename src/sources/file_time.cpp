// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/file_time.h"

#include <ctime>

namespace lt {

bool CalendarFields(int64_t seconds, bool local, LocalTime& fields)
{
    const time_t t = static_cast<time_t>(seconds);
    struct tm parts {};
    if ((local ? localtime_r(&t, &parts) : gmtime_r(&t, &parts)) == nullptr)
        return false;
    fields = LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                       parts.tm_hour,        parts.tm_min,     parts.tm_sec};
    return true;
}

std::string DateTextWithin(const LocalTime& fields, int minYear, int maxYear)
{
    if (fields.year <= minYear || fields.year >= maxYear)
        return {};
    return LocalTimeText(fields);
}

} // namespace lt
