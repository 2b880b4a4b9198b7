// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "search/char_tables.h"

namespace lt {

// Skips the positions of a byte stream where an anchor cannot start. A start must meet up to four
// byte classes, each at a fixed distance from it (from one byte before to seven after) or at any of
// a few neighbouring distances. Up to three classes are tested 32 bytes at a time where the
// processor allows it, and a position that passes them is confirmed with the exact tables (PassesAt), so what
// a scan finds never depends on the processor.
class StartFilter
{
public:
    static constexpr int kMaxClasses = 4;
    static constexpr int kMaxBefore = 1;
    static constexpr int kMaxAfter = 7;

    // The bytes allowed at `offset` (-1..7) from a start, or with `count` > 1 at any one of the
    // distances offset .. offset + count - 1. The class required first is tested first; more than
    // four classes are ignored.
    void Require(int offset, const ByteTable& allowed, int count = 1);

    // Whether the start at `p` passes every class; the bytes from p - Before() up to p + After()
    // must be readable.
    bool PassesAt(const uint8_t* p) const
    {
        for (int k = 0; k < m_count; ++k) {
            const Class& c = m_classes[static_cast<std::size_t>(k)];
            bool any = false;
            for (int i = 0; i < c.count && !any; ++i)
                any = c.allowed[p[c.offset + i]] != 0;
            if (!any)
                return false;
        }
        return true;
    }

    // Whether a start passes, with `byteAt(offset)` giving the byte at that distance (or -1 where
    // there is none). For the positions near the ends of the data or of a block.
    template <class ByteAt> bool Passes(ByteAt&& byteAt) const
    {
        for (int k = 0; k < m_count; ++k) {
            const Class& c = m_classes[static_cast<std::size_t>(k)];
            bool any = false;
            for (int i = 0; i < c.count && !any; ++i) {
                const int b = byteAt(c.offset + i);
                any = b >= 0 && c.allowed[static_cast<uint8_t>(b)] != 0;
            }
            if (!any)
                return false;
        }
        return true;
    }

    // Marks of 64 positions: bit i set when the position p + i may start an anchor. Every
    // position that passes all classes is marked (others may be: PassesAt decides). NextMarks
    // looks at the `chunks` groups of 64 positions from `p` and returns the marks of the first
    // group that has any, with its number in `index` (`chunks` and 0 when none has). Both read
    // from p - Before() up to the last position + After().
    uint64_t NextMarks(const uint8_t* p, std::size_t chunks, std::size_t& index) const;
    // The marks of exactly the positions that pass, one position at a time.
    uint64_t ExactMarks(const uint8_t* p) const;

    int Before() const { return m_before; }
    int After() const { return m_after; }

    struct Class
    {
        int offset = 0;
        int count = 1;
        ByteTable allowed{};
        int values = 0; // 1..3: the bytes in `value`; 0 with isRange false: not tested wide
        uint8_t value[3]{};
        bool isRange = false; // the bytes rangeLow .. rangeLow + rangeWidth
        uint8_t rangeLow = 0;
        uint8_t rangeWidth = 0;
        // The wide test's operands, each byte repeated over 32 lanes: the three values (fewer
        // repeat the first), or the range's low end and width.
        alignas(32) uint8_t lanes[3][32]{};
    };
    // The classes tested wide: the first one, then of the others the farthest from it first, whose
    // bytes are the least alike.
    static constexpr int kMaxWide = 3;
    int WideCount() const { return m_wideCount; }
    const Class& WideClass(int i) const
    {
        return m_classes[static_cast<std::size_t>(m_wide[std::min(i, m_wideCount - 1)])];
    }

private:
    void ChooseWide();

    std::array<Class, kMaxClasses> m_classes{};
    int m_count = 0;
    int m_wide[kMaxWide] = {-1, -1, -1};
    int m_wideCount = 0;
    int m_before = 0;
    int m_after = 0;
};

} // namespace lt
