// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/sort_orders.h"

#include <algorithm>
#include <cmath>
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
        texts.Reserve(n, rows.Size() > 0 ? static_cast<std::size_t>(rows.Cell(0).size()) * n : 0);

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
        if (textKey)
            return texts.Cell(x) < texts.Cell(y);
        if (!dotted.empty())
            return desc ? dotted[y] < dotted[x] : dotted[x] < dotted[y];
        return columnKey && desc ? numbers[y] < numbers[x] : numbers[x] < numbers[y];
    };
    try {
        std::stable_sort(order.begin(), order.end(), less);
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
