// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/masks.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(ParseMasks, SplitsAtSemicolonsCommasAndBlanksInLowerCase)
{
    std::vector<std::string> masks;
    EXPECT_EQ(ParseMasks("*.htm; *.HTML,*.txt", masks), 3);
    EXPECT_EQ(masks, (std::vector<std::string>{"*.htm", "*.html", "*.txt"}));
    EXPECT_EQ(JoinMasks(masks), "*.htm *.html *.txt");

    EXPECT_EQ(ParseMasks("  ;; ,  ", masks), 0);
    EXPECT_TRUE(masks.empty());
}

TEST(ParseMasks, TwelfthMaskTakesTheRestAndLongMasksAreDropped)
{
    std::vector<std::string> masks;
    ParseMasks("*.a *.b *.c *.d *.e *.f *.g *.h *.i *.j *.k *.l *.m", masks);
    ASSERT_EQ(masks.size(), 12u);
    EXPECT_EQ(masks[10], "*.k");
    EXPECT_EQ(masks[11], "*.l *.m");

    const std::string longest(31, 'x');
    const std::string tooLong(32, 'y');
    ParseMasks(longest + " " + tooLong + " *.ok", masks);
    EXPECT_EQ(masks, (std::vector<std::string>{longest, "*.ok"}));
}

TEST(ParseMasks, AllFilesMaskIsFoundInAnyCase)
{
    std::vector<std::string> masks;
    ParseMasks("*.htm, *.*", masks);
    EXPECT_TRUE(HasAllFilesMask(masks));
    ParseMasks("*.htm *.txt", masks);
    EXPECT_FALSE(HasAllFilesMask(masks));
}

TEST(MaskMatch, StarStopsAtTheFirstOccurrenceOfTheNextByte)
{
    EXPECT_FALSE(MaskMatch("*.htm", "a.b.htm"));
    EXPECT_TRUE(MaskMatch("*.htm", "index.htm"));
    EXPECT_TRUE(MaskMatch("*.ht?", "index.htm"));
    EXPECT_FALSE(MaskMatch("*.ht?", "index.ht"));
    EXPECT_FALSE(MaskMatch("*.htm", "index.html"));
    EXPECT_TRUE(MaskMatch("*", "anything.at.all"));
    EXPECT_TRUE(MaskMatch("*", ""));
    EXPECT_TRUE(MaskMatch("index*", "index.html"));
    EXPECT_TRUE(MaskMatch("*.*", "a.b"));
    EXPECT_FALSE(MaskMatch("*.*", "noending"));
}

TEST(MaskMatch, QuestionMarksAndCaseFolding)
{
    EXPECT_TRUE(MaskMatch("a?c", "abc"));
    EXPECT_FALSE(MaskMatch("a?c", "abcd"));
    EXPECT_FALSE(MaskMatch("a?c", "ac"));
    EXPECT_FALSE(MaskMatch("?", ""));
    EXPECT_TRUE(MaskMatch("*.HTM", "INDEX.htm"));
    // Windows-1252 letters fold too: E acute upper and lower case.
    EXPECT_TRUE(MaskMatch("caf\xE9.*", "CAF\xC9.TXT"));
    EXPECT_TRUE(MaskMatch("*?.txt", "ab.txt"));
    EXPECT_FALSE(MaskMatch("a*??", "ab"));
}

TEST(MaskMatch, AnyMaskOfTheTable)
{
    const std::vector<std::string> masks{"*.htm", "*.txt"};
    EXPECT_TRUE(MatchesAnyMask(masks, "notes.TXT"));
    EXPECT_FALSE(MatchesAnyMask(masks, "image.png"));
    EXPECT_FALSE(MatchesAnyMask({}, "notes.txt"));
}

} // namespace
} // namespace lt
