// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/sort_orders.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "core/cp1252.h"
#include "list/result_list.h"

namespace lt {
namespace {

SortSnapshot Snapshot(const std::vector<std::string>& cells, const std::vector<int>& icons = {})
{
    SortSnapshot s;
    for (std::size_t i = 0; i < cells.size(); ++i)
        s.Add(cells[i], i < icons.size() ? icons[i] : 1);
    return s;
}

std::vector<std::string> Ordered(const std::vector<std::string>& cells, const SortOutcome& outcome)
{
    std::vector<std::string> out;
    for (const uint32_t i : outcome.order)
        out.push_back(cells[i]);
    return out;
}

std::vector<std::string> KeySorted(const std::vector<std::string>& cells, KeySortSpec sortKey)
{
    return Ordered(cells, KeySortOrder(Snapshot(cells), sortKey, BuildCollationRank()));
}

KeySortSpec ColumnSpec(int keyClass, bool descending)
{
    KeySortSpec sortKey;
    sortKey.keyClass = keyClass;
    sortKey.descending = descending;
    return sortKey;
}

TEST(SortOrders, CollationRankIsTheListsDescendingOrder)
{
    const auto rank = BuildCollationRank();
    EXPECT_EQ(rank[31], 0);
    EXPECT_GT(rank['a'], rank['b']);
    EXPECT_GT(rank['A'], rank['a']); // equal when folded: the lower code sorts first
    EXPECT_GT(rank['a'], rank['B']);
    EXPECT_GT(rank['1'], rank['a']);
    EXPECT_EQ(rank[' '], 224);
    // Every printable code has its own rank.
    std::vector<int> seen(256, 0);
    for (int c = 32; c < 256; ++c)
        ++seen[rank[c]];
    EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), 1), 224);
}

TEST(SortOrders, TextKeysAscendAndDescendWithEmptyCellsLast)
{
    const std::vector<std::string> cells = {"beta", "", "Alpha", "gamma", "alpha", ""};
    EXPECT_EQ(KeySorted(cells, ColumnSpec(kKeyText, false)),
              (std::vector<std::string>{"Alpha", "alpha", "beta", "gamma", "", ""}));
    EXPECT_EQ(KeySorted(cells, ColumnSpec(kKeyText, true)),
              (std::vector<std::string>{"gamma", "beta", "alpha", "Alpha", "", ""}));
}

TEST(SortOrders, NumberKeysUseSixtyFourBits)
{
    const std::vector<std::string> cells = {"999999999", "5000000000", "12", "", "1000000000"};
    EXPECT_EQ(KeySorted(cells, ColumnSpec(kKeyNumber, false)),
              (std::vector<std::string>{"12", "999999999", "1000000000", "5000000000", ""}));
    EXPECT_EQ(KeySorted(cells, ColumnSpec(kKeyNumber, true)),
              (std::vector<std::string>{"5000000000", "1000000000", "999999999", "12", ""}));
}

TEST(SortOrders, OffsetAndIpKeys)
{
    const std::vector<std::string> offsets = {"0x10", "0x9", "0xA0", "0x1F"};
    EXPECT_EQ(KeySorted(offsets, ColumnSpec(kKeyOffset, false)),
              (std::vector<std::string>{"0x9", "0x10", "0x1F", "0xA0"}));
    EXPECT_EQ(KeySorted(offsets, ColumnSpec(kKeyOffset, true)),
              (std::vector<std::string>{"0xA0", "0x1F", "0x10", "0x9"}));
    const std::vector<std::string> ips = {"10.0.0.1", "9.1.1.1", "10.0.0.10", "192.168.0.1"};
    EXPECT_EQ(KeySorted(ips, ColumnSpec(kKeyIp, false)),
              (std::vector<std::string>{"9.1.1.1", "10.0.0.1", "10.0.0.10", "192.168.0.1"}));
}

TEST(SortOrders, LengthEndingAndSymbol)
{
    const std::vector<std::string> cells = {"http://a/x.zip", "http://bb/y.htm", "http://c/", "http://dddd/z.zip"};
    KeySortSpec length;
    length.mode = kSortLength;
    EXPECT_EQ(KeySorted(cells, length).front(), "http://dddd/z.zip");
    EXPECT_EQ(KeySorted(cells, length).back(), "http://c/");
    length.reversed = true;
    EXPECT_EQ(KeySorted(cells, length).front(), "http://c/");

    KeySortSpec ending;
    ending.mode = kSortEnding;
    ending.reversed = true; // plain reversed text: endings ascending
    EXPECT_EQ(KeySorted(cells, ending),
              (std::vector<std::string>{"http://c/", "http://bb/y.htm", "http://a/x.zip", "http://dddd/z.zip"}));
    ending.reversed = false;
    EXPECT_EQ(KeySorted(cells, ending),
              (std::vector<std::string>{"http://dddd/z.zip", "http://a/x.zip", "http://bb/y.htm", "http://c/"}));

    KeySortSpec symbol;
    symbol.mode = kSortSymbol;
    const SortOutcome out = KeySortOrder(Snapshot(cells, {3, 1, 2, 1}), symbol, BuildCollationRank());
    EXPECT_EQ(out.order, (std::vector<uint32_t>{1, 3, 2, 0})); // equal icons keep their order
}

TEST(SortOrders, StoppedKeySortKeepsEveryRow)
{
    std::vector<std::string> cells;
    for (int i = 5000; i > 0; --i)
        cells.push_back("row" + std::to_string(i));
    int calls = 0;
    // Stopped while keys are built: the rows keyed so far come sorted, the rest as they were.
    const SortOutcome early = KeySortOrder(Snapshot(cells), ColumnSpec(kKeyNumber, false), BuildCollationRank(),
                                           [&] { return ++calls >= 2; });
    ASSERT_TRUE(early.stopped);
    ASSERT_EQ(early.order.size(), cells.size());
    EXPECT_EQ(early.processed, 2048u);
    std::vector<uint32_t> sorted = early.order;
    std::sort(sorted.begin(), sorted.end());
    for (uint32_t i = 0; i < sorted.size(); ++i)
        ASSERT_EQ(sorted[i], i);
    for (std::size_t i = early.processed; i < cells.size(); ++i)
        EXPECT_EQ(early.order[i], i);

    // Stopped while sorting: unchanged.
    calls = 0;
    const SortOutcome late = KeySortOrder(Snapshot(cells), ColumnSpec(kKeyText, false), BuildCollationRank(),
                                          [&] { return ++calls > 5; });
    ASSERT_TRUE(late.stopped);
    for (uint32_t i = 0; i < late.order.size(); ++i)
        ASSERT_EQ(late.order[i], i);
}

TEST(SortOrders, ComparisonSortIsStableAndStopsUnchanged)
{
    const std::vector<std::string> cells = {"b", "a", "B", "a", "c"};
    CompareParams p;
    const LocaleCollator root;
    const SortOutcome out = ComparisonSortOrder(Snapshot(cells), p, root);
    EXPECT_EQ(Ordered(cells, out), (std::vector<std::string>{"a", "a", "b", "B", "c"}));
    EXPECT_EQ(out.order[0], 1u);
    EXPECT_EQ(out.order[1], 3u);

    std::vector<std::string> many;
    for (int i = 0; i < 3000; ++i)
        many.push_back(std::to_string(i * 7919 % 3001));
    const SortOutcome stopped = ComparisonSortOrder(Snapshot(many), p, root, [] { return true; });
    EXPECT_TRUE(stopped.stopped);
    for (uint32_t i = 0; i < stopped.order.size(); ++i)
        ASSERT_EQ(stopped.order[i], i);
}

TEST(SortOrders, ApplyOrderMovesSelectionWithTheRows)
{
    std::vector<ResultRow> rows(3);
    rows[0].cells = {"c"};
    rows[1].cells = {"a"};
    rows[1].selected = true;
    rows[2].cells = {"b"};
    ApplyOrder(rows, {1, 2, 0});
    EXPECT_EQ(rows[0].Cell(0), "a");
    EXPECT_TRUE(rows[0].selected);
    EXPECT_EQ(rows[2].Cell(0), "c");
}

} // namespace
} // namespace lt
