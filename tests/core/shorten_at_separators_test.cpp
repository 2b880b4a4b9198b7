// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shorten_at_separators.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(ShortenAtSeparatorsTest, KeepsTheFirstFoldersAndTheLastPart)
{
    struct Case
    {
        std::string text;
        std::string shown;
    };
    const std::string noSeparators(54, 'n');
    const Case cases[] = {
        // Below the width: as it is.
        {"http://www.example.com/a/b/c/d/e/index.html", "http://www.example.com/a/b/c/d/e/index.html"},
        // The sixth separator is the latest cut that fits.
        {"http://www.example.com/alpha/beta/gamma/delta/epsilon/zeta/index.html",
         "http://www.example.com/alpha/beta/gamma.../index.html"},
        // A longer last part moves the cut to the fifth, then the fourth separator.
        {"http://www.example.com/alpha/beta/gamma/delta/last-part-x.html",
         "http://www.example.com/alpha/beta.../last-part-x.html"},
        {"http://www.example.com/alpha/beta/gamma/delta/long-last-part-x.html",
         "http://www.example.com/alpha.../long-last-part-x.html"},
        // Only four separators, the fifth is the last one: the fourth it is.
        {"http://www.example.com/a/" + std::string(60, 'x') + "/page.htm", "http://www.example.com/a.../page.htm"},
        // Too few separators for a folder cut: the cut after six characters, when the rest fits.
        {"http://" + std::string(40, 'h') + "/x.htm", "http:/.../x.htm"},
        // Nothing fits: the first 49 characters and "...".
        {"http://h.example/" + std::string(70, 'y'), "http://h.example/" + std::string(32, 'y') + "..."},
        // Up to three characters over the width stay whole when there is no cut.
        {noSeparators, noSeparators},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortenAtSeparators(c.text, '/', 52), c.shown) << c.text;
}

} // namespace
} // namespace lt
