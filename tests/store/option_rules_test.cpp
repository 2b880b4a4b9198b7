// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/option_rules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lt {
namespace {

TEST(OrderEdits, ClampAndSwapKeepAPermutation)
{
    EXPECT_EQ(ClampOrderDigit("7", 3), "3");
    EXPECT_EQ(ClampOrderDigit("0", 6), "1");
    EXPECT_EQ(ClampOrderDigit("12", 6), "12"); // two digits: left for the permutation check
    EXPECT_EQ(ClampOrderDigit("", 6), "");

    // "3" typed into the first of 1, 2, 3 gives 3, 2, 1.
    std::vector<int> browsers{3, 2, 3};
    SwapIntoPermutation(browsers, 0, 1);
    EXPECT_EQ(browsers, (std::vector<int>{3, 2, 1}));
    // An emptied edit swaps nothing.
    std::vector<int> cleared{0, 2, 3};
    SwapIntoPermutation(cleared, 0, 1);
    EXPECT_EQ(cleared, (std::vector<int>{0, 2, 3}));

    EXPECT_TRUE(IsOrderPermutation("321", 3));
    EXPECT_TRUE(IsOrderPermutation("612345", 6));
    for (const char* bad : {"1123", "12", "124", "120", "1a3"})
        EXPECT_FALSE(IsOrderPermutation(bad, 3)) << bad;
}

TEST(ExportColumns, NoneTickedKeepsTheFirst)
{
    EXPECT_EQ(ConfirmedExportColumns({}), (std::array<bool, 6>{true, false, false, false, false, false}));
    const std::array<bool, 6> some{false, true, false, true, false, false};
    EXPECT_EQ(ConfirmedExportColumns(some), some);
}

TEST(Proxy, PortAndHistory)
{
    EXPECT_EQ(ProxyWithPort("proxy.example"), "proxy.example:80");
    EXPECT_EQ(ProxyWithPort("proxy.example:8080"), "proxy.example:8080");
    for (const char* noPort : {"proxy.example:0", "proxy.example:", "proxy.example:99999"})
        EXPECT_EQ(ProxyWithPort(noPort), "proxy.example:80") << noPort;
    EXPECT_EQ(ProxyWithPort("[::1]"), "[::1]:80");
    EXPECT_EQ(ProxyWithPort("[::1]:3128"), "[::1]:3128");

    std::vector<std::string> history{"a:1", "b:2", "c:3", "d:4", "e:5", "f:6", "g:7"};
    RememberProxy(history, "c:3");
    EXPECT_EQ(history.front(), "c:3");
    EXPECT_EQ(std::count(history.begin(), history.end(), "c:3"), 1);
    RememberProxy(history, "h:8");
    EXPECT_EQ(history.size(), 7u);
    EXPECT_EQ(history.front(), "h:8");
    EXPECT_EQ(history.back(), "f:6");
}

TEST(Timeout, PositiveAndAtMostADay)
{
    int seconds = 30;
    for (const char* bad : {"0", "-5", "", "ten", "12s"}) {
        EXPECT_FALSE(ParseTimeout(bad, seconds)) << bad;
        EXPECT_EQ(seconds, 30);
    }
    ASSERT_TRUE(ParseTimeout("90", seconds));
    EXPECT_EQ(seconds, 90);
    ASSERT_TRUE(ParseTimeout("999999999999", seconds));
    EXPECT_EQ(seconds, 86400);
}

} // namespace
} // namespace lt
