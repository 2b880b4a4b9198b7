// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <shared_mutex>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "list/packed_row.h"

namespace lt {

inline constexpr int kMaxColumns = 9;
inline constexpr std::size_t kMaxCellLength = 259;
inline constexpr std::size_t kMaxHeaderLength = 63;

// One row of the result list: up to nine byte-string cells (Windows-1252 or UTF-8 bytes as found),
// an icon index into the 18 standard row icons (or one added behind them) and a 32-bit parameter.
struct ResultRow
{
    std::vector<std::string> cells; // cells.size() <= kMaxColumns; missing cells are empty
    int icon = 1;
    uint32_t param = 0;
    bool selected = false;
    // Where an index-file record came from, in full width (the parameter packs it into 24 + 8 bits).
    uint64_t recordOffset = 0;
    uint32_t fileNumber = 0;

    const std::string& Cell(int column) const;
};

// Width class and sort class of a column.
enum ColumnType : int {
    kColText = 0,
    kColTitle = 1,
    kColPath = 2,
    kColUser = 3,
    kColHits = 4,
    kColDate = 5,
    kColOffset = 6,
    kColLine = 7,
    kColIp = 8,
    kColSize = 9,
    kColParsed = 10,
};

struct ColumnState
{
    std::string header; // at most 63 characters
    int type = kColText;
    int width = 240;      // pixels
    bool fitted = false;  // fitted to its contents; `savedWidth` holds the width before
    int savedWidth = 0;
    bool directionFlag = false;
};

// Auto-sort modes of a list.
enum class AutoSort { Off = 0, Ascending = 1, Descending = 2 };

// The engine's model of a list view: rows in list order plus the column set. Safe for one producer
// thread and any number of readers: every member locks; bulk work goes through Read/Modify.
// With auto-sort on, an inserted row is placed by a case-insensitive comparison of column 0
// (Windows-1252 case folding), after rows with an equal key.
class ResultList
{
public:
    ResultList();

    std::size_t RowCount() const;
    std::string GetCell(std::size_t row, int column) const;
    void SetCell(std::size_t row, int column, std::string text);
    int Icon(std::size_t row) const;
    void SetIcon(std::size_t row, int icon);
    uint32_t Param(std::size_t row) const;
    ResultRow Row(std::size_t row) const;

    // Inserts the row (cut to the column count and 259 bytes a cell) and returns its index.
    std::size_t InsertRow(ResultRow row);
    // Inserts the row unless a duplicate is there: the first row from the top whose column 0
    // equals the row's column 0 ignoring case refuses it; with `caseSensitive` only when it is
    // also equal exactly. Returns the index, or -1 when refused. Uses a hash index of column 0
    // that is built on first use and rebuilt after bulk changes, so no row search of the list.
    long InsertRowUnlessDuplicate(ResultRow row, bool caseSensitive);
    // The index of the first row from the top whose column 0 equals `text` ignoring case, or -1.
    long FindFirstNoCase(std::string_view text) const;
    void DeleteRow(std::size_t row);
    void DeleteRows(const std::vector<std::size_t>& rows); // any order; duplicates ignored
    void ClearRows();

    void SetAutoSort(AutoSort mode);
    AutoSort GetAutoSort() const;

    // Columns.
    int ColumnCount() const;
    ColumnState Column(int column) const;
    std::vector<ColumnState> Columns() const;
    void SetColumns(std::vector<ColumnState> columns); // cells beyond the new count are kept hidden
    void SetHeaderText(int column, std::string text);
    std::string GetHeaderText(int column) const;
    void SetColumnWidth(int column, int width);
    // The index of the first of the first six columns named "File", "Remote File", "Title" or
    // "Offset" (ignoring case), or -1.
    int FindColumn() const;

    // Selection and focus mirror the view's; the UI copies them in before an engine operation
    // that needs them and reads them back afterwards.
    std::vector<std::size_t> SelectedRows() const;
    void SetSelectedRows(const std::vector<std::size_t>& rows);
    void SetSelected(std::size_t row, bool on);
    long FocusedRow() const; // -1 for none
    void SetFocusedRow(long row);

    // Bulk access under the lock. `ForEachRow` visits the rows in list order; `Modify` hands the
    // rows over as one vector that the writer may reorder, edit or shorten (selection flags travel
    // with the rows). Neither may call back into the list.
    void ForEachRow(const std::function<void(std::size_t, const ResultRow&)>& visit) const;
    // Visits the rows from `first` on in list order while `visit` returns true.
    void ForEachRowFrom(std::size_t first, const std::function<bool(std::size_t, const ResultRow&)>& visit) const;
    void Modify(const std::function<void(std::vector<ResultRow>&)>& writer);
    // Visits one column's cell and the icon of every row in list order, without unpacking rows
    // (the sorts read one column of every row).
    void ForEachCell(int column, const std::function<void(std::size_t, std::string_view, int icon)>& visit) const;
    // Puts the rows in a new order: row i becomes the row that was at order[i]. Faster than Modify
    // for a sort, as no row is unpacked. False, with nothing changed, when the order does not
    // have one place for every row.
    bool Reorder(const std::vector<uint32_t>& order);

    // Raised on every change; the Qt model polls it to refresh at most ~20 times a second.
    uint64_t Revision() const { return m_revision.load(std::memory_order_acquire); }
    // Raised when the column set changes.
    uint64_t ColumnRevision() const { return m_columnRevision.load(std::memory_order_acquire); }

private:
    void Touch() { m_revision.fetch_add(1, std::memory_order_acq_rel); }

    // One row in list order: its id and where its column 0 text lives, so that the sorted
    // insertion compares keys without going through the row. The text pointer stays valid while
    // the row's packed block lives: moving a row moves the block's pointer, not the block; every
    // change of a row's cells refreshes it.
    // `words` hold the 16 folded key bytes at the chunk's prefix length, big-endian and padded
    // with zeros, so that most probes of a binary search decide on the entry alone; they are
    // valid while the chunk's words are.
    static constexpr std::size_t kWordCount = 3;
    static constexpr std::size_t kWordBytes = 8 * kWordCount;
    struct Words
    {
        std::array<uint64_t, kWordCount> w{};
        bool operator==(const Words&) const = default;
        bool operator<(const Words& o) const
        {
            for (std::size_t i = 0; i + 1 < kWordCount; ++i)
                if (w[i] != o.w[i])
                    return w[i] < o.w[i];
            return w[kWordCount - 1] < o.w[kWordCount - 1];
        }
    };
    struct Entry
    {
        Words words;
        const char* key = nullptr;
        uint32_t keyLength = 0;
        uint32_t id = 0;
        std::string_view Key() const { return {key, keyLength}; }
    };
    static constexpr std::size_t kChunkCapacity = 1024;
    // A chunk's entries, in a fixed buffer with room at both ends, so that an insertion or an
    // erasure moves the shorter side of the run.
    class EntryRun
    {
    public:
        EntryRun(); // empty, with all room behind
        ~EntryRun();
        EntryRun(const EntryRun&) = delete;
        EntryRun& operator=(const EntryRun&) = delete;

        Entry* begin() { return m_data + m_begin; }
        Entry* end() { return m_data + m_end; }
        const Entry* begin() const { return m_data + m_begin; }
        const Entry* end() const { return m_data + m_end; }
        std::size_t size() const { return m_end - m_begin; }
        bool empty() const { return m_end == m_begin; }
        Entry& operator[](std::size_t i) { return m_data[m_begin + i]; }
        const Entry& operator[](std::size_t i) const { return m_data[m_begin + i]; }
        const Entry& front() const { return m_data[m_begin]; }
        const Entry& back() const { return m_data[m_end - 1]; }

        void Insert(std::size_t at, const Entry& entry); // size() < kChunkCapacity
        void Erase(std::size_t at);
        template <typename Pred>
        void EraseIf(Pred remove)
        {
            std::size_t out = m_begin;
            for (std::size_t i = m_begin; i < m_end; ++i)
                if (!remove(m_data[i]))
                    m_data[out++] = m_data[i];
            m_end = out;
        }
        // Replaces the entries with [first, last) placed in the middle.
        void Assign(const Entry* first, const Entry* last);
        void Truncate(std::size_t count) { m_end = m_begin + count; }
        // Empties the run, to be filled by PushBack from `begin` on.
        void ClearAt(std::size_t begin) { m_begin = m_end = begin; }
        void PushBack(const Entry& entry) { m_data[m_end++] = entry; } // needs room behind
        // Moves the entries to the middle, with as much room in front as behind.
        void Recenter();

    private:
        Entry* m_data;
        std::size_t m_begin = 0, m_end = 0;
    };
    // A run of rows in list order; its address stays fixed so that every row knows its chunk.
    struct Chunk
    {
        EntryRun entries;
        std::size_t index = 0; // position in m_chunks
        // With `wordsReady`, every key of the chunk is at least `prefix` bytes long, all keys
        // agree on their first `prefix` folded bytes, and every entry's words hold its folded
        // bytes from `prefix` on, `wordBytes` of them, zeros after.
        uint32_t prefix = 0;
        uint32_t wordBytes = kWordBytes;
        bool wordsReady = false;
    };
    // A chunk's first key with its first 32 folded bytes as big-endian words (zeros past the
    // end), kept side by side for all chunks, so that the chunk search compares words in one
    // small array and reads a key only when the words tie.
    static constexpr std::size_t kHeadWords = 4;
    using HeadWords = std::array<uint64_t, kHeadWords>;
    struct ChunkHead
    {
        HeadWords words{};
        const char* data = nullptr;
        uint32_t size = 0;
        std::string_view View() const { return {data, size}; }
    };
    // Open-addressing table: folded column 0 -> the id of its first row in list order.
    struct DupEntry
    {
        uint64_t hash = 0;
        uint32_t id = kNoId;
    };
    static constexpr uint32_t kNoId = 0xFFFFFFFFu;

    Entry EntryOf(uint32_t id) const;
    static Words WordsOf(std::string_view key, std::size_t at, std::size_t count = kWordBytes);
    static HeadWords HeadWordsOf(std::string_view key);
    static ChunkHead HeadOf(const Entry& first);
    // The folded order of `key` (with its head words) against a chunk's first key.
    int CompareHead(std::string_view key, const HeadWords& words, const ChunkHead& head) const;
    std::size_t LocateLocked(std::size_t row, std::size_t& offset) const;
    const PackedRow& RowLocked(std::size_t row) const;
    PackedRow& RowLocked(std::size_t row);
    std::size_t InsertLocked(ResultRow&& row, uint64_t keyHash);
    PackedRow PackLocked(const ResultRow& row) { return PackedRow::Pack(row, m_pooled, m_pool); }
    void NotePooledColumnsLocked();
    std::size_t SortedPlaceLocked(std::string_view key, std::size_t& offset, Words& words);
    std::size_t ChunkForKeyLocked(std::string_view key, const HeadWords& words) const;
    void PrepareWordsLocked(Chunk& chunk);
    void ShortenPrefixLocked(Chunk& chunk, std::size_t prefix);
    void NarrowPrefixLocked(Chunk& chunk);
    void AddChunkLocked(std::size_t at);
    std::size_t PositionOfIdLocked(uint32_t id) const;
    void SplitChunkLocked(std::size_t chunk);
    void RemoveIdsLocked(const std::vector<uint32_t>& ids);
    void RebuildFromRowsLocked(std::vector<ResultRow>&& rows);
    // The chunks for the rows of `ids`, in that order.
    void RebuildChunksLocked(const std::vector<uint32_t>& ids);
    void RenumberChunksLocked(std::size_t from);
    void RebuildHeadsLocked();
    void PrepareRow(ResultRow& row) const;
    // Duplicate index.
    void RebuildDupIndexLocked();
    long DupFindLocked(uint64_t hash, std::string_view text) const; // the id, or -1
    void DupSetLocked(uint64_t hash, uint32_t id);
    void DupNoteInsertLocked(uint32_t id, std::size_t position, uint64_t hash);
    void DupNoteRemoveLocked(uint32_t id);

    mutable std::shared_mutex m_mutex;
    // Rows live under fixed ids, packed; the list order is held in chunks of entries, so that a
    // sorted insertion into a list of a million rows moves a few kilobytes at most. A free id has
    // an empty row and no chunk. File paths are kept once in the pool.
    std::vector<PackedRow> m_rows;
    CellPool m_pool;
    PooledColumns m_pooled{};
    std::vector<Chunk*> m_rowChunk;
    std::vector<uint32_t> m_freeSlots;
    std::vector<std::unique_ptr<Chunk>> m_chunks;
    std::vector<std::size_t> m_chunkStart; // index of each chunk's first row
    std::vector<ChunkHead> m_chunkFirst;
    std::size_t m_rowCount = 0;
    std::vector<DupEntry> m_dupTable;
    std::size_t m_dupUsed = 0;
    bool m_dupValid = false;
    std::vector<ColumnState> m_columns;
    AutoSort m_autoSort = AutoSort::Ascending;
    long m_focused = -1;
    std::atomic<uint64_t> m_revision{0};
    std::atomic<uint64_t> m_columnRevision{0};
};

} // namespace lt
