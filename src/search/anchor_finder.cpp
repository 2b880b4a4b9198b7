// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/anchor_finder.h"

#include <algorithm>
#include <cstring>

#include "search/block_reader.h"
#include "search/scan_params.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LT_WIDE_X86 1
#endif

#include "platform/cpu_features.h"

namespace lt {

namespace {

constexpr std::string_view kColonReference = "&#58;";

// The wide filter: per prefix position up to four byte values compared with the text byte's 0x20
// bit set (a superset of both letter cases; the exact test follows), plus the binary test.
struct WideFilter
{
    int prefix = 1;
    uint8_t values[4][4]{};
    bool binary = false;
};

#ifdef LT_WIDE_X86

// The marks of 32 positions: those whose first and last prefix bytes may be an anchor's, and
// the binary bytes.
struct WideMarks
{
    __m256i first[4], last[4];
    __m256i bit20, high3, zero, cr, lf, tab, nak, esc;
    int lastAt;
    bool binary;

    __attribute__((target("avx2"))) explicit WideMarks(const WideFilter& f)
    {
        lastAt = f.prefix - 1;
        for (int s = 0; s < 4; ++s) {
            first[s] = _mm256_set1_epi8(static_cast<char>(f.values[0][s]));
            last[s] = _mm256_set1_epi8(static_cast<char>(f.values[lastAt][s]));
        }
        bit20 = _mm256_set1_epi8(0x20);
        high3 = _mm256_set1_epi8(static_cast<char>(0xE0));
        zero = _mm256_setzero_si256();
        cr = _mm256_set1_epi8('\r');
        lf = _mm256_set1_epi8('\n');
        tab = _mm256_set1_epi8('\t');
        nak = _mm256_set1_epi8(0x15);
        esc = _mm256_set1_epi8(0x1B);
        binary = f.binary;
    }

    __attribute__((target("avx2"))) static __m256i AnyOf(__m256i v, const __m256i* values)
    {
        return _mm256_or_si256(
            _mm256_or_si256(_mm256_cmpeq_epi8(v, values[0]), _mm256_cmpeq_epi8(v, values[1])),
            _mm256_or_si256(_mm256_cmpeq_epi8(v, values[2]), _mm256_cmpeq_epi8(v, values[3])));
    }

    __attribute__((target("avx2"))) uint32_t Marks(const uint8_t* p) const
    {
        const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        __m256i cand = AnyOf(_mm256_or_si256(v0, bit20), first);
        if (lastAt > 0) {
            const __m256i vl = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + lastAt));
            cand = _mm256_and_si256(cand, AnyOf(_mm256_or_si256(vl, bit20), last));
        }
        if (binary) {
            const __m256i ctrl = _mm256_cmpeq_epi8(_mm256_and_si256(v0, high3), zero);
            __m256i allowed = _mm256_or_si256(_mm256_cmpeq_epi8(v0, zero), _mm256_cmpeq_epi8(v0, cr));
            allowed = _mm256_or_si256(allowed,
                                      _mm256_or_si256(_mm256_cmpeq_epi8(v0, lf), _mm256_cmpeq_epi8(v0, tab)));
            allowed = _mm256_or_si256(
                allowed, _mm256_or_si256(_mm256_cmpeq_epi8(v0, nak), _mm256_cmpeq_epi8(v0, esc)));
            cand = _mm256_or_si256(cand, _mm256_andnot_si256(allowed, ctrl));
        }
        return static_cast<uint32_t>(_mm256_movemask_epi8(cand));
    }
};

// The first group of 64 positions in [0, n) with marks: true with its start in `index` and its
// marks in `marks`, or false with `index` at the start of the tail of fewer than 64 positions left
// unlooked at. Reads p[0 .. n + 2].
__attribute__((target("avx2"))) bool ScanAvx2(const uint8_t* p, std::size_t n, const WideFilter& f,
                                              std::size_t& index, uint64_t& marks)
{
    const WideMarks wide(f);
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const uint64_t m = wide.Marks(p + i) | (static_cast<uint64_t>(wide.Marks(p + i + 32)) << 32);
        if (m != 0) {
            index = i;
            marks = m;
            return true;
        }
    }
    index = i;
    return false;
}

#endif

} // namespace

std::vector<AnchorPattern> AnchorFinder::BuildPatterns(const ScanParams& scan)
{
    std::vector<AnchorPattern> patterns;
    auto add = [&](const std::string& anchor, int which) {
        if (anchor.empty())
            return;
        for (const AnchorPattern& p : patterns)
            if (p.bytes == anchor && !p.entity)
                return; // kind 3 searches the same anchor twice; the first one names it
        patterns.push_back({anchor, which, false});
        if (scan.itemKind == 0) {
            // "http", "https" and "ftp" followed by the colon as "&#58;"
            const std::size_t colon = anchor.find(':');
            if (colon != std::string::npos && colon > 0)
                patterns.push_back({anchor.substr(0, colon) + std::string(kColonReference), which, true});
        }
    };
    add(scan.anchor1, 1);
    add(scan.anchor2, 2);
    if (scan.itemKind == 0)
        add(scan.anchor3, 3);
    return patterns;
}

AnchorFinder::AnchorFinder(const ScanParams& scan, const CharTables& tables, bool binaryStops)
    : m_patterns(BuildPatterns(scan)), m_foldCase(scan.foldCase), m_binaryStops(binaryStops)
{
    for (int c = 0; c < 256; ++c) {
        m_fold[c] = m_foldCase ? tables.caseFoldMap[c] : static_cast<uint8_t>(c);
        m_isBinary[c] = binaryStops && c < 32 && c != '\r' && c != '\n' && c != '\t' && c != 0x15 && c != 0x1B &&
                        c != 0;
    }
    std::size_t shortest = m_patterns.empty() ? 1 : SIZE_MAX;
    for (const AnchorPattern& p : m_patterns) {
        shortest = std::min(shortest, p.bytes.size());
        m_longest = std::max(m_longest, p.bytes.size());
    }
    m_prefix = std::clamp<std::size_t>(shortest, 1, 4);
    for (std::size_t k = 0; k < m_prefix; ++k) {
        for (const AnchorPattern& p : m_patterns) {
            const auto b = static_cast<uint8_t>(p.bytes[k]);
            // Text bytes fold into the pattern byte; the pattern bytes themselves are already folded.
            for (int c = 0; c < 256; ++c)
                if (m_fold[c] == b)
                    m_allowed[k][c] = 1;
            auto& set = m_setBytes[k];
            const uint8_t wide = b | 0x20;
            if (std::find(set.begin(), set.begin() + m_setSize[k], wide) == set.begin() + m_setSize[k]) {
                if (m_setSize[k] < 4)
                    set[m_setSize[k]++] = wide;
                else
                    m_prefix = k; // too many values to filter at this position: filter fewer bytes
            }
        }
    }
    if (m_prefix == 0)
        m_prefix = 1;
}

bool AnchorFinder::MatchesAt(BlockReader& data, const uint8_t* direct, std::size_t available, uint64_t pos,
                             AnchorEvent& event) const
{
    for (const AnchorPattern& p : m_patterns) {
        const std::size_t len = p.bytes.size();
        bool ok = true;
        for (std::size_t k = 0; k < len && ok; ++k) {
            int c;
            if (k < available)
                c = direct[k];
            else
                c = data.At(pos + k);
            ok = c >= 0 && m_fold[static_cast<uint8_t>(c)] == static_cast<uint8_t>(p.bytes[k]);
        }
        if (ok) {
            event.kind = AnchorEvent::kFound;
            event.pos = pos;
            event.length = len;
            event.which = p.which;
            event.entity = p.entity;
            return true;
        }
    }
    return false;
}

AnchorEvent AnchorFinder::Scalar(BlockReader& data, uint64_t pos, uint64_t end)
{
    AnchorEvent event;
    for (uint64_t j = pos; j < end; ++j) {
        const int c = data.At(j);
        if (c < 0)
            return event;
        if (m_isBinary[c]) {
            event.kind = AnchorEvent::kBinary;
            event.pos = j;
            return event;
        }
        if (m_allowed[0][c] && MatchesAt(data, nullptr, 0, j, event))
            return event;
    }
    return event;
}

AnchorEvent AnchorFinder::Next(BlockReader& data, uint64_t pos, uint64_t limit)
{
    limit = std::min<uint64_t>(limit, data.Size());
    AnchorEvent event;
    if (m_patterns.empty())
        return event;
    WideFilter filter;
    filter.prefix = static_cast<int>(m_prefix);
    filter.binary = m_binaryStops;
    for (std::size_t k = 0; k < 4; ++k)
        for (int s = 0; s < 4; ++s)
            filter.values[k][s] = m_setSize[k] > 0 ? m_setBytes[k][std::min(s, m_setSize[k] - 1)] : 0;

    uint64_t j = pos;
    while (j < limit) {
        std::size_t available = 0;
        const uint8_t* span = data.Span(j, available);
        if (span == nullptr || available == 0)
            return event;
        // Positions whose prefix lies inside this span are filtered here; the last few bytes of the
        // span, whose prefix reaches into the next block, go through the scalar test.
        const uint64_t spanEnd = j + available;
        const std::size_t n = static_cast<std::size_t>(
            std::min<uint64_t>(limit - j, available > 3 ? available - 3 : 0));
        std::size_t i = 0;
        while (i < n) {
            std::size_t tail = i;
#ifdef LT_WIDE_X86
            if (CpuHasAvx2()) {
                std::size_t group = 0;
                uint64_t marks = 0;
                if (ScanAvx2(span + i, n - i, filter, group, marks)) {
                    // The marked positions in order: a binary byte or a full match ends the step.
                    const std::size_t base = i + group;
                    while (marks != 0) {
                        const std::size_t t = base + static_cast<std::size_t>(__builtin_ctzll(marks));
                        marks &= marks - 1;
                        if (m_isBinary[span[t]]) {
                            event.kind = AnchorEvent::kBinary;
                            event.pos = j + t;
                            return event;
                        }
                        if (m_allowed[0][span[t]] && MatchesAt(data, span + t, available - t, j + t, event))
                            return event;
                    }
                    i = base + 64;
                    continue;
                }
                tail = i + group;
            }
#endif
            // The positions left to the wide test (all of them without it), one at a time.
            for (std::size_t t = tail; t < n; ++t) {
                if (m_isBinary[span[t]]) {
                    event.kind = AnchorEvent::kBinary;
                    event.pos = j + t;
                    return event;
                }
                if (m_allowed[0][span[t]] && MatchesAt(data, span + t, available - t, j + t, event))
                    return event;
            }
            break;
        }
        j += n;
        const uint64_t stop = std::min<uint64_t>(limit, spanEnd);
        if (j < stop) {
            event = Scalar(data, j, stop);
            if (event.kind != AnchorEvent::kNone)
                return event;
            j = stop;
        }
    }
    return event;
}

} // namespace lt
