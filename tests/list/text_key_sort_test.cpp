// SPDX-License-Identifier: GPL-3.0-or-later
// The text key sort compares eight key bytes at a time and goes deeper only where keys agree;
// these cases check it against a plain stable sort of the same keys.
#include "list/sort_orders.h"

#include <algorithm>
#include <numeric>
#include <random>

#include <gtest/gtest.h>

#include "core/cp1252.h"

namespace lt {
namespace {

// Cells with long common starts (some exactly 8 or 16 bytes), lengths around multiples of eight,
// zero bytes, 0xFF, case pairs, many exact repeats and empty cells.
std::vector<std::string> HardCells(std::size_t count, uint32_t seed)
{
    static const std::string kStems[] = {"",         "http://",          "http://w",         "http://www.host-",
                                         "HTTP://WWW.HOST-", "http://www.host-1", "ftp://ftp.x",     std::string("\0\0\0", 3)};
    static const char kTail[] = {'a', 'A', 'b', '/', '.', '\0', '\xFF', '\x8A', '\x9A', '1', '2'};
    std::mt19937 rng(seed);
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && rng() % 5 == 0) {
            cells.push_back(cells[rng() % cells.size()]);
            continue;
        }
        std::string cell = kStems[rng() % std::size(kStems)];
        const std::size_t tail = rng() % 26;
        for (std::size_t k = 0; k < tail; ++k)
            cell += kTail[rng() % sizeof kTail];
        cells.push_back(std::move(cell));
    }
    return cells;
}

SortSnapshot Snapshot(const std::vector<std::string>& cells)
{
    SortSnapshot s;
    for (const std::string& c : cells)
        s.Add(c, 1);
    return s;
}

// The stable order of the rows by `key` (plain byte order), with `last` rows after all others.
std::vector<uint32_t> StableOrder(const std::vector<std::string>& keys, const std::vector<bool>& last)
{
    std::vector<uint32_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t x, uint32_t y) {
        if (last[x] != last[y])
            return last[y];
        return !last[x] && keys[x] < keys[y];
    });
    return order;
}

TEST(TextKeySort, ColumnKeysMatchAStableSortInBothDirections)
{
    const std::array<uint8_t, 256> rank = BuildCollationRank();
    for (const uint32_t seed : {1u, 2u, 3u}) {
        const std::vector<std::string> cells = HardCells(4000, seed);
        for (const bool descending : {false, true}) {
            std::vector<std::string> keys;
            std::vector<bool> empty;
            for (const std::string& cell : cells) {
                std::string key;
                for (const char c : cell) {
                    const auto u = static_cast<uint8_t>(c);
                    key.push_back(static_cast<char>(descending ? rank[u] : Cp1252Lower(u)));
                }
                keys.push_back(key);
                empty.push_back(cell.empty());
            }
            KeySortSpec request;
            request.keyClass = kKeyText;
            request.descending = descending;
            const SortOutcome out = KeySortOrder(Snapshot(cells), request, rank);
            EXPECT_FALSE(out.stopped);
            EXPECT_EQ(out.order, StableOrder(keys, empty)) << "seed " << seed << (descending ? " descending" : "");
        }
    }
}

TEST(TextKeySort, EndingKeysMatchAStableSort)
{
    const std::array<uint8_t, 256> rank = BuildCollationRank();
    std::vector<std::string> cells = HardCells(3000, 9);
    cells.push_back(std::string(200, 'q') + "x"); // ranked ending keys are cut to 160 characters
    cells.push_back(std::string(200, 'q') + "y");
    cells.push_back(std::string(200, 'q') + "x");
    for (const bool reversed : {false, true}) {
        std::vector<std::string> keys;
        for (const std::string& cell : cells) {
            std::string key;
            const std::size_t limit = reversed ? cell.size() : std::min<std::size_t>(cell.size(), 160);
            for (std::size_t i = 0; i < limit; ++i) {
                const auto u = static_cast<uint8_t>(cell[cell.size() - 1 - i]);
                key.push_back(static_cast<char>(reversed ? Cp1252Lower(u) : rank[u]));
            }
            keys.push_back(key);
        }
        KeySortSpec request;
        request.mode = kSortEnding;
        request.reversed = reversed;
        const SortOutcome out = KeySortOrder(Snapshot(cells), request, rank);
        // Empty cells have empty keys and come first here.
        EXPECT_EQ(out.order, StableOrder(keys, std::vector<bool>(cells.size(), false)));
    }
}

} // namespace
} // namespace lt
