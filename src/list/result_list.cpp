// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/result_list.h"

#include <algorithm>

#include "core/cp1252.h"

namespace lt {

namespace {

// Chunks are split when they reach this size; a full chunk is 16 KiB of entries.
constexpr std::size_t kMaxChunk = 1024;

const std::string kEmpty;

uint64_t FoldedHash(std::string_view text)
{
    uint64_t h = 1469598103934665603ull; // FNV-1a over the folded bytes
    for (const char c : text) {
        h ^= Cp1252Lower(static_cast<uint8_t>(c));
        h *= 1099511628211ull;
    }
    h ^= h >> 29; // spread the low bits used by the table index
    h *= 0xbf58476d1ce4e5b9ull;
    h ^= h >> 32;
    return h;
}

// The strict order of auto-sort: ascending or descending by the folded column 0.
bool Before(AutoSort mode, std::string_view a, std::string_view b)
{
    const int c = Cp1252CompareNoCase(a, b);
    return mode == AutoSort::Descending ? c > 0 : c < 0;
}

} // namespace

const std::string& ResultRow::Cell(int column) const
{
    if (column < 0 || static_cast<std::size_t>(column) >= cells.size())
        return kEmpty;
    return cells[static_cast<std::size_t>(column)];
}

ResultList::ResultList()
{
    // A new view has the three columns of a URL search with empty headers until a kind is applied.
    m_columns = {ColumnState{"", kColText, 364}, ColumnState{"", kColTitle, 144}, ColumnState{"", kColPath, 360}};
}

// ---- locating rows -------------------------------------------------------------------------

std::size_t ResultList::LocateLocked(std::size_t row, std::size_t& offset) const
{
    const auto it = std::upper_bound(m_chunkStart.begin(), m_chunkStart.end(), row);
    const auto chunk = static_cast<std::size_t>(it - m_chunkStart.begin()) - 1;
    offset = row - m_chunkStart[chunk];
    return chunk;
}

ResultList::Entry ResultList::EntryOf(uint32_t id) const
{
    const std::string& key = m_slots[id].row.cells[0];
    return Entry{key.data(), static_cast<uint32_t>(key.size()), id};
}

const ResultRow& ResultList::RowLocked(std::size_t row) const
{
    std::size_t offset = 0;
    const std::size_t chunk = LocateLocked(row, offset);
    return m_slots[m_chunks[chunk]->entries[offset].id].row;
}

ResultRow& ResultList::RowLocked(std::size_t row)
{
    std::size_t offset = 0;
    const std::size_t chunk = LocateLocked(row, offset);
    return m_slots[m_chunks[chunk]->entries[offset].id].row;
}

std::size_t ResultList::PositionOfIdLocked(uint32_t id) const
{
    const Chunk* chunk = m_slots[id].chunk;
    const auto it = std::find_if(chunk->entries.begin(), chunk->entries.end(),
                                 [id](const Entry& e) { return e.id == id; });
    return m_chunkStart[chunk->index] + static_cast<std::size_t>(it - chunk->entries.begin());
}

void ResultList::RenumberChunksLocked(std::size_t from)
{
    m_chunkStart.resize(m_chunks.size());
    m_chunkFirst.resize(m_chunks.size());
    std::size_t start = from == 0 ? 0 : m_chunkStart[from - 1] + m_chunks[from - 1]->entries.size();
    for (std::size_t c = from; c < m_chunks.size(); ++c) {
        m_chunks[c]->index = c;
        m_chunkStart[c] = start;
        m_chunkFirst[c] = m_chunks[c]->entries.empty() ? Entry{} : m_chunks[c]->entries.front();
        start += m_chunks[c]->entries.size();
    }
}

void ResultList::SplitChunkLocked(std::size_t chunk)
{
    Chunk& old = *m_chunks[chunk];
    auto fresh = std::make_unique<Chunk>();
    const std::size_t half = old.entries.size() / 2;
    fresh->entries.reserve(kMaxChunk);
    fresh->entries.assign(old.entries.begin() + static_cast<std::ptrdiff_t>(half), old.entries.end());
    old.entries.resize(half);
    for (const Entry& e : fresh->entries)
        m_slots[e.id].chunk = fresh.get();
    m_chunks.insert(m_chunks.begin() + static_cast<std::ptrdiff_t>(chunk) + 1, std::move(fresh));
    RenumberChunksLocked(chunk);
}

// ---- reading ---------------------------------------------------------------------------------

std::size_t ResultList::RowCount() const
{
    std::shared_lock lock(m_mutex);
    return m_rowCount;
}

std::string ResultList::GetCell(std::size_t row, int column) const
{
    std::shared_lock lock(m_mutex);
    if (row >= m_rowCount)
        return {};
    return RowLocked(row).Cell(column);
}

int ResultList::Icon(std::size_t row) const
{
    std::shared_lock lock(m_mutex);
    return row < m_rowCount ? RowLocked(row).icon : 0;
}

uint32_t ResultList::Param(std::size_t row) const
{
    std::shared_lock lock(m_mutex);
    return row < m_rowCount ? RowLocked(row).param : 0;
}

ResultRow ResultList::Row(std::size_t row) const
{
    std::shared_lock lock(m_mutex);
    return row < m_rowCount ? RowLocked(row) : ResultRow{};
}

void ResultList::ForEachRow(const std::function<void(std::size_t, const ResultRow&)>& visit) const
{
    std::shared_lock lock(m_mutex);
    std::size_t index = 0;
    for (const auto& chunk : m_chunks)
        for (const Entry& e : chunk->entries)
            visit(index++, m_slots[e.id].row);
}

void ResultList::ForEachRowFrom(std::size_t first, const std::function<bool(std::size_t, const ResultRow&)>& visit) const
{
    std::shared_lock lock(m_mutex);
    if (first >= m_rowCount)
        return;
    std::size_t offset = 0;
    std::size_t index = first;
    for (std::size_t chunk = LocateLocked(first, offset); chunk < m_chunks.size(); ++chunk, offset = 0) {
        const auto& entries = m_chunks[chunk]->entries;
        for (; offset < entries.size(); ++offset)
            if (!visit(index++, m_slots[entries[offset].id].row))
                return;
    }
}

// ---- changing cells --------------------------------------------------------------------------

void ResultList::SetCell(std::size_t row, int column, std::string text)
{
    if (column < 0 || column >= kMaxColumns)
        return;
    {
        std::unique_lock lock(m_mutex);
        if (row >= m_rowCount)
            return;
        std::size_t offset = 0;
        const std::size_t chunk = LocateLocked(row, offset);
        Entry& entry = m_chunks[chunk]->entries[offset];
        const uint32_t id = entry.id;
        Slot& slot = m_slots[id];
        if (text.size() > kMaxCellLength)
            text.resize(kMaxCellLength);
        if (slot.row.cells.size() <= static_cast<std::size_t>(column))
            slot.row.cells.resize(static_cast<std::size_t>(column) + 1);
        if (column == 0) {
            // The row may have been the first of its key, and may now be the first of another.
            DupNoteRemoveLocked(id);
            slot.row.cells[0] = std::move(text);
            slot.keyHash = FoldedHash(slot.row.cells[0]);
            m_dupValid = false;
        } else {
            slot.row.cells[static_cast<std::size_t>(column)] = std::move(text);
        }
        entry = EntryOf(id); // the cell vector may have moved its strings
        if (offset == 0)
            m_chunkFirst[chunk] = entry;
    }
    Touch();
}

void ResultList::SetIcon(std::size_t row, int icon)
{
    {
        std::unique_lock lock(m_mutex);
        if (row >= m_rowCount)
            return;
        RowLocked(row).icon = icon;
    }
    Touch();
}

// ---- inserting -------------------------------------------------------------------------------

void ResultList::PrepareRow(ResultRow& row) const
{
    const std::size_t columns = std::max<std::size_t>(1, m_columns.size());
    if (row.cells.size() > columns)
        row.cells.resize(columns);
    if (row.cells.empty())
        row.cells.resize(1);
    for (auto& cell : row.cells)
        if (cell.size() > kMaxCellLength)
            cell.resize(kMaxCellLength);
}

std::size_t ResultList::InsertLocked(ResultRow&& row, uint64_t keyHash)
{
    // The position: the end, or after the rows that do not sort behind the new one (a binary
    // search, as the view's own auto-sort does; an unsorted list gets a plausible place).
    std::size_t chunk = 0;
    std::size_t offset = 0;
    if (m_chunks.empty()) {
        m_chunks.push_back(std::make_unique<Chunk>());
        m_chunks.back()->entries.reserve(kMaxChunk);
        RenumberChunksLocked(0);
    } else if (m_autoSort == AutoSort::Off) {
        chunk = m_chunks.size() - 1;
        offset = m_chunks[chunk]->entries.size();
    } else {
        const std::string_view key = row.Cell(0);
        // The last chunk whose first row does not sort behind the key.
        std::size_t lo = 0, hi = m_chunks.size();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (Before(m_autoSort, key, m_chunkFirst[mid].Key()))
                hi = mid;
            else
                lo = mid + 1;
        }
        chunk = lo == 0 ? 0 : lo - 1;
        const auto& entries = m_chunks[chunk]->entries;
        const auto it = std::upper_bound(entries.begin(), entries.end(), key,
                                         [&](std::string_view k, const Entry& e) { return Before(m_autoSort, k, e.Key()); });
        offset = static_cast<std::size_t>(it - entries.begin());
    }

    if (m_chunks[chunk]->entries.size() >= kMaxChunk) {
        if (chunk + 1 == m_chunks.size() && offset == m_chunks[chunk]->entries.size()) {
            // Appending at the very end starts a new chunk, so appended lists stay dense.
            m_chunks.push_back(std::make_unique<Chunk>());
            m_chunks.back()->entries.reserve(kMaxChunk);
            RenumberChunksLocked(chunk);
            ++chunk;
            offset = 0;
        } else {
            SplitChunkLocked(chunk);
            const std::size_t half = m_chunks[chunk]->entries.size();
            if (offset > half) {
                ++chunk;
                offset -= half;
            }
        }
    }

    uint32_t id;
    if (!m_freeSlots.empty()) {
        id = m_freeSlots.back();
        m_freeSlots.pop_back();
    } else {
        id = static_cast<uint32_t>(m_slots.size());
        m_slots.emplace_back();
    }
    Slot& slot = m_slots[id];
    slot.row = std::move(row);
    slot.chunk = m_chunks[chunk].get();
    slot.keyHash = keyHash;
    auto& entries = m_chunks[chunk]->entries;
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(offset), EntryOf(id));
    if (offset == 0)
        m_chunkFirst[chunk] = entries.front();
    for (std::size_t c = chunk + 1; c < m_chunkStart.size(); ++c)
        ++m_chunkStart[c];
    ++m_rowCount;

    const std::size_t position = m_chunkStart[chunk] + offset;
    if (m_focused >= 0 && static_cast<std::size_t>(m_focused) >= position)
        ++m_focused;
    if (m_dupValid)
        DupNoteInsertLocked(id, position);
    return position;
}

std::size_t ResultList::InsertRow(ResultRow row)
{
    std::size_t position;
    {
        std::unique_lock lock(m_mutex);
        PrepareRow(row);
        const uint64_t hash = FoldedHash(row.cells[0]);
        position = InsertLocked(std::move(row), hash);
    }
    Touch();
    return position;
}

long ResultList::InsertRowUnlessDuplicate(ResultRow row, bool caseSensitive)
{
    std::size_t position;
    {
        std::unique_lock lock(m_mutex);
        PrepareRow(row);
        if (!m_dupValid)
            RebuildDupIndexLocked();
        const uint64_t hash = FoldedHash(row.cells[0]);
        const long first = DupFindLocked(hash, row.cells[0]);
        if (first >= 0) {
            if (!caseSensitive)
                return -1;
            if (m_slots[static_cast<std::size_t>(first)].row.cells[0] == row.cells[0])
                return -1;
        }
        position = InsertLocked(std::move(row), hash);
    }
    Touch();
    return static_cast<long>(position);
}

long ResultList::FindFirstNoCase(std::string_view text) const
{
    std::shared_lock lock(m_mutex);
    if (m_dupValid) {
        const long id = DupFindLocked(FoldedHash(text), text);
        return id < 0 ? -1 : static_cast<long>(PositionOfIdLocked(static_cast<uint32_t>(id)));
    }
    long index = 0;
    for (const auto& chunk : m_chunks)
        for (const Entry& e : chunk->entries) {
            if (Cp1252EqualsNoCase(e.Key(), text))
                return index;
            ++index;
        }
    return -1;
}

// ---- deleting --------------------------------------------------------------------------------

void ResultList::DeleteRow(std::size_t row)
{
    {
        std::unique_lock lock(m_mutex);
        if (row >= m_rowCount)
            return;
        std::size_t offset = 0;
        const std::size_t chunk = LocateLocked(row, offset);
        auto& entries = m_chunks[chunk]->entries;
        const uint32_t id = entries[offset].id;
        DupNoteRemoveLocked(id);
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(offset));
        if (entries.empty()) {
            m_chunks.erase(m_chunks.begin() + static_cast<std::ptrdiff_t>(chunk));
            RenumberChunksLocked(chunk);
        } else {
            for (std::size_t c = chunk + 1; c < m_chunkStart.size(); ++c)
                --m_chunkStart[c];
            if (offset == 0)
                m_chunkFirst[chunk] = entries.front();
        }
        m_slots[id] = Slot{};
        m_freeSlots.push_back(id);
        --m_rowCount;
        if (m_focused == static_cast<long>(row))
            m_focused = -1;
        else if (m_focused > static_cast<long>(row))
            --m_focused;
    }
    Touch();
}

void ResultList::DeleteRows(const std::vector<std::size_t>& rows)
{
    {
        std::unique_lock lock(m_mutex);
        std::vector<std::size_t> sorted(rows);
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        while (!sorted.empty() && sorted.back() >= m_rowCount)
            sorted.pop_back();
        if (sorted.empty())
            return;
        std::vector<uint32_t> ids;
        ids.reserve(sorted.size());
        for (const std::size_t row : sorted) {
            std::size_t offset = 0;
            const std::size_t chunk = LocateLocked(row, offset);
            ids.push_back(m_chunks[chunk]->entries[offset].id);
        }
        if (m_focused >= 0) {
            const auto focus = static_cast<std::size_t>(m_focused);
            if (std::binary_search(sorted.begin(), sorted.end(), focus))
                m_focused = -1;
            else
                m_focused -= static_cast<long>(std::lower_bound(sorted.begin(), sorted.end(), focus) - sorted.begin());
        }
        RemoveIdsLocked(ids);
    }
    Touch();
}

void ResultList::RemoveIdsLocked(const std::vector<uint32_t>& ids)
{
    for (const uint32_t id : ids) {
        DupNoteRemoveLocked(id);
        m_slots[id].chunk = nullptr;
    }
    std::size_t out = 0;
    for (auto& chunk : m_chunks) {
        auto& v = chunk->entries;
        v.erase(std::remove_if(v.begin(), v.end(), [&](const Entry& e) { return m_slots[e.id].chunk == nullptr; }),
                v.end());
        if (!v.empty())
            m_chunks[out++] = std::move(chunk);
    }
    m_chunks.resize(out);
    for (const uint32_t id : ids) {
        m_slots[id] = Slot{};
        m_freeSlots.push_back(id);
    }
    m_rowCount -= ids.size();
    RenumberChunksLocked(0);
}

void ResultList::ClearRows()
{
    {
        std::unique_lock lock(m_mutex);
        m_slots.clear();
        m_slots.shrink_to_fit();
        m_freeSlots.clear();
        m_chunks.clear();
        m_chunkStart.clear();
        m_chunkFirst.clear();
        m_rowCount = 0;
        m_dupTable.clear();
        m_dupUsed = 0;
        m_dupValid = false;
        m_focused = -1;
    }
    Touch();
}

// ---- bulk changes ----------------------------------------------------------------------------

void ResultList::RebuildFromRowsLocked(std::vector<ResultRow>&& rows)
{
    m_slots.clear();
    m_freeSlots.clear();
    m_chunks.clear();
    m_slots.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i % (kMaxChunk / 2) == 0) {
            m_chunks.push_back(std::make_unique<Chunk>());
            m_chunks.back()->entries.reserve(kMaxChunk);
        }
        Slot& slot = m_slots[i];
        slot.row = std::move(rows[i]);
        if (slot.row.cells.empty())
            slot.row.cells.resize(1);
        slot.keyHash = FoldedHash(slot.row.cells[0]);
        slot.chunk = m_chunks.back().get();
        slot.chunk->entries.push_back(EntryOf(static_cast<uint32_t>(i)));
    }
    m_rowCount = rows.size();
    RenumberChunksLocked(0);
    // Rows may have moved or changed: the duplicate index is rebuilt when next needed.
    m_dupValid = false;
    m_dupTable.clear();
    m_dupUsed = 0;
    if (m_focused >= static_cast<long>(m_rowCount))
        m_focused = -1;
}

void ResultList::Modify(const std::function<void(std::vector<ResultRow>&)>& writer)
{
    {
        std::unique_lock lock(m_mutex);
        std::vector<ResultRow> rows;
        rows.reserve(m_rowCount);
        for (const auto& chunk : m_chunks)
            for (const Entry& e : chunk->entries)
                rows.push_back(std::move(m_slots[e.id].row));
        writer(rows);
        for (auto& row : rows)
            for (auto& cell : row.cells)
                if (cell.size() > kMaxCellLength)
                    cell.resize(kMaxCellLength);
        RebuildFromRowsLocked(std::move(rows));
    }
    Touch();
}

// ---- duplicate index -------------------------------------------------------------------------

void ResultList::RebuildDupIndexLocked()
{
    std::size_t capacity = 1024;
    while (capacity < m_rowCount * 2)
        capacity *= 2;
    m_dupTable.assign(capacity, DupEntry{});
    m_dupUsed = 0;
    m_dupValid = true;
    for (const auto& chunk : m_chunks)
        for (const Entry& e : chunk->entries) {
            const uint32_t id = e.id;
            const Slot& slot = m_slots[id];
            if (DupFindLocked(slot.keyHash, slot.row.cells[0]) < 0)
                DupSetLocked(slot.keyHash, id);
        }
}

long ResultList::DupFindLocked(uint64_t hash, std::string_view text) const
{
    if (m_dupTable.empty())
        return -1;
    const std::size_t mask = m_dupTable.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const DupEntry& e = m_dupTable[i];
        if (e.id == kNoId)
            return -1;
        if (e.hash == hash && Cp1252EqualsNoCase(m_slots[e.id].row.cells[0], text))
            return static_cast<long>(e.id);
    }
}

void ResultList::DupSetLocked(uint64_t hash, uint32_t id)
{
    if ((m_dupUsed + 1) * 2 > m_dupTable.size()) {
        std::vector<DupEntry> old;
        old.swap(m_dupTable);
        m_dupTable.assign(std::max<std::size_t>(1024, old.size() * 2), DupEntry{});
        const std::size_t mask = m_dupTable.size() - 1;
        for (const DupEntry& e : old) {
            if (e.id == kNoId)
                continue;
            std::size_t i = e.hash & mask;
            while (m_dupTable[i].id != kNoId)
                i = (i + 1) & mask;
            m_dupTable[i] = e;
        }
    }
    const std::size_t mask = m_dupTable.size() - 1;
    const std::string_view text = m_slots[id].row.cells[0];
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        DupEntry& e = m_dupTable[i];
        if (e.id == kNoId) {
            e = DupEntry{hash, id};
            ++m_dupUsed;
            return;
        }
        if (e.hash == hash && Cp1252EqualsNoCase(m_slots[e.id].row.cells[0], text)) {
            e.id = id;
            return;
        }
    }
}

void ResultList::DupNoteInsertLocked(uint32_t id, std::size_t position)
{
    const Slot& slot = m_slots[id];
    const long first = DupFindLocked(slot.keyHash, slot.row.cells[0]);
    if (first < 0) {
        DupSetLocked(slot.keyHash, id);
        return;
    }
    // An equal key is already there; the new row takes over only when it landed above it.
    const auto firstId = static_cast<uint32_t>(first);
    const Chunk* a = slot.chunk;
    const Chunk* b = m_slots[firstId].chunk;
    const bool above = a != b ? a->index < b->index : position < PositionOfIdLocked(firstId);
    if (above)
        DupSetLocked(slot.keyHash, id);
}

void ResultList::DupNoteRemoveLocked(uint32_t id)
{
    if (!m_dupValid)
        return;
    const Slot& slot = m_slots[id];
    // Removing the first row of a key leaves an unknown successor: rebuild when next needed.
    if (DupFindLocked(slot.keyHash, slot.row.cells[0]) == static_cast<long>(id)) {
        m_dupValid = false;
        m_dupTable.clear();
        m_dupUsed = 0;
    }
}

// ---- auto-sort, columns, selection -----------------------------------------------------------

void ResultList::SetAutoSort(AutoSort mode)
{
    std::unique_lock lock(m_mutex);
    m_autoSort = mode;
}

AutoSort ResultList::GetAutoSort() const
{
    std::shared_lock lock(m_mutex);
    return m_autoSort;
}

int ResultList::ColumnCount() const
{
    std::shared_lock lock(m_mutex);
    return static_cast<int>(m_columns.size());
}

ColumnState ResultList::Column(int column) const
{
    std::shared_lock lock(m_mutex);
    if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size())
        return {};
    return m_columns[static_cast<std::size_t>(column)];
}

std::vector<ColumnState> ResultList::Columns() const
{
    std::shared_lock lock(m_mutex);
    return m_columns;
}

void ResultList::SetColumns(std::vector<ColumnState> columns)
{
    {
        std::unique_lock lock(m_mutex);
        if (columns.size() > static_cast<std::size_t>(kMaxColumns))
            columns.resize(kMaxColumns);
        for (auto& c : columns)
            if (c.header.size() > kMaxHeaderLength)
                c.header.resize(kMaxHeaderLength);
        m_columns = std::move(columns);
    }
    m_columnRevision.fetch_add(1, std::memory_order_acq_rel);
    Touch();
}

void ResultList::SetHeaderText(int column, std::string text)
{
    {
        std::unique_lock lock(m_mutex);
        if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size())
            return;
        if (text.size() > kMaxHeaderLength)
            text.resize(kMaxHeaderLength);
        m_columns[static_cast<std::size_t>(column)].header = std::move(text);
    }
    m_columnRevision.fetch_add(1, std::memory_order_acq_rel);
}

std::string ResultList::GetHeaderText(int column) const
{
    std::shared_lock lock(m_mutex);
    if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size())
        return {};
    return m_columns[static_cast<std::size_t>(column)].header;
}

void ResultList::SetColumnWidth(int column, int width)
{
    {
        std::unique_lock lock(m_mutex);
        if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size())
            return;
        m_columns[static_cast<std::size_t>(column)].width = width;
    }
    m_columnRevision.fetch_add(1, std::memory_order_acq_rel);
}

int ResultList::FindColumn() const
{
    std::shared_lock lock(m_mutex);
    const std::size_t n = std::min<std::size_t>(6, m_columns.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::string& h = m_columns[i].header;
        if (Cp1252EqualsNoCase(h, "File") || Cp1252EqualsNoCase(h, "Remote File") ||
            Cp1252EqualsNoCase(h, "Title") || Cp1252EqualsNoCase(h, "Offset"))
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::size_t> ResultList::SelectedRows() const
{
    std::shared_lock lock(m_mutex);
    std::vector<std::size_t> rows;
    std::size_t index = 0;
    for (const auto& chunk : m_chunks)
        for (const Entry& e : chunk->entries) {
            if (m_slots[e.id].row.selected)
                rows.push_back(index);
            ++index;
        }
    return rows;
}

void ResultList::SetSelectedRows(const std::vector<std::size_t>& rows)
{
    {
        std::unique_lock lock(m_mutex);
        for (auto& slot : m_slots)
            slot.row.selected = false;
        for (const std::size_t row : rows)
            if (row < m_rowCount)
                RowLocked(row).selected = true;
    }
    Touch();
}

void ResultList::SetSelected(std::size_t row, bool on)
{
    {
        std::unique_lock lock(m_mutex);
        if (row >= m_rowCount)
            return;
        RowLocked(row).selected = on;
    }
    Touch();
}

long ResultList::FocusedRow() const
{
    std::shared_lock lock(m_mutex);
    return m_focused;
}

void ResultList::SetFocusedRow(long row)
{
    std::unique_lock lock(m_mutex);
    m_focused = row >= 0 && static_cast<std::size_t>(row) < m_rowCount ? row : -1;
}

} // namespace lt
