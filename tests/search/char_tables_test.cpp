// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/char_tables.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

int Members(const ByteTable& table)
{
    int n = 0;
    for (uint8_t v : table)
        n += v != 0;
    return n;
}

TEST(CharTables, UrlCharsAreThePrintableAsciiWithoutQuotesAndBrackets)
{
    CharTables t;
    EXPECT_EQ(Members(t.printableUrlChars), 94 - 5);
    for (int c : {int('"'), int('<'), int('>'), int('('), int(')'), int(' '), 127, 0x80, 0xE4})
        EXPECT_FALSE(t.printableUrlChars[c]) << int(c);
    for (uint8_t c : {'!', '~', '[', ']', '{', '}', '\'', '%', '/'})
        EXPECT_TRUE(t.printableUrlChars[c]) << int(c);
}

TEST(CharTables, ItemCharsFollowTheUrlLikeSwitch)
{
    CharTables t;
    EXPECT_TRUE(t.itemChars[' ']);
    EXPECT_TRUE(t.itemChars['"']);
    EXPECT_FALSE(t.itemChars['\t']);
    EXPECT_TRUE(t.itemChars[0xA1]);
    EXPECT_FALSE(t.itemChars[0xA4]);
    EXPECT_FALSE(t.itemChars[0xD8]);
    EXPECT_FALSE(t.itemChars[0xF8]);
    EXPECT_TRUE(t.itemChars[0xFE]);
    EXPECT_FALSE(t.itemChars[0xFF]);
    // 94 printable, 11 high singles, 63 - 2 Latin letters, blank and quote
    EXPECT_EQ(Members(t.itemChars), 93 + 1 + 11 + 61 + 1);

    t.SetUrlLike(true);
    EXPECT_FALSE(t.itemChars[' ']);
    EXPECT_FALSE(t.itemChars['"']);
    EXPECT_TRUE(t.itemChars['<']);
    t.SetUrlLike(false);
    EXPECT_TRUE(t.itemChars[' ']);
    EXPECT_TRUE(t.itemChars['"']);

    CharTables built;
    built.Build(true);
    EXPECT_FALSE(built.itemChars['"']);
}

TEST(CharTables, EmailCharsExtendAlnumChars)
{
    CharTables t;
    EXPECT_EQ(Members(t.alnumChars), 26 + 26 + 10 + 1);
    EXPECT_TRUE(t.alnumChars['&']);
    EXPECT_FALSE(t.alnumChars['_']);
    EXPECT_EQ(Members(t.emailChars), 63 + 10);
    for (uint8_t c : {'@', '-', ',', '.', '\'', '+', '$', '%', '_', '"'})
        EXPECT_TRUE(t.emailChars[c]) << c;
    EXPECT_FALSE(t.emailChars['!']);
    EXPECT_FALSE(t.emailChars[0xE9]);
}

TEST(CharTables, TrimMapsDifferInTheirBrackets)
{
    CharTables t;
    for (uint8_t c : {' ', '!', '#', '.', '/', ':', ';', '>', '?', '@', '\\', ']', ')', '}', '~', '+', '='})
        EXPECT_EQ(t.leadTrimMap[c], 0) << c;
    EXPECT_EQ(t.leadTrimMap[0xA0], 0);
    EXPECT_EQ(t.leadTrimMap[0xA7], 0);
    for (int c : {int('a'), int('<'), int('('), int('['), int('{'), int('"'), 0xE4})
        EXPECT_EQ(t.leadTrimMap[c], c) << c;

    for (uint8_t c : {'?', '=', '+', '>', ']', '}', ')', 'z'})
        EXPECT_EQ(t.tailTrimMap[c], c) << c;
    for (uint8_t c : {'<', '[', '{', '(', '.', ',', ' ', '/', ':'})
        EXPECT_EQ(t.tailTrimMap[c], 0) << c;
}

TEST(CharTables, FoldingAndSevenBitMapsAreFixed)
{
    CharTables t;
    EXPECT_EQ(t.caseFoldMap['A'], 'a');
    EXPECT_EQ(t.caseFoldMap[0xC4], 0xE4);
    EXPECT_EQ(t.caseFoldMap[0xD7], 0xD7);
    EXPECT_EQ(t.caseFoldMap[0x8A], 0x9A);
    EXPECT_EQ(t.caseFoldMap['@'], '@');
    EXPECT_EQ(t.ascii7Map[127], 127);
    EXPECT_EQ(t.ascii7Map[128], 0);
    EXPECT_TRUE(t.sentencePunct[':']);
    EXPECT_FALSE(t.sentencePunct['-']);
}

TEST(CharTables, RepeatLimitSteps)
{
    CharTables t;
    EXPECT_EQ(t.repeatLimit[0], 1);
    EXPECT_EQ(t.repeatLimit[11], 4);
    EXPECT_EQ(t.repeatLimit[25], 9);
    EXPECT_EQ(t.repeatLimit[26], 8);
    EXPECT_EQ(t.repeatLimit[260], 86);
}

} // namespace
} // namespace lt
