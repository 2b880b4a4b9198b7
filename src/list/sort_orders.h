// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "list/row_compare.h"

namespace lt {

struct ResultRow;

// One column of the rows to sort (and every row's icon), copied out of the list so that the order
// can be computed without holding the list's lock. Cells live in one buffer.
class SortSnapshot
{
public:
    SortSnapshot() { m_starts.push_back(0); }
    static SortSnapshot FromRows(const std::vector<ResultRow>& rows, int column);

    void Reserve(std::size_t rows, std::size_t bytes);
    void Add(std::string_view cell, int icon);
    std::size_t Size() const { return m_icons.size(); }
    std::string_view Cell(std::size_t i) const
    {
        return std::string_view(m_bytes).substr(m_starts[i], m_starts[i + 1] - m_starts[i]);
    }
    int Icon(std::size_t i) const { return m_icons[i]; }

private:
    std::string m_bytes;
    std::vector<uint32_t> m_starts;
    std::vector<int> m_icons;
};

// Key classes of the column key sort.
enum KeyClass : int { kKeyText = 0, kKeyNumber = 1, kKeyOffset = 2, kKeyIp = 3 };

// Hits, size and line columns sort by number, offsets by their hex digits, the IP item column by
// its four numbers, everything else as text.
int KeyClassForType(int columnType);
// Date and hits columns, and every column from the fifth on, start with the largest value first.
bool ColumnStartsDescending(int columnType, int column);

// Each character's rank in the list's own descending order: the list compares texts by their
// Windows-1252 lower-case bytes and places equal texts in insertion order, so characters that fold
// together are ranked by their code. Codes below 32 have rank 0. Texts compared rank by rank
// (shorter first on a common start) come out in the list's descending order.
std::array<uint8_t, 256> BuildCollationRank();

struct KeySortSpec
{
    int mode = kSortColumn;
    int keyClass = kKeyText;  // column sorts
    bool descending = false;  // column sorts
    bool reversed = false;    // the mode's reversed flag (length, ending, symbol)
};

// Asked now and then while an order is computed; true stops the sort.
using StopCheck = std::function<bool()>;
// Told how far the work has come (0..total) while an order is computed.
using ProgressCheck = std::function<void(uint64_t done, uint64_t total)>;

struct SortOutcome
{
    std::vector<uint32_t> order; // order[i] is the old index of the row that goes to place i
    bool stopped = false;
    std::size_t processed = 0;   // rows that took part in the order
};

// The order of the key sort. Equal keys keep their old order. A column key of an empty cell goes
// last in both directions. Stopped while keys are built, the rows keyed so far come sorted at the
// top and the rest follow in their old order; stopped while sorting, the order is unchanged.
SortOutcome KeySortOrder(const SortSnapshot& rows, const KeySortSpec& sortKey, const std::array<uint8_t, 256>& rank,
                         const StopCheck& stop = {}, const ProgressCheck& progress = {});

// The order of the comparison sort (CompareCells; equal rows keep their old order). Collation keys
// are prepared once per row when the comparison ends in the locale comparison. A stop leaves the
// order unchanged.
SortOutcome ComparisonSortOrder(const SortSnapshot& rows, const CompareParams& params,
                                const LocaleCollator& collator, const StopCheck& stop = {});

// Reorders `rows` by an order from above.
template <typename Row>
void ApplyOrder(std::vector<Row>& rows, const std::vector<uint32_t>& order)
{
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const uint32_t i : order)
        sorted.push_back(std::move(rows[i]));
    rows.swap(sorted);
}

} // namespace lt
