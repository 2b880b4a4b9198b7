// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/filter_date.h"

#include <cstdio>
#include <tuple>

namespace lt {

namespace {

bool LocalFields(std::time_t t, std::tm& out)
{
    return localtime_r(&t, &out) != nullptr;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
        return 29;
    return kDays[month - 1];
}

auto Fields(const FilterDate& d)
{
    return std::make_tuple(d.year, d.month, d.day, d.hour, d.minute, d.second);
}

} // namespace

std::string FormatFilterDate(const FilterDate& date)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", date.year, date.month, date.day,
                  date.hour, date.minute, date.second);
    // Out-of-range fields could make the text longer than the date field holds.
    std::string text(buf);
    if (text.size() > 29)
        text.resize(29);
    return text;
}

bool ParseFilterDate(std::string_view text, FilterDate& date)
{
    static constexpr std::string_view kShape = "dddd/dd/dd dd:dd:dd";
    if (text.size() != kShape.size())
        return false;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == 'd' ? !digit : text[i] != kShape[i])
            return false;
    }
    auto num = [&](std::size_t pos, std::size_t len) {
        int v = 0;
        for (std::size_t i = pos; i < pos + len; ++i)
            v = v * 10 + (text[i] - '0');
        return v;
    };
    const int year = num(0, 4), month = num(5, 2), day = num(8, 2);
    const int hour = num(11, 2), minute = num(14, 2), second = num(17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59)
        return false;
    date.year = year;
    date.month = month;
    date.day = day;
    date.hour = hour;
    date.minute = minute;
    date.second = second;
    date.text = FormatFilterDate(date);
    return true;
}

void SetRecentDate(FilterDate& date, int code, std::time_t now)
{
    if (code <= kRecentUnknown) {
        date.year = 1990;
        date.month = 1;
        date.day = 1;
        date.hour = date.minute = date.second = 0;
        date.text = FormatFilterDate(date);
        return;
    }
    std::time_t t = now;
    if (code >= 2 && code <= 60)
        t -= static_cast<std::time_t>(code) * 60;
    else if (code == kRecentDay)
        t -= 86400;
    else if (code == kRecentWeek)
        t -= 604800;
    else if (code == kRecent35Days)
        t -= 3024000;
    std::tm tm{};
    if (!LocalFields(t, tm))
        return;
    date.year = tm.tm_year + 1900;
    date.month = tm.tm_mon + 1;
    date.day = tm.tm_mday;
    if (code == kRecentToday) {
        date.hour = date.minute = date.second = 0;
    } else {
        // Seconds are kept too: "now" as the upper end must not exclude what changed this minute.
        date.hour = tm.tm_hour;
        date.minute = tm.tm_min;
        date.second = tm.tm_sec;
    }
    date.text = FormatFilterDate(date);
}

bool DateInRange(std::time_t fileTime, const FilterDate& from, const FilterDate& to)
{
    std::tm tm{};
    if (!LocalFields(fileTime, tm))
        return false;
    const auto file =
        std::make_tuple(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return Fields(from) <= file && file <= Fields(to);
}

} // namespace lt
