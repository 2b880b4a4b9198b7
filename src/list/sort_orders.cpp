// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/sort_orders.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>

#include "core/cp1252.h"
#include "list/result_list.h"

namespace lt {

namespace {

// Thrown by a comparator to leave a sort early; the order being built is dropped.
struct SortStopped
{};

constexpr std::size_t kEndingKeyChars = 160;

// Counts comparisons, asks the stop check and reports progress now and then.
class Pacer
{
public:
    Pacer(const StopCheck& stop, const ProgressCheck& progress, uint64_t base, uint64_t total)
        : m_stop(stop), m_progress(progress), m_base(base), m_total(total)
    {}
    void Tick()
    {
        if ((++m_count & 0xFFF) != 0)
            return;
        if (m_stop && m_stop())
            throw SortStopped{};
        if (m_progress)
            m_progress(std::min(m_total, m_base + m_count), m_total);
    }

private:
    const StopCheck& m_stop;
    const ProgressCheck& m_progress;
    uint64_t m_base, m_total, m_count = 0;
};

// One row of a text key sort: eight key bytes from the depth reached, big-endian and padded with
// zeros, and the key's length when it ends within them (kRunsOn otherwise).
struct TextItem
{
    uint64_t head = 0;
    uint32_t ends = 0;
    uint32_t row = 0;
};
constexpr uint32_t kRunsOn = 0xFFFFFFFFu;
constexpr std::size_t kSmallRun = 16;

uint64_t HeadAt(std::string_view key, std::size_t depth)
{
    if (depth + 8 <= key.size()) {
        uint64_t v;
        std::memcpy(&v, key.data() + depth, sizeof v);
        if constexpr (std::endian::native == std::endian::little)
            v = __builtin_bswap64(v);
        return v;
    }
    uint64_t v = 0;
    for (std::size_t k = 0; k < 8; ++k)
        v = (v << 8) | (depth + k < key.size() ? static_cast<uint8_t>(key[depth + k]) : 0u);
    return v;
}

// Sorts rows by their keys' plain byte order, equal keys by row, so that the result is that of a
// stable sort. All keys of the range agree on their first `depth` bytes. Eight bytes at a time
// are compared inside the items, and only runs that agree on them go on to the next eight:
// long common starts such as "http://www." cost a scan, not a comparison of whole texts.
void SortTextKeys(TextItem* first, TextItem* last, std::size_t depth, const SortSnapshot& keys, Pacer& pacer)
{
    for (;;) {
        const auto n = static_cast<std::size_t>(last - first);
        if (n < 2)
            return;
        if (n <= kSmallRun) {
            std::sort(first, last, [&](const TextItem& a, const TextItem& b) {
                pacer.Tick();
                const int c = keys.Cell(a.row).substr(depth).compare(keys.Cell(b.row).substr(depth));
                return c != 0 ? c < 0 : a.row < b.row;
            });
            return;
        }
        bool alike = true;
        for (TextItem* it = first; it != last; ++it) {
            const std::string_view key = keys.Cell(it->row);
            it->head = HeadAt(key, depth);
            it->ends = key.size() <= depth + 8 ? static_cast<uint32_t>(key.size()) : kRunsOn;
            alike = alike && it->head == first->head && it->ends == kRunsOn;
        }
        if (alike) {
            depth += 8;
            continue;
        }
        // Within equal heads a key that ends there is a start of the longer ones: it goes first.
        std::sort(first, last, [&](const TextItem& a, const TextItem& b) {
            pacer.Tick();
            if (a.head != b.head)
                return a.head < b.head;
            if (a.ends != b.ends)
                return a.ends < b.ends;
            return a.row < b.row;
        });
        for (TextItem* run = first; run != last;) {
            TextItem* end = run + 1;
            while (end != last && end->head == run->head && end->ends == run->ends)
                ++end;
            if (run->ends == kRunsOn && end - run > 1)
                SortTextKeys(run, end, depth + 8, keys, pacer);
            run = end;
        }
        return;
    }
}

} // namespace

SortSnapshot SortSnapshot::FromRows(const std::vector<ResultRow>& rows, int column)
{
    SortSnapshot s;
    std::size_t bytes = 0;
    for (const ResultRow& r : rows)
        bytes += r.Cell(column).size();
    s.Reserve(rows.size(), bytes);
    for (const ResultRow& r : rows)
        s.Add(r.Cell(column), r.icon);
    return s;
}

void SortSnapshot::Reserve(std::size_t rows, std::size_t bytes)
{
    m_bytes.reserve(bytes);
    m_starts.reserve(rows + 1);
    m_icons.reserve(rows);
}

void SortSnapshot::Add(std::string_view cell, int icon)
{
    m_bytes.append(cell);
    m_starts.push_back(static_cast<uint32_t>(m_bytes.size()));
    m_icons.push_back(icon);
}

int KeyClassForType(int columnType)
{
    switch (columnType) {
    case kColHits:
    case kColSize:
    case kColLine: return kKeyNumber;
    case kColOffset: return kKeyOffset;
    case kColIp: return kKeyIp;
    default: return kKeyText;
    }
}

bool ColumnStartsDescending(int columnType, int column)
{
    return columnType == kColDate || columnType == kColHits || column >= 4;
}

std::array<uint8_t, 256> BuildCollationRank()
{
    std::vector<int> codes(224);
    std::iota(codes.begin(), codes.end(), 32);
    // Insertion into the ascending list places each "Xa" after the texts equal to it, so ties of
    // the case-folded character keep code order.
    std::stable_sort(codes.begin(), codes.end(), [](int x, int y) {
        return Cp1252Lower(static_cast<uint8_t>(x)) < Cp1252Lower(static_cast<uint8_t>(y));
    });
    std::array<uint8_t, 256> rank{};
    for (std::size_t i = 0; i < codes.size(); ++i)
        rank[codes[i]] = static_cast<uint8_t>(codes.size() - i);
    return rank;
}

SortOutcome KeySortOrder(const SortSnapshot& rows, const KeySortSpec& sortKey, const std::array<uint8_t, 256>& rank,
                         const StopCheck& stop, const ProgressCheck& progress)
{
    const std::size_t n = rows.Size();
    SortOutcome out;
    const uint64_t total = 2 * static_cast<uint64_t>(n) +
                           static_cast<uint64_t>(n) * static_cast<uint64_t>(std::ceil(std::log2(n + 1.0)));

    // Keys are built first, row by row from the top. Text keys are written once into one buffer in
    // a form whose plain byte order is the key order (folded, or as ranks), so that comparing two
    // keys is one memcmp.
    std::vector<int64_t> numbers;   // length, symbol and number keys
    std::vector<std::array<int64_t, 4>> dotted;
    SortSnapshot texts;
    std::vector<uint8_t> empty;     // column keys of empty cells go last
    const bool columnKey = sortKey.mode == kSortColumn;
    const bool textKey = sortKey.mode == kSortEnding || (columnKey && (sortKey.keyClass == kKeyText || sortKey.keyClass == kKeyOffset));
    if (sortKey.mode == kSortLength || sortKey.mode == kSortSymbol || (columnKey && sortKey.keyClass == kKeyNumber))
        numbers.resize(n);
    if (columnKey && sortKey.keyClass == kKeyIp)
        dotted.resize(n);
    if (columnKey)
        empty.resize(n);
    if (textKey)
    {
        // Keys are as long as their cells, cut for endings, padded for offsets.
        std::size_t bytes = 0;
        for (std::size_t i = 0; i < n; ++i)
            bytes += rows.Cell(i).size();
        texts.Reserve(n, bytes + (sortKey.keyClass == kKeyOffset ? 10 * n : 0));
    }

    const bool ranked = sortKey.mode == kSortEnding ? !sortKey.reversed : sortKey.descending;
    std::string key;
    const auto encode = [&](char c) {
        const auto u = static_cast<uint8_t>(c);
        key.push_back(static_cast<char>(ranked ? rank[u] : Cp1252Lower(u)));
    };
    std::size_t keyed = 0;
    for (; keyed < n; ++keyed) {
        if ((keyed & 0x3FF) == 0 && keyed > 0) {
            if (stop && stop()) {
                out.stopped = true;
                break;
            }
            if (progress)
                progress(keyed, total);
        }
        const std::string_view cell = rows.Cell(keyed);
        if (columnKey)
            empty[keyed] = cell.empty();
        if (sortKey.mode == kSortLength) {
            const auto len = static_cast<int64_t>(cell.size());
            numbers[keyed] = sortKey.reversed ? len : 1000 - len;
        } else if (sortKey.mode == kSortSymbol) {
            numbers[keyed] = sortKey.reversed ? 999 - rows.Icon(keyed) : rows.Icon(keyed);
        } else if (!numbers.empty()) {
            numbers[keyed] = CellNumber(cell);
        } else if (!dotted.empty()) {
            DottedNumbers(cell, dotted[keyed].data());
        } else if (textKey) {
            key.clear();
            if (sortKey.mode == kSortEnding) {
                const std::size_t limit = ranked ? kEndingKeyChars : kMaxCellLength;
                for (std::size_t i = 0; i < cell.size() && i < limit; ++i)
                    encode(cell[cell.size() - 1 - i]);
            } else if (sortKey.keyClass == kKeyOffset) {
                // The digits after "0x", padded at the left so that shorter offsets come first.
                const std::string_view digits = cell.size() > 2 ? cell.substr(2) : std::string_view{};
                const std::size_t width = sortKey.descending ? 10 : 9;
                for (std::size_t i = digits.size(); i < width; ++i)
                    encode(sortKey.descending ? '0' : ' ');
                for (const char c : digits)
                    encode(c);
            } else {
                for (const char c : cell)
                    encode(c);
            }
            texts.Add(key, 0);
        }
    }

    std::vector<uint32_t> order(keyed);
    std::iota(order.begin(), order.end(), 0u);
    // A stop while keying has decided the outcome: the keyed rows are sorted to the end.
    const StopCheck noStop;
    Pacer pacer(out.stopped ? noStop : stop, progress, n, total);
    const bool desc = sortKey.descending;
    auto less = [&](uint32_t x, uint32_t y) {
        pacer.Tick();
        if (columnKey && (empty[x] || empty[y]))
            return empty[y] && !empty[x];
        if (!dotted.empty())
            return desc ? dotted[y] < dotted[x] : dotted[x] < dotted[y];
        return columnKey && desc ? numbers[y] < numbers[x] : numbers[x] < numbers[y];
    };
    try {
        if (textKey) {
            // Column keys of empty cells go last in their old order; the rest by their keys.
            std::vector<TextItem> items;
            items.reserve(order.size());
            std::vector<uint32_t> last;
            for (const uint32_t row : order) {
                if (columnKey && empty[row])
                    last.push_back(row);
                else
                    items.push_back(TextItem{0, 0, row});
            }
            SortTextKeys(items.data(), items.data() + items.size(), 0, texts, pacer);
            std::size_t i = 0;
            for (const TextItem& item : items)
                order[i++] = item.row;
            for (const uint32_t row : last)
                order[i++] = row;
        } else {
            std::stable_sort(order.begin(), order.end(), less);
        }
    } catch (const SortStopped&) {
        out.stopped = true;
        keyed = 0;
        order.clear();
    }
    out.processed = keyed;
    order.reserve(n);
    for (std::size_t i = order.size(); i < n; ++i)
        order.push_back(static_cast<uint32_t>(i));
    out.order = std::move(order);
    if (progress)
        progress(total, total);
    return out;
}

SortOutcome ComparisonSortOrder(const SortSnapshot& rows, const CompareParams& params,
                                const LocaleCollator& collator, const StopCheck& stop)
{
    const std::size_t n = rows.Size();
    SortOutcome out;
    std::vector<std::string> keys;
    if (UsesLocaleComparison(params)) {
        keys.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            if ((i & 0x3FF) == 0x3FF && stop && stop()) {
                out.stopped = true;
                break;
            }
            const std::string_view cell = rows.Cell(i);
            keys[i] = params.mode == kSortEnding ? collator.SortKey(detail::Reversed(cell)) : collator.SortKey(cell);
        }
    }
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    if (!out.stopped) {
        unsigned ticks = 0;
        auto less = [&](uint32_t x, uint32_t y) {
            if ((++ticks & 0xFF) == 0 && stop && stop())
                throw SortStopped{};
            const int r = CompareCellsWith(params, rows.Cell(x), rows.Cell(y), rows.Icon(x), rows.Icon(y),
                                           [&] { return keys[x].compare(keys[y]); });
            return r < 0;
        };
        try {
            std::stable_sort(order.begin(), order.end(), less);
            out.processed = n;
        } catch (const SortStopped&) {
            out.stopped = true;
            std::iota(order.begin(), order.end(), 0u);
        }
    }
    out.order = std::move(order);
    return out;
}

} // namespace lt
