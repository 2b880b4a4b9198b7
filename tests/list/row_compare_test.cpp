// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/row_compare.h"

#include <gtest/gtest.h>

#include "list/result_list.h"

namespace lt {
namespace {

CompareParams Column(int column, int type)
{
    CompareParams p;
    p.column = column;
    p.columnType = type;
    return p;
}

TEST(RowCompare, NumbersAreSixtyFourBitAndSaturate)
{
    EXPECT_EQ(CellNumber("   42 hits"), 42);
    EXPECT_EQ(CellNumber("5000000000"), 5000000000LL);
    EXPECT_EQ(CellNumber("-7"), -7);
    EXPECT_EQ(CellNumber("99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(CellNumber("abc"), 0);
}

TEST(RowCompare, TrailingDigitsTakeTheLastRun)
{
    EXPECT_EQ(TrailingDigits("file12"), "12");
    EXPECT_EQ(TrailingDigits("page7.htm"), "7");
    EXPECT_EQ(TrailingDigits("a1b22.c"), "22");
    EXPECT_EQ(TrailingDigits("none"), "");
    // Runs longer than any integer still order by value.
    EXPECT_LT(CompareDigitRuns("0099", "100"), 0);
    EXPECT_GT(CompareDigitRuns("123456789012345678901234567890", "99999999999999999999"), 0);
    EXPECT_EQ(CompareDigitRuns("007", "7"), 0);
}

TEST(RowCompare, DecodesUtf8AndWindows1252Alike)
{
    EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9"));
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF")); // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_EQ(DecodeCellText("caf\xC3\xA9"), DecodeCellText("caf\xE9"));
    EXPECT_EQ(DecodeCellText("\x80"), std::u16string(1, u'\u20AC'));
    // Full-width letters read as plain ones.
    EXPECT_EQ(DecodeCellText("\xEF\xBC\xA1"), u"A");

    const LocaleCollator root;
    EXPECT_EQ(root.Compare("caf\xC3\xA9", "caf\xE9"), 0);
}

TEST(RowCompare, RootCollationIsCaseSensitiveButAlphabetic)
{
    const LocaleCollator root("C");
    EXPECT_LT(root.Compare("apple", "Banana"), 0);
    EXPECT_LT(root.Compare("a", "A"), 0);
    EXPECT_NE(root.Compare("a", "A"), 0);
    EXPECT_LT(root.SortKey("apple"), root.SortKey("Banana"));
    EXPECT_EQ(root.SortKey("x") < root.SortKey("y"), root.Compare("x", "y") < 0);
}

TEST(RowCompare, EmptyCellsGoLastInBothDirections)
{
    const LocaleCollator root;
    CompareParams p = Column(0, kColText);
    EXPECT_GT(CompareCells(p, root, "", "b"), 0);
    EXPECT_LT(CompareCells(p, root, "b", ""), 0);
    EXPECT_EQ(CompareCells(p, root, "", ""), 0);
    p.directionReversed = true;
    EXPECT_GT(CompareCells(p, root, "", "b"), 0);
    EXPECT_GT(CompareCells(p, root, "a", "b"), 0);
}

TEST(RowCompare, ColumnClassesOrderTheirOwnWay)
{
    const LocaleCollator root;
    // Offsets: shorter hex texts first.
    EXPECT_LT(CompareCells(Column(3, kColOffset), root, "0x9", "0x10"), 0);
    EXPECT_LT(CompareCells(Column(3, kColOffset), root, "0x1A", "0x1b"), 0);
    // Lines: by length, then by value.
    EXPECT_LT(CompareCells(Column(2, kColLine), root, "9", "10"), 0);
    // Sizes: the largest first, correct beyond 32 bits.
    EXPECT_LT(CompareCells(Column(5, kColSize), root, "5000000000", "4999999999"), 0);
    EXPECT_GT(CompareCells(Column(5, kColSize), root, "999", "1000"), 0);
    // Hits by their header: the most first.
    CompareParams hits = Column(1, kColText);
    hits.hitsHeader = true;
    EXPECT_LT(CompareCells(hits, root, "  12", "   3"), 0);
    // IP items: number by number, the largest first.
    EXPECT_LT(CompareCells(Column(0, kColIp), root, "10.0.0.2", "9.255.255.255"), 0);
    EXPECT_LT(CompareCells(Column(0, kColIp), root, "10.0.0.10", "10.0.0.9"), 0);
    // Dates and columns from the fifth on: newest (largest) first.
    EXPECT_LT(CompareCells(Column(3, kColDate), root, "2024/01/02", "2023/12/31"), 0);
    EXPECT_LT(CompareCells(Column(4, kColText), root, "b", "a"), 0);
    EXPECT_LT(CompareCells(Column(1, kColText), root, "a", "b"), 0);
}

TEST(RowCompare, SpecialModes)
{
    const LocaleCollator root;
    CompareParams p = Column(0, kColText);
    p.mode = kSortLength;
    EXPECT_LT(CompareCells(p, root, "longer", "short"), 0);
    p.lengthReversed = true;
    EXPECT_GT(CompareCells(p, root, "longer", "short"), 0);

    p = Column(2, kColPath);
    p.mode = kSortTrailing;
    EXPECT_LT(CompareCells(p, root, "page10.htm", "page9.htm"), 0);
    p.directionReversed = true; // the column direction does not touch the trailing order
    EXPECT_LT(CompareCells(p, root, "page10.htm", "page9.htm"), 0);

    // Ending: texts compared from their ends, the later ending first unless reversed.
    p = Column(0, kColText);
    p.mode = kSortEnding;
    EXPECT_LT(CompareCells(p, root, "a.zip", "b.htm"), 0);
    p.endingReversed = true;
    EXPECT_GT(CompareCells(p, root, "a.zip", "b.htm"), 0);
}

} // namespace
} // namespace lt
