// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/line_counter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace lt {
namespace {

constexpr uint32_t kItemBinary = ControlsExcept({'\r', '\n', '\t', 0x15, 0x1B, 0x00, 0x0C});
constexpr uint32_t kLinkBinary = ControlsExcept({'\r', '\n', '\t', 0x15, 0x1B, 0x00});

const uint8_t* Bytes(const std::string& s)
{
    return reinterpret_cast<const uint8_t*>(s.data());
}

TEST(LineCounter, CountsUpToTheFirstBinaryByte)
{
    const std::string text = "one\ntwo\r\n\tthree\x0C\n\x01"
                             "four\n\n";
    const LineStretch r = CountLinesScalar(Bytes(text), text.size(), kItemBinary);
    EXPECT_EQ(r.lines, 3u);
    EXPECT_EQ(r.afterLastLf, text.find('\x01'));
    EXPECT_EQ(r.binaryAt, text.find('\x01'));
    // the form feed is binary for the link scanner's test
    const LineStretch link = CountLinesScalar(Bytes(text), text.size(), kLinkBinary);
    EXPECT_EQ(link.lines, 2u);
    EXPECT_EQ(link.binaryAt, text.find('\x0C'));
    // no test: every line feed counts
    const LineStretch all = CountLinesScalar(Bytes(text), text.size(), 0);
    EXPECT_EQ(all.lines, 5u);
    EXPECT_EQ(all.afterLastLf, text.size());
    EXPECT_EQ(all.binaryAt, LineStretch::kNone);
    EXPECT_EQ(CountLines(Bytes(text), 0, kItemBinary).lines, 0u);
}

// The wide count must agree with the one-byte count for every length, alignment and position of
// the line feeds and of the binary byte, also in the last bytes of a stretch.
TEST(LineCounter, WideCountAgreesWithTheByteCount)
{
    std::mt19937 rng(4242);
    const char alphabet[] = {'a',  'b', ' ',  '\n', '\n', '\r',   '\t',   0x0C,   0x15,
                             0x1B, 0,   0x01, 0x1F, 0x10, '\x80', '\xFF', '\x8A', '\x0B'};
    for (int round = 0; round < 3000; ++round) {
        const std::size_t size = rng() % 300;
        std::string data(size + 40, 'x');
        // mostly text, now and then a control byte
        for (char& c : data)
            c = (rng() % 4 == 0) ? alphabet[rng() % sizeof alphabet] : static_cast<char>('a' + rng() % 26);
        const std::size_t offset = rng() % 33;
        const std::size_t n = std::min(size, data.size() - offset);
        for (const uint32_t mask : {kItemBinary, kLinkBinary, 0u, 1u << 0x1F, 0xFFFFFFFFu & ~(1u << '\n')}) {
            const LineStretch want = CountLinesScalar(Bytes(data) + offset, n, mask);
            const LineStretch got = CountLines(Bytes(data) + offset, n, mask);
            ASSERT_EQ(got.lines, want.lines) << round << " mask " << mask;
            ASSERT_EQ(got.afterLastLf, want.afterLastLf) << round << " mask " << mask;
            ASSERT_EQ(got.binaryAt, want.binaryAt) << round << " mask " << mask;
        }
    }
}

} // namespace
} // namespace lt
