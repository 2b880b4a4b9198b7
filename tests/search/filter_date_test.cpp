// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/filter_date.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace lt {
namespace {

// 2024-03-10 12:34:56 UTC
constexpr std::time_t kNow = 1710074096;

class FilterDateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
};

FilterDate Date(const char* text)
{
    FilterDate d;
    EXPECT_TRUE(ParseFilterDate(text, d)) << text;
    return d;
}

TEST_F(FilterDateTest, RecentCodes)
{
    FilterDate d;
    SetRecentDate(d, kRecentNow, kNow);
    EXPECT_EQ(d.text, "2024/03/10 12:34:56");
    SetRecentDate(d, 5, kNow);
    EXPECT_EQ(d.text, "2024/03/10 12:29:56");
    SetRecentDate(d, 60, kNow);
    EXPECT_EQ(d.text, "2024/03/10 11:34:56");
    SetRecentDate(d, kRecentToday, kNow);
    EXPECT_EQ(d.text, "2024/03/10 00:00:00");
    SetRecentDate(d, kRecentDay, kNow);
    EXPECT_EQ(d.text, "2024/03/09 12:34:56");
    SetRecentDate(d, kRecentWeek, kNow);
    EXPECT_EQ(d.text, "2024/03/03 12:34:56");
    // 35 days back crosses February of a leap year.
    SetRecentDate(d, kRecent35Days, kNow);
    EXPECT_EQ(d.text, "2024/02/04 12:34:56");
    SetRecentDate(d, kRecentUnknown, kNow);
    EXPECT_EQ(d.text, "1990/01/01 00:00:00");
    EXPECT_EQ(d.year, 1990);
}

TEST_F(FilterDateTest, RangeIsInclusiveAtBothEnds)
{
    const FilterDate from = Date("2024/03/10 12:26:56");
    const FilterDate to = Date("2024/03/10 12:34:56");
    EXPECT_TRUE(DateInRange(kNow, from, to));
    EXPECT_TRUE(DateInRange(kNow - 480, from, to));
    EXPECT_FALSE(DateInRange(kNow - 481, from, to));
    EXPECT_FALSE(DateInRange(kNow + 1, from, to));
    // Compared field by field: a later day with an earlier hour is still later.
    EXPECT_FALSE(DateInRange(kNow + 86400 - 13 * 3600, from, to));
}

TEST_F(FilterDateTest, EightMinutesIncludeAFileWrittenThisSecond)
{
    FilterDate from, to;
    SetRecentDate(from, 8, kNow);
    SetRecentDate(to, kRecentNow, kNow);
    EXPECT_TRUE(DateInRange(kNow, from, to));
    EXPECT_FALSE(DateInRange(kNow - 9 * 60, from, to));
}

TEST_F(FilterDateTest, UsesLocalTime)
{
    ::setenv("TZ", "UTC-2", 1); // two hours east
    ::tzset();
    const FilterDate from = Date("2024/03/10 14:34:56");
    EXPECT_TRUE(DateInRange(kNow, from, from));
}

TEST_F(FilterDateTest, ParsingIsStrict)
{
    FilterDate d = Date("2000/02/29 23:59:59");
    EXPECT_EQ(d.month, 2);
    EXPECT_EQ(d.second, 59);
    for (const char* bad :
         {"1999/02/29 00:00:00", "2000/13/01 00:00:00", "2000/01/01 24:00:00", "2000/1/01 00:00:00",
          "2000/01/01 00:00:00x", "", "abcd/ef/gh ij:kl:mn", "2000-01-01 00:00:00", "0000/01/01 00:00:00"}) {
        FilterDate untouched;
        untouched.year = 1234;
        EXPECT_FALSE(ParseFilterDate(bad, untouched)) << bad;
        EXPECT_EQ(untouched.year, 1234);
    }
}

} // namespace
} // namespace lt
