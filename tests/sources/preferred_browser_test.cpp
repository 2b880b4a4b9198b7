// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/preferred_browser.h"

#include <gtest/gtest.h>

#include "store/options.h"

namespace lt {
namespace {

TEST(PreferredBrowser, InternetExplorerOverNetscapeOverOpera)
{
    struct Case
    {
        const char *msie, *netscape, *opera;
        int expected;
    };
    for (const Case& c : {Case{"", "", "", kBrowserIe}, Case{"", "", "o.adr", kBrowserOpera},
                          Case{"", "b.htm", "o.adr", kBrowserNetscape}, Case{"/fav", "b.htm", "o.adr", kBrowserIe}}) {
        Options o;
        o.msieFavorites = c.msie;
        o.netscapeBookmarks = c.netscape;
        o.operaBookmarks = c.opera;
        EXPECT_EQ(PreferredBrowser(o), c.expected) << c.msie << c.netscape << c.opera;
    }
}

} // namespace
} // namespace lt
