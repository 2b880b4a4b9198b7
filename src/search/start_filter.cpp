// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/start_filter.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LT_STARTS_X86 1
#endif

#include "platform/cpu_features.h"

namespace lt {

namespace {

#ifdef LT_STARTS_X86

// One class as a 32-lane test.
struct WideLane
{
    int offset;
    int count;
    bool isRange;
    __m256i v0, v1, v2;

    __attribute__((target("avx2"))) explicit WideLane(const StartFilter::Class& c)
        : offset(c.offset), count(c.count), isRange(c.isRange),
          v0(_mm256_load_si256(reinterpret_cast<const __m256i*>(c.lanes[0]))),
          v1(_mm256_load_si256(reinterpret_cast<const __m256i*>(c.lanes[1]))),
          v2(_mm256_load_si256(reinterpret_cast<const __m256i*>(c.lanes[2])))
    {
    }

    __attribute__((target("avx2"))) __m256i MemberAt(const uint8_t* p) const
    {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        if (isRange) {
            const __m256i d = _mm256_sub_epi8(v, v0);
            return _mm256_cmpeq_epi8(_mm256_min_epu8(d, v1), d);
        }
        return _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, v0), _mm256_cmpeq_epi8(v, v1)),
                               _mm256_cmpeq_epi8(v, v2));
    }

    __attribute__((target("avx2"))) __m256i Member(const uint8_t* p) const
    {
        __m256i m = MemberAt(p + offset);
        for (int i = 1; i < count; ++i)
            m = _mm256_or_si256(m, MemberAt(p + offset + i));
        return m;
    }
};

template <int Lanes> __attribute__((target("avx2"))) __m256i Members(const WideLane* lanes, const uint8_t* p)
{
    __m256i m = lanes[0].Member(p);
    if (Lanes > 1)
        m = _mm256_and_si256(m, lanes[1].Member(p));
    if (Lanes > 2)
        m = _mm256_and_si256(m, lanes[2].Member(p));
    return m;
}

// `Lanes` is the number of wide classes (1 to 3).
template <int Lanes>
__attribute__((target("avx2"))) uint64_t NextMarksAvx2(const StartFilter& filter, const uint8_t* p,
                                                       std::size_t chunks, std::size_t& index)
{
    const WideLane lanes[3] = {WideLane(filter.WideClass(0)), WideLane(filter.WideClass(1)),
                               WideLane(filter.WideClass(2))};
    for (std::size_t i = 0; i < chunks; ++i) {
        const uint8_t* at = p + 64 * i;
        const auto low = static_cast<uint32_t>(_mm256_movemask_epi8(Members<Lanes>(lanes, at)));
        const auto high = static_cast<uint32_t>(_mm256_movemask_epi8(Members<Lanes>(lanes, at + 32)));
        if ((low | high) != 0) {
            index = i;
            return low | (static_cast<uint64_t>(high) << 32);
        }
    }
    index = chunks;
    return 0;
}

#endif

} // namespace

void StartFilter::Require(int offset, const ByteTable& allowed, int count)
{
    count = std::max(count, 1);
    if (m_count >= kMaxClasses || offset < -kMaxBefore || offset + count - 1 > kMaxAfter)
        return;
    Class& c = m_classes[static_cast<std::size_t>(m_count++)];
    c.offset = offset;
    c.count = count;
    c.allowed = allowed;
    int first = -1, last = -1, n = 0;
    for (int b = 0; b < 256; ++b) {
        if (!allowed[b])
            continue;
        if (n < 3)
            c.value[n] = static_cast<uint8_t>(b);
        if (first < 0)
            first = b;
        last = b;
        ++n;
    }
    if (n >= 1 && n <= 3) {
        c.values = n;
        for (int i = 0; i < 3; ++i)
            std::fill(std::begin(c.lanes[i]), std::end(c.lanes[i]), c.value[i < n ? i : 0]);
    } else if (n > 3 && last - first + 1 == n) {
        c.isRange = true;
        c.rangeLow = static_cast<uint8_t>(first);
        c.rangeWidth = static_cast<uint8_t>(last - first);
        std::fill(std::begin(c.lanes[0]), std::end(c.lanes[0]), c.rangeLow);
        std::fill(std::begin(c.lanes[1]), std::end(c.lanes[1]), c.rangeWidth);
        std::fill(std::begin(c.lanes[2]), std::end(c.lanes[2]), c.rangeWidth);
    }
    m_before = std::max(m_before, -offset);
    m_after = std::max(m_after, offset + count - 1);
    ChooseWide();
}

void StartFilter::ChooseWide()
{
    int order[kMaxClasses];
    int n = 0;
    for (int k = 0; k < m_count; ++k) {
        const Class& c = m_classes[static_cast<std::size_t>(k)];
        if (c.values > 0 || c.isRange)
            order[n++] = k;
    }
    if (n > 1) {
        const int first = m_classes[static_cast<std::size_t>(order[0])].offset;
        std::stable_sort(order + 1, order + n, [&](int a, int b) {
            return std::abs(m_classes[static_cast<std::size_t>(a)].offset - first) >
                   std::abs(m_classes[static_cast<std::size_t>(b)].offset - first);
        });
    }
    m_wideCount = std::min(n, kMaxWide);
    for (int i = 0; i < m_wideCount; ++i)
        m_wide[i] = order[i];
}

uint64_t StartFilter::ExactMarks(const uint8_t* p) const
{
    uint64_t marks = 0;
    for (int i = 0; i < 64; ++i)
        if (PassesAt(p + i))
            marks |= uint64_t{1} << i;
    return marks;
}

uint64_t StartFilter::NextMarks(const uint8_t* p, std::size_t chunks, std::size_t& index) const
{
#ifdef LT_STARTS_X86
    if (CpuHasAvx2()) {
        switch (WideCount()) {
        case 3:
            return NextMarksAvx2<3>(*this, p, chunks, index);
        case 2:
            return NextMarksAvx2<2>(*this, p, chunks, index);
        case 1:
            return NextMarksAvx2<1>(*this, p, chunks, index);
        default:
            break;
        }
    }
#endif
    for (std::size_t i = 0; i < chunks; ++i) {
        if (const uint64_t marks = ExactMarks(p + 64 * i)) {
            index = i;
            return marks;
        }
    }
    index = chunks;
    return 0;
}

} // namespace lt
