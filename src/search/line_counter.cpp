// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/line_counter.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LT_LINES_X86 1
#endif

#include "platform/cpu_features.h"

namespace lt {

namespace {

#ifdef LT_LINES_X86

// Looks at the lanes `keep` of the 32 bytes at `at` (index `base` in the stretch); true when a
// binary byte ends the stretch there.
struct Avx2Lines
{
    __m256i lf, low4, bit4, high3, zero, tableLow, tableHigh;
    bool testBinary;

    __attribute__((target("avx2"))) explicit Avx2Lines(uint32_t binaryControls)
    {
        // Byte i of a table is 0xFF when bit i (table of 0..15) or bit 16 + i (16..31) is set.
        const __m256i mask = _mm256_set1_epi32(static_cast<int>(binaryControls));
        const __m256i bits = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ULL));
        const __m256i pickLow = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0,
                                                 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1);
        const __m256i pickHigh = _mm256_setr_epi8(2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2,
                                                  2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3);
        tableLow = _mm256_cmpeq_epi8(_mm256_and_si256(_mm256_shuffle_epi8(mask, pickLow), bits), bits);
        tableHigh = _mm256_cmpeq_epi8(_mm256_and_si256(_mm256_shuffle_epi8(mask, pickHigh), bits), bits);
        lf = _mm256_set1_epi8('\n');
        low4 = _mm256_set1_epi8(0x0F);
        bit4 = _mm256_set1_epi8(0x10);
        high3 = _mm256_set1_epi8(static_cast<char>(0xE0));
        zero = _mm256_setzero_si256();
        testBinary = binaryControls != 0;
    }

    __attribute__((target("avx2,popcnt,lzcnt,bmi"))) bool Chunk(const uint8_t* at, uint32_t keep,
                                                                std::size_t base, LineStretch& r) const
    {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        uint32_t lfs = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, lf))) & keep;
        if (testBinary) {
            // Control bytes looked up by their low four bits in the table of their half (0..15, 16..31).
            const __m256i index = _mm256_and_si256(v, low4);
            const __m256i isHigh = _mm256_cmpeq_epi8(_mm256_and_si256(v, bit4), bit4);
            const __m256i marked = _mm256_blendv_epi8(_mm256_shuffle_epi8(tableLow, index),
                                                      _mm256_shuffle_epi8(tableHigh, index), isHigh);
            const __m256i control = _mm256_cmpeq_epi8(_mm256_and_si256(v, high3), zero);
            const auto bad =
                static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(marked, control))) & keep;
            if (bad != 0) {
                const auto b = static_cast<unsigned>(__builtin_ctz(bad));
                lfs &= (1u << b) - 1;
                Count(lfs, base, r);
                r.binaryAt = base + b;
                return true;
            }
        }
        Count(lfs, base, r);
        return false;
    }

    __attribute__((target("popcnt,lzcnt"))) static void Count(uint32_t lfs, std::size_t base, LineStretch& r)
    {
        if (lfs == 0)
            return;
        r.lines += static_cast<std::size_t>(__builtin_popcount(lfs));
        r.afterLastLf = base + static_cast<std::size_t>(31 - __builtin_clz(lfs)) + 1;
    }
};

__attribute__((target("avx2,popcnt,lzcnt,bmi"))) LineStretch CountLinesAvx2(const uint8_t* p, std::size_t n,
                                                                            uint32_t binaryControls)
{
    LineStretch r;
    const Avx2Lines lanes(binaryControls);
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32)
        if (lanes.Chunk(p + i, 0xFFFFFFFFu, i, r))
            return r;
    if (i < n) {
        // The last bytes: the 32 that end the stretch, of which only the new ones count.
        const auto rest = static_cast<unsigned>(n - i);
        lanes.Chunk(p + n - 32, 0xFFFFFFFFu << (32 - rest), n - 32, r);
    }
    return r;
}

#endif

} // namespace

LineStretch CountLinesScalar(const uint8_t* p, std::size_t n, uint32_t binaryControls)
{
    LineStretch r;
    if (binaryControls == 0) {
        const uint8_t* at = p;
        const uint8_t* end = p + n;
        while (at < end) {
            const void* lf = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
            if (!lf)
                break;
            at = static_cast<const uint8_t*>(lf) + 1;
            ++r.lines;
            r.afterLastLf = static_cast<std::size_t>(at - p);
        }
        return r;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const uint8_t c = p[i];
        if (c >= 32)
            continue;
        if ((binaryControls >> c) & 1) {
            r.binaryAt = i;
            return r;
        }
        if (c == '\n') {
            ++r.lines;
            r.afterLastLf = i + 1;
        }
    }
    return r;
}

LineStretch CountLines(const uint8_t* p, std::size_t n, uint32_t binaryControls)
{
#ifdef LT_LINES_X86
    if (n >= 32 && CpuHasAvx2())
        return CountLinesAvx2(p, n, binaryControls);
#endif
    return CountLinesScalar(p, n, binaryControls);
}

} // namespace lt
