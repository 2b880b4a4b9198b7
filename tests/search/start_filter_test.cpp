// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/start_filter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace lt {
namespace {

ByteTable Of(std::initializer_list<int> bytes)
{
    ByteTable t{};
    for (const int b : bytes)
        t[static_cast<uint8_t>(b)] = 1;
    return t;
}

ByteTable Range(int low, int high)
{
    ByteTable t{};
    for (int b = low; b <= high; ++b)
        t[static_cast<uint8_t>(b)] = 1;
    return t;
}

// Filters as the item scanner sets them up, and some it does not (a class that cannot be
// tested wide, four of them, a class over neighbouring distances).
std::vector<StartFilter> Filters()
{
    std::vector<StartFilter> filters(6);
    filters[0].Require(0, Of({'w', 'W'}));
    filters[0].Require(1, Of({'w', 'W'}));
    filters[0].Require(2, Of({'w', 'W'}));
    filters[0].Require(3, Of({'.'}));
    filters[1].Require(0, Of({'.'}));
    filters[1].Require(2, Of({'.'}), 3);
    filters[1].Require(-1, Range('0', '9'));
    filters[1].Require(1, Range('0', '9'));
    filters[2].Require(0, Of({'@'}));
    filters[2].Require(-1, Of({'a', 'b', '1', '_', '"', 'Z'})); // six bytes, not a range: exact only
    filters[3].Require(0, Of({0}));
    filters[3].Require(1, Of({0xFF, 0x80, 0x7F}));
    filters[4].Require(0, Range(0x80, 0xFF));
    filters[4].Require(7, Of({' ', '\n', '\t', '\r'}));
    filters[5].Require(0, Of({'a', 'b', 'c', 'd', 'f'})); // not testable wide at all
    return filters;
}

TEST(StartFilter, MarksEveryPositionThatPasses)
{
    std::mt19937 rng(99);
    const char pieces[] = {'w', 'W', '.',  '@', '1',  '9',    '0',    'a',    'b', '_',
                           '"', ' ', '\n', 'Z', '\0', '\xFF', '\x80', '\x7F', 'c', 'f'};
    const std::vector<StartFilter> filters = Filters();
    for (int round = 0; round < 400; ++round) {
        std::string data(8 + 64 * 6 + 8, ' ');
        for (char& c : data)
            c = pieces[rng() % sizeof pieces];
        const auto* base = reinterpret_cast<const uint8_t*>(data.data()) + 8;
        for (std::size_t f = 0; f < filters.size(); ++f) {
            const StartFilter& filter = filters[f];
            for (std::size_t chunk = 0; chunk < 6; ++chunk) {
                const uint8_t* p = base + 64 * chunk;
                const uint64_t exact = filter.ExactMarks(p);
                std::size_t index = 99;
                const uint64_t marks = filter.NextMarks(p, 1, index);
                ASSERT_EQ(marks & exact, exact) << "filter " << f << " round " << round;
                ASSERT_EQ(index, marks != 0 ? 0u : 1u);
                for (int i = 0; i < 64; ++i) {
                    // the reader-based test agrees with the pointer-based one
                    const bool viaReader =
                        filter.Passes([&](int offset) { return static_cast<int>(p[i + offset]); });
                    ASSERT_EQ(viaReader, ((exact >> i) & 1) != 0);
                }
            }
            // over several groups: the first group that has a passing position is never passed by
            std::size_t index = 0;
            const uint64_t marks = filter.NextMarks(base, 6, index);
            std::size_t firstExact = 6;
            for (std::size_t chunk = 0; chunk < 6 && firstExact == 6; ++chunk)
                if (filter.ExactMarks(base + 64 * chunk) != 0)
                    firstExact = chunk;
            ASSERT_LE(index, firstExact);
            if (index < 6) {
                ASSERT_NE(marks, 0u);
            }
        }
    }
}

TEST(StartFilter, ReachOfTheClasses)
{
    const std::vector<StartFilter> filters = Filters();
    EXPECT_EQ(filters[0].Before(), 0);
    EXPECT_EQ(filters[0].After(), 3);
    EXPECT_EQ(filters[1].Before(), 1);
    EXPECT_EQ(filters[1].After(), 4);
    EXPECT_EQ(filters[4].After(), 7);
    // a position fails where a byte it needs is missing
    EXPECT_FALSE(filters[1].Passes([](int offset) { return offset == 0 ? '.' : (offset == 3 ? '.' : -1); }));
    EXPECT_TRUE(filters[1].Passes([](int offset) { return offset == 0 || offset == 4 ? '.' : '5'; }));
    EXPECT_FALSE(filters[1].Passes([](int offset) { return offset == 0 ? '.' : '5'; })); // no second dot
}

} // namespace
} // namespace lt
