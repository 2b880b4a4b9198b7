// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/result_list.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/cp1252.h"

namespace lt {

namespace {

// Chunks are split when they reach this size.

const std::string kEmpty;

constexpr std::array<uint8_t, 256> kFold = [] {
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[static_cast<std::size_t>(c)] = Cp1252Lower(static_cast<uint8_t>(c));
    return t;
}();

uint8_t Fold(char c) { return kFold[static_cast<uint8_t>(c)]; }

uint64_t Load8(const char* p)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The length of the common start of the folded texts, at most `limit`. Equal bytes fold equal,
// so the texts are scanned eight bytes at a time and folded only where they differ.
std::size_t FoldedCommonLength(std::string_view a, std::string_view b, std::size_t limit)
{
    const std::size_t n = std::min({a.size(), b.size(), limit});
    std::size_t i = 0;
    while (i < n) {
        if (std::endian::native == std::endian::little && i + 8 <= n) {
            const uint64_t diff = Load8(a.data() + i) ^ Load8(b.data() + i);
            if (diff == 0) {
                i += 8;
                continue;
            }
            i += static_cast<std::size_t>(std::countr_zero(diff)) / 8;
        } else if (a[i] == b[i]) {
            ++i;
            continue;
        }
        if (Fold(a[i]) != Fold(b[i]))
            return i;
        ++i;
    }
    return n;
}

// Cp1252CompareNoCase, faster on long common starts.
int FoldedCompare(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    const std::size_t i = FoldedCommonLength(a, b, n);
    if (i < n)
        return Fold(a[i]) < Fold(b[i]) ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The folded bytes at `at`..`at`+8 as a big-endian number, zeros past the end: words that differ
// order their texts as the folded bytes do.
uint64_t FoldedWord(std::string_view text, std::size_t at)
{
    uint64_t w = 0;
    for (std::size_t k = 0; k < 8; ++k) {
        w <<= 8;
        if (at + k < text.size())
            w |= Fold(text[at + k]);
    }
    return w;
}

uint64_t FoldedHash(std::string_view text)
{
    constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
    uint64_t h = 0x243F6A8885A308D3ull ^ (text.size() * kMul);
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t w = 0;
        for (std::size_t k = 0; k < 8; ++k)
            w |= static_cast<uint64_t>(Fold(text[i + k])) << (8 * k);
        h = (h ^ w) * kMul;
        h ^= h >> 29;
    }
    uint64_t w = 0;
    for (std::size_t k = 0; i < text.size(); ++i, ++k)
        w |= static_cast<uint64_t>(Fold(text[i])) << (8 * k);
    h = (h ^ w) * kMul;
    h ^= h >> 32; // spread the high bits into the low bits used by the table index
    h *= 0xbf58476d1ce4e5b9ull;
    h ^= h >> 31;
    return h;
}

// Room for one more element, growing geometrically (a plain reserve of size + 1 would copy the
// whole vector on every insertion).
template <typename T>
void ReserveOneMore(std::vector<T>& v)
{
    if (v.size() == v.capacity())
        v.reserve(std::max<std::size_t>(16, v.capacity() * 2));
}

// Adds `delta` (wrapping) to the starts of the chunks from `from` on; a plain loop over raw data
// so that the compiler vectorises it.
void ShiftChunkStarts(std::vector<std::size_t>& starts, std::size_t from, std::size_t delta)
{
    std::size_t* const data = starts.data();
    const std::size_t n = starts.size();
    for (std::size_t c = from; c < n; ++c)
        data[c] += delta;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && FoldedCommonLength(a, b, a.size()) == a.size();
}

// The strict order of auto-sort: ascending or descending by the folded column 0.
bool Before(AutoSort mode, std::string_view a, std::string_view b)
{
    const int c = FoldedCompare(a, b);
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
    NotePooledColumnsLocked();
}

void ResultList::NotePooledColumnsLocked()
{
    // Path columns repeat one text for many rows; column 0 is the key and stays in the row.
    m_pooled.fill(false);
    for (std::size_t c = 1; c < m_columns.size() && c < m_pooled.size(); ++c)
        m_pooled[c] = m_columns[c].type == kColPath;
}

// ---- chunk entries -------------------------------------------------------------------------

ResultList::EntryRun::EntryRun()
    : m_data(static_cast<Entry*>(::operator new(kChunkCapacity * sizeof(Entry))))
{
    static_assert(std::is_trivially_copyable_v<Entry> && sizeof(Entry) == kWordBytes + 16);
}

ResultList::EntryRun::~EntryRun() { ::operator delete(m_data); }

void ResultList::EntryRun::Recenter()
{
    const std::size_t n = size();
    const std::size_t begin = (kChunkCapacity - n) / 2;
    std::memmove(static_cast<void*>(m_data + begin), m_data + m_begin, n * sizeof(Entry));
    m_begin = begin;
    m_end = begin + n;
}

void ResultList::EntryRun::Insert(std::size_t at, const Entry& entry)
{
    const std::size_t n = size();
    bool front = at < n - at;
    if (front ? m_begin == 0 : m_end == kChunkCapacity) {
        // Room only on the other side: spread it over both ends, each move halving what is left.
        Recenter();
        front = front ? m_begin > 0 : m_end == kChunkCapacity;
    }
    if (front) {
        std::memmove(static_cast<void*>(m_data + m_begin - 1), m_data + m_begin, at * sizeof(Entry));
        --m_begin;
    } else {
        std::memmove(static_cast<void*>(m_data + m_begin + at + 1), m_data + m_begin + at, (n - at) * sizeof(Entry));
        ++m_end;
    }
    m_data[m_begin + at] = entry;
}

void ResultList::EntryRun::Erase(std::size_t at)
{
    const std::size_t n = size();
    if (at < n - at - 1) {
        std::memmove(static_cast<void*>(m_data + m_begin + 1), m_data + m_begin, at * sizeof(Entry));
        ++m_begin;
    } else {
        std::memmove(static_cast<void*>(m_data + m_begin + at), m_data + m_begin + at + 1, (n - at - 1) * sizeof(Entry));
        --m_end;
    }
}

void ResultList::EntryRun::Assign(const Entry* first, const Entry* last)
{
    const auto n = static_cast<std::size_t>(last - first);
    m_begin = (kChunkCapacity - n) / 2;
    m_end = m_begin + n;
    std::memmove(static_cast<void*>(m_data + m_begin), first, n * sizeof(Entry));
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
    const std::string_view key = m_rows[id].Key();
    return Entry{Words{}, key.data(), static_cast<uint32_t>(key.size()), id};
}

ResultList::Words ResultList::WordsOf(std::string_view key, std::size_t at, std::size_t count)
{
    Words words;
    for (std::size_t i = 0; i < kWordCount; ++i)
        words.w[i] = FoldedWord(key.substr(0, std::min(key.size(), at + count)), at + 8 * i);
    return words;
}

ResultList::HeadWords ResultList::HeadWordsOf(std::string_view key)
{
    std::array<uint8_t, kHeadWords * 8> bytes{};
    const std::size_t n = std::min(bytes.size(), key.size());
    for (std::size_t k = 0; k < n; ++k)
        bytes[k] = Fold(key[k]);
    HeadWords words{};
    for (std::size_t w = 0; w < kHeadWords; ++w)
        for (std::size_t k = 0; k < 8; ++k)
            words[w] = (words[w] << 8) | bytes[8 * w + k];
    return words;
}

ResultList::ChunkHead ResultList::HeadOf(const Entry& first)
{
    return ChunkHead{HeadWordsOf(first.Key()), first.key, first.keyLength};
}

int ResultList::CompareHead(std::string_view key, const HeadWords& words, const ChunkHead& head) const
{
    for (std::size_t w = 0; w < kHeadWords; ++w)
        if (words[w] != head.words[w])
            return words[w] < head.words[w] ? -1 : 1;
    return FoldedCompare(key, head.View());
}

const PackedRow& ResultList::RowLocked(std::size_t row) const
{
    std::size_t offset = 0;
    const std::size_t chunk = LocateLocked(row, offset);
    return m_rows[m_chunks[chunk]->entries[offset].id];
}

PackedRow& ResultList::RowLocked(std::size_t row)
{
    std::size_t offset = 0;
    const std::size_t chunk = LocateLocked(row, offset);
    return m_rows[m_chunks[chunk]->entries[offset].id];
}

std::size_t ResultList::PositionOfIdLocked(uint32_t id) const
{
    const Chunk* chunk = m_rowChunk[id];
    const auto it = std::find_if(chunk->entries.begin(), chunk->entries.end(),
                                 [id](const Entry& e) { return e.id == id; });
    return m_chunkStart[chunk->index] + static_cast<std::size_t>(it - chunk->entries.begin());
}

void ResultList::RenumberChunksLocked(std::size_t from)
{
    m_chunkStart.resize(m_chunks.size());
    std::size_t start = from == 0 ? 0 : m_chunkStart[from - 1] + m_chunks[from - 1]->entries.size();
    for (std::size_t c = from; c < m_chunks.size(); ++c) {
        m_chunks[c]->index = c;
        m_chunkStart[c] = start;
        start += m_chunks[c]->entries.size();
    }
}

void ResultList::RebuildHeadsLocked()
{
    m_chunkFirst.resize(m_chunks.size());
    for (std::size_t c = 0; c < m_chunks.size(); ++c) {
        const auto& entries = m_chunks[c]->entries;
        m_chunkFirst[c] = entries.empty() ? ChunkHead{} : HeadOf(entries.front());
    }
}

void ResultList::AddChunkLocked(std::size_t at)
{
    m_chunkFirst.reserve(m_chunks.size() + 1);
    m_chunks.insert(m_chunks.begin() + static_cast<std::ptrdiff_t>(at), std::make_unique<Chunk>());
    m_chunkFirst.insert(m_chunkFirst.begin() + static_cast<std::ptrdiff_t>(at), ChunkHead{});
    RenumberChunksLocked(at);
}

void ResultList::SplitChunkLocked(std::size_t chunk)
{
    Chunk& old = *m_chunks[chunk];
    auto fresh = std::make_unique<Chunk>();
    const std::size_t half = old.entries.size() / 2;
    fresh->entries.Assign(old.entries.begin() + half, old.entries.end());
    old.entries.Truncate(half);
    old.entries.Recenter();
    // Each half may have a longer common start than the whole: found from the words it has.
    fresh->prefix = old.prefix;
    fresh->wordBytes = old.wordBytes;
    fresh->wordsReady = old.wordsReady;
    NarrowPrefixLocked(old);
    NarrowPrefixLocked(*fresh);
    for (const Entry& e : fresh->entries)
        m_rowChunk[e.id] = fresh.get();
    m_chunkFirst.reserve(m_chunks.size() + 1);
    const ChunkHead head = HeadOf(fresh->entries.front());
    m_chunks.insert(m_chunks.begin() + static_cast<std::ptrdiff_t>(chunk) + 1, std::move(fresh));
    m_chunkFirst.insert(m_chunkFirst.begin() + static_cast<std::ptrdiff_t>(chunk) + 1, head);
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
    return std::string(RowLocked(row).Cell(column, m_pool));
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
    ResultRow out;
    if (row < m_rowCount)
        RowLocked(row).Unpack(out, m_pool);
    return out;
}

void ResultList::ForEachRow(const std::function<void(std::size_t, const ResultRow&)>& visit) const
{
    std::shared_lock lock(m_mutex);
    // One row unpacked at a time, into strings that keep their room from row to row.
    ResultRow row;
    std::size_t index = 0;
    for (const auto& chunk : m_chunks)
        for (const Entry& e : chunk->entries) {
            m_rows[e.id].Unpack(row, m_pool);
            visit(index++, row);
        }
}

void ResultList::ForEachRowFrom(std::size_t first, const std::function<bool(std::size_t, const ResultRow&)>& visit) const
{
    std::shared_lock lock(m_mutex);
    if (first >= m_rowCount)
        return;
    std::size_t offset = 0;
    std::size_t index = first;
    ResultRow row;
    for (std::size_t chunk = LocateLocked(first, offset); chunk < m_chunks.size(); ++chunk, offset = 0) {
        const auto& entries = m_chunks[chunk]->entries;
        for (; offset < entries.size(); ++offset) {
            m_rows[entries[offset].id].Unpack(row, m_pool);
            if (!visit(index++, row))
                return;
        }
    }
}

void ResultList::ForEachCell(int column, const std::function<void(std::size_t, std::string_view, int)>& visit) const
{
    std::shared_lock lock(m_mutex);
    std::size_t index = 0;
    for (const auto& chunk : m_chunks)
        for (const Entry& e : chunk->entries) {
            const PackedRow& row = m_rows[e.id];
            visit(index++, column == 0 ? row.Key() : row.Cell(column, m_pool), row.icon);
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
        ResultRow target;
        m_rows[id].Unpack(target, m_pool);
        if (text.size() > kMaxCellLength)
            text.resize(kMaxCellLength);
        if (target.cells.size() <= static_cast<std::size_t>(column))
            target.cells.resize(static_cast<std::size_t>(column) + 1);
        target.cells[static_cast<std::size_t>(column)] = std::move(text);
        PackedRow packed = PackLocked(target);
        if (column == 0) {
            // The row may have been the first of its key, and may now be the first of another.
            DupNoteRemoveLocked(id);
            m_dupValid = false;
            m_chunks[chunk]->wordsReady = false;
        }
        m_rows[id] = std::move(packed);
        // The row's block has moved.
        const std::string_view key = m_rows[id].Key();
        entry.key = key.data();
        entry.keyLength = static_cast<uint32_t>(key.size());
        if (offset == 0)
            m_chunkFirst[chunk] = HeadOf(entry);
    }
    Touch();
}

void ResultList::SetIcon(std::size_t row, int icon)
{
    {
        std::unique_lock lock(m_mutex);
        if (row >= m_rowCount)
            return;
        RowLocked(row).icon = static_cast<int16_t>(icon);
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

std::size_t ResultList::ChunkForKeyLocked(std::string_view key, const HeadWords& words) const
{
    // The last chunk whose first row does not sort behind the key.
    const bool descending = m_autoSort == AutoSort::Descending;
    std::size_t lo = 0, hi = m_chunkFirst.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        const int order = CompareHead(key, words, m_chunkFirst[mid]);
        if (descending ? order > 0 : order < 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo == 0 ? 0 : lo - 1;
}

void ResultList::PrepareWordsLocked(Chunk& chunk)
{
    auto& entries = chunk.entries;
    std::size_t prefix = 0;
    if (!entries.empty()) {
        // The common start of all keys, not only of the first and last: the chunk need not be
        // sorted (auto-sort switched on after unsorted rows), and the words must hold anyway.
        const std::string_view first = entries.front().Key();
        prefix = first.size();
        for (std::size_t i = 1; i < entries.size() && prefix > 0; ++i)
            prefix = FoldedCommonLength(first, entries[i].Key(), prefix);
        for (Entry& e : entries)
            e.words = WordsOf(e.Key(), prefix);
    }
    chunk.prefix = static_cast<uint32_t>(prefix);
    chunk.wordBytes = kWordBytes;
    chunk.wordsReady = true;
}

void ResultList::NarrowPrefixLocked(Chunk& chunk)
{
    auto& entries = chunk.entries;
    if (!chunk.wordsReady || entries.empty())
        return;
    // The bytes that every entry's words share, and that every key has, join the common start;
    // the words move up over them.
    const Words& first = entries.front().words;
    std::size_t common = chunk.wordBytes;
    for (const Entry& e : entries) {
        common = std::min<std::size_t>(common, e.keyLength - chunk.prefix);
        for (std::size_t i = 0; i < kWordCount && 8 * i < common; ++i)
            if (const uint64_t diff = e.words.w[i] ^ first.w[i]; diff != 0) {
                common = std::min(common, 8 * i + static_cast<std::size_t>(std::countl_zero(diff)) / 8);
                break;
            }
        if (common == 0)
            return;
    }
    if (chunk.wordBytes - common < kWordBytes / 2) {
        // Too few bytes would be left to tell keys apart: the words are made anew from the keys.
        PrepareWordsLocked(chunk);
        return;
    }
    const std::size_t bits = 8 * common;
    const std::size_t skip = bits / 64, shift = bits % 64;
    for (Entry& e : entries) {
        Words w;
        for (std::size_t i = 0; i + skip < kWordCount; ++i) {
            w.w[i] = e.words.w[i + skip] << shift;
            if (shift != 0 && i + skip + 1 < kWordCount)
                w.w[i] |= e.words.w[i + skip + 1] >> (64 - shift);
        }
        e.words = w;
    }
    chunk.prefix += static_cast<uint32_t>(common);
    chunk.wordBytes -= static_cast<uint32_t>(common);
}

void ResultList::ShortenPrefixLocked(Chunk& chunk, std::size_t prefix)
{
    // The dropped bytes are the same in every key, those of the first: each entry's words take
    // them in front of its own leading bytes, with no key read.
    const std::size_t drop = chunk.prefix - prefix;
    const std::string_view first = chunk.entries.front().Key();
    if (drop >= kWordBytes) {
        const Words words = WordsOf(first, prefix);
        for (Entry& e : chunk.entries)
            e.words = words;
        chunk.wordBytes = kWordBytes;
    } else if (drop > 0) {
        chunk.wordBytes = static_cast<uint32_t>(std::min(kWordBytes, chunk.wordBytes + drop));
        std::array<uint8_t, 2 * kWordBytes> bytes{};
        for (std::size_t k = 0; k < drop; ++k)
            bytes[k] = Fold(first[prefix + k]);
        for (Entry& e : chunk.entries) {
            for (std::size_t i = 0; i < kWordCount; ++i)
                for (std::size_t k = 0; k < 8; ++k)
                    bytes[drop + 8 * i + k] = static_cast<uint8_t>(e.words.w[i] >> (56 - 8 * k));
            Words w;
            for (std::size_t i = 0; i < kWordCount; ++i)
                for (std::size_t k = 0; k < 8; ++k)
                    w.w[i] = (w.w[i] << 8) | bytes[8 * i + k];
            e.words = w;
        }
    }
    chunk.prefix = static_cast<uint32_t>(prefix);
}

std::size_t ResultList::SortedPlaceLocked(std::string_view key, std::size_t& offset, Words& words)
{
    const bool descending = m_autoSort == AutoSort::Descending;
    const HeadWords headWords = HeadWordsOf(key);
    std::size_t c = ChunkForKeyLocked(key, headWords);
    if (m_chunks[c]->entries.size() >= kChunkCapacity) {
        if (c + 1 == m_chunks.size() && !Before(m_autoSort, key, m_chunks[c]->entries.back().Key())) {
            // Appending at the very end starts a new chunk, so appended lists stay dense.
            AddChunkLocked(++c);
        } else {
            SplitChunkLocked(c);
            const int order = CompareHead(key, headWords, m_chunkFirst[c + 1]);
            if (!(descending ? order > 0 : order < 0))
                ++c;
        }
    }
    Chunk& chunk = *m_chunks[c];
    auto& entries = chunk.entries;
    if (entries.empty()) {
        chunk.prefix = static_cast<uint32_t>(key.size());
        chunk.wordBytes = kWordBytes;
        chunk.wordsReady = true;
        offset = 0;
        words = Words{};
        return c;
    }
    if (!chunk.wordsReady)
        PrepareWordsLocked(chunk);
    // A key that leaves the chunk's common start shortens it for every entry. Within the head
    // words the first key need not be read.
    std::size_t shared = chunk.prefix;
    if (chunk.prefix <= kHeadWords * 8) {
        const HeadWords& first = m_chunkFirst[c].words;
        std::size_t common = kHeadWords * 8;
        for (std::size_t w = 0; w < kHeadWords; ++w)
            if (const uint64_t diff = headWords[w] ^ first[w]; diff != 0) {
                common = 8 * w + static_cast<std::size_t>(std::countl_zero(diff)) / 8;
                break;
            }
        shared = std::min({shared, common, key.size()});
    } else {
        shared = FoldedCommonLength(key, entries.front().Key(), chunk.prefix);
    }
    if (shared < chunk.prefix)
        ShortenPrefixLocked(chunk, shared);
    const std::size_t prefix = chunk.prefix;
    const std::size_t wordBytes = chunk.wordBytes;
    words = WordsOf(key, prefix, wordBytes);

    // After the rows that do not sort behind the new one (an unsorted chunk gets a plausible
    // place). Equal words leave the order to the bytes after them.
    const Words keyWords = words;
    const auto keyBefore = [&](const Entry& e) {
        int order;
        if (!(keyWords == e.words)) {
            order = keyWords < e.words ? -1 : 1;
        } else {
            const std::size_t known = std::min<std::size_t>({prefix + wordBytes, key.size(), e.keyLength});
            order = FoldedCompare(key.substr(known), e.Key().substr(known));
        }
        return descending ? order > 0 : order < 0;
    };
    std::size_t lo = 0, hi = entries.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (mid - lo > 1) {
            __builtin_prefetch(&entries[lo + (mid - lo) / 2]);
            __builtin_prefetch(&entries[mid + 1 + (hi - mid - 1) / 2]);
        }
        if (keyBefore(entries[mid]))
            hi = mid;
        else
            lo = mid + 1;
    }
    offset = lo;
    return c;
}

std::size_t ResultList::InsertLocked(ResultRow&& row, uint64_t keyHash)
{
    // Everything that may fail to allocate comes before the row is taken.
    PackedRow packed = PackLocked(row);
    ReserveOneMore(m_rows);
    ReserveOneMore(m_rowChunk);
    const std::string_view key = packed.Key();
    std::size_t chunk = 0;
    std::size_t offset = 0;
    Words words;
    if (m_chunks.empty()) {
        AddChunkLocked(0);
        m_chunks[0]->prefix = static_cast<uint32_t>(key.size());
        m_chunks[0]->wordBytes = kWordBytes;
        m_chunks[0]->wordsReady = true;
    } else if (m_autoSort == AutoSort::Off) {
        chunk = m_chunks.size() - 1;
        if (m_chunks[chunk]->entries.size() >= kChunkCapacity)
            AddChunkLocked(++chunk);
        offset = m_chunks[chunk]->entries.size();
        m_chunks[chunk]->wordsReady = false;
    } else {
        chunk = SortedPlaceLocked(key, offset, words);
    }

    auto& entries = m_chunks[chunk]->entries;
    uint32_t id;
    if (!m_freeSlots.empty()) {
        id = m_freeSlots.back();
        m_freeSlots.pop_back();
        m_rows[id] = std::move(packed);
    } else {
        id = static_cast<uint32_t>(m_rows.size());
        m_rows.push_back(std::move(packed));
        m_rowChunk.push_back(nullptr);
    }
    m_rowChunk[id] = m_chunks[chunk].get();
    entries.Insert(offset, Entry{words, key.data(), static_cast<uint32_t>(key.size()), id});
    if (offset == 0)
        m_chunkFirst[chunk] = HeadOf(entries.front());
    ShiftChunkStarts(m_chunkStart, chunk + 1, 1);
    ++m_rowCount;

    const std::size_t position = m_chunkStart[chunk] + offset;
    if (m_focused >= 0 && static_cast<std::size_t>(m_focused) >= position)
        ++m_focused;
    if (m_dupValid)
        DupNoteInsertLocked(id, position, keyHash);
    return position;
}

std::size_t ResultList::InsertRow(ResultRow row)
{
    std::size_t position;
    {
        std::unique_lock lock(m_mutex);
        PrepareRow(row);
        // Hashes matter only to a valid duplicate index; a rebuild makes them all.
        const uint64_t hash = m_dupValid ? FoldedHash(row.cells[0]) : 0;
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
            if (m_rows[static_cast<std::size_t>(first)].Key() == row.cells[0])
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
            if (EqualsNoCase(e.Key(), text))
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
        // The chunk's words stay valid: the other keys still share its common start.
        entries.Erase(offset);
        if (entries.empty()) {
            m_chunks.erase(m_chunks.begin() + static_cast<std::ptrdiff_t>(chunk));
            m_chunkFirst.erase(m_chunkFirst.begin() + static_cast<std::ptrdiff_t>(chunk));
            RenumberChunksLocked(chunk);
        } else {
            ShiftChunkStarts(m_chunkStart, chunk + 1, static_cast<std::size_t>(-1));
            if (offset == 0)
                m_chunkFirst[chunk] = HeadOf(entries.front());
        }
        m_rows[id] = PackedRow{};
        m_rowChunk[id] = nullptr;
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
        m_rowChunk[id] = nullptr;
    }
    std::size_t out = 0;
    for (auto& chunk : m_chunks) {
        auto& v = chunk->entries;
        v.EraseIf([&](const Entry& e) { return m_rowChunk[e.id] == nullptr; });
        if (!v.empty())
            m_chunks[out++] = std::move(chunk);
    }
    m_chunks.resize(out);
    for (const uint32_t id : ids) {
        m_rows[id] = PackedRow{};
        m_freeSlots.push_back(id);
    }
    m_rowCount -= ids.size();
    RenumberChunksLocked(0);
    RebuildHeadsLocked();
}

void ResultList::ClearRows()
{
    {
        std::unique_lock lock(m_mutex);
        m_rows.clear();
        m_rows.shrink_to_fit();
        m_rowChunk.clear();
        m_rowChunk.shrink_to_fit();
        m_pool.Clear();
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
    // One pass over the rows in their new order; they take their places as ids. They are packed
    // again with a pool of their own, so that paths of rows gone go too.
    const std::size_t n = rows.size();
    std::vector<PackedRow> packed;
    packed.reserve(n);
    CellPool pool;
    for (ResultRow& row : rows) {
        if (row.cells.empty())
            row.cells.resize(1);
        packed.push_back(PackedRow::Pack(row, m_pooled, pool));
        row = ResultRow{}; // the unpacked form goes as the packed one comes
    }
    rows.clear();
    m_rows = std::move(packed);
    m_pool = std::move(pool);
    m_rowChunk.assign(n, nullptr);
    m_freeSlots.clear();
    std::vector<uint32_t> ids(n);
    for (std::size_t i = 0; i < n; ++i)
        ids[i] = static_cast<uint32_t>(i);
    RebuildChunksLocked(ids);
}

void ResultList::RebuildChunksLocked(const std::vector<uint32_t>& ids)
{
    // Words and key hashes are made when an insertion or the duplicate index next needs them,
    // so that a sort reads no key here.
    const std::size_t n = ids.size();
    m_chunks.clear();
    constexpr std::size_t kFill = kChunkCapacity / 2;
    m_chunks.reserve((n + kFill - 1) / kFill);
    for (std::size_t i = 0; i < n;) {
        auto chunk = std::make_unique<Chunk>();
        const std::size_t end = std::min(n, i + kFill);
        chunk->entries.ClearAt((kChunkCapacity - (end - i)) / 2);
        for (; i < end; ++i) {
            const uint32_t id = ids[i];
            const std::string_view key = m_rows[id].Key();
            chunk->entries.PushBack(Entry{Words{}, key.data(), static_cast<uint32_t>(key.size()), id});
            m_rowChunk[id] = chunk.get();
        }
        m_chunks.push_back(std::move(chunk));
    }
    m_rowCount = n;
    RenumberChunksLocked(0);
    RebuildHeadsLocked();
    // Rows may have moved or changed: the duplicate index is rebuilt when next needed.
    m_dupValid = false;
    m_dupTable.clear();
    m_dupUsed = 0;
    if (m_focused >= static_cast<long>(m_rowCount))
        m_focused = -1;
}

bool ResultList::Reorder(const std::vector<uint32_t>& order)
{
    {
        std::unique_lock lock(m_mutex);
        if (order.size() != m_rowCount)
            return false;
        std::vector<uint32_t> ids;
        ids.reserve(m_rowCount);
        for (const auto& chunk : m_chunks)
            for (const Entry& e : chunk->entries)
                ids.push_back(e.id);
        std::vector<uint32_t> reordered(ids.size());
        std::vector<bool> taken(ids.size(), false);
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (order[i] >= ids.size() || taken[order[i]])
                return false;
            taken[order[i]] = true;
            reordered[i] = ids[order[i]];
        }
        RebuildChunksLocked(reordered);
    }
    Touch();
    return true;
}

void ResultList::Modify(const std::function<void(std::vector<ResultRow>&)>& writer)
{
    {
        std::unique_lock lock(m_mutex);
        // The writer gets the rows unpacked in list order; each packed block goes as its row
        // is made, so that the two forms are not both held whole.
        std::vector<ResultRow> rows;
        rows.reserve(m_rowCount);
        for (const auto& chunk : m_chunks)
            for (const Entry& e : chunk->entries) {
                rows.emplace_back();
                m_rows[e.id].Unpack(rows.back(), m_pool);
                m_rows[e.id] = PackedRow{};
            }
        m_rows.clear();
        m_chunks.clear();
        try {
            writer(rows);
        } catch (...) {
            // The list keeps the rows as the writer left them.
            RebuildFromRowsLocked(std::move(rows));
            lock.unlock();
            Touch();
            throw;
        }
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
            const uint64_t hash = FoldedHash(e.Key());
            if (DupFindLocked(hash, e.Key()) < 0)
                DupSetLocked(hash, e.id);
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
        if (e.hash == hash && EqualsNoCase(m_rows[e.id].Key(), text))
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
    const std::string_view text = m_rows[id].Key();
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        DupEntry& e = m_dupTable[i];
        if (e.id == kNoId) {
            e = DupEntry{hash, id};
            ++m_dupUsed;
            return;
        }
        if (e.hash == hash && EqualsNoCase(m_rows[e.id].Key(), text)) {
            e.id = id;
            return;
        }
    }
}

void ResultList::DupNoteInsertLocked(uint32_t id, std::size_t position, uint64_t hash)
{
    const std::string_view key = m_rows[id].Key();
    const long first = DupFindLocked(hash, key);
    if (first < 0) {
        DupSetLocked(hash, id);
        return;
    }
    // An equal key is already there; the new row takes over only when it landed above it.
    const auto firstId = static_cast<uint32_t>(first);
    const Chunk* a = m_rowChunk[id];
    const Chunk* b = m_rowChunk[firstId];
    const bool above = a != b ? a->index < b->index : position < PositionOfIdLocked(firstId);
    if (above)
        DupSetLocked(hash, id);
}

void ResultList::DupNoteRemoveLocked(uint32_t id)
{
    if (!m_dupValid)
        return;
    // Removing the first row of a key leaves an unknown successor: rebuild when next needed.
    const std::string_view key = m_rows[id].Key();
    if (DupFindLocked(FoldedHash(key), key) == static_cast<long>(id)) {
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
        NotePooledColumnsLocked();
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
            if (m_rows[e.id].selected)
                rows.push_back(index);
            ++index;
        }
    return rows;
}

void ResultList::SetSelectedRows(const std::vector<std::size_t>& rows)
{
    {
        std::unique_lock lock(m_mutex);
        for (auto& r : m_rows)
            r.selected = false;
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
