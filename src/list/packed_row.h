// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace lt {

struct ResultRow;

// Texts kept once for many rows: a folder search gives every row of a file the same path.
// Ids stay valid until Clear.
class CellPool
{
public:
    uint32_t Intern(std::string_view text);
    std::string_view Text(uint32_t id) const { return m_texts[id]; }
    std::size_t Size() const { return m_texts.size(); }
    void Clear();

private:
    std::deque<std::string> m_texts; // a deque keeps the texts in place as it grows
    std::unordered_map<std::string_view, uint32_t> m_ids;
    uint32_t m_last = UINT32_MAX; // the text interned last, the usual next one
};

// Which columns hold pooled texts (the file path columns other than column 0).
using PooledColumns = std::array<bool, 9>;

// A row as the list stores it: the cells in one allocation, the pooled ones as 4-byte ids.
// Layout of the block: cell count (1 byte), flags (1 byte), the length of each cell (2 bytes;
// the top bit marks a pool id), the index-record position (8 + 4 bytes, when flagged), then
// the cells' bytes, column 0 first, so that the key's place never moves while the row lives.
class PackedRow
{
public:
    PackedRow() = default;
    PackedRow(PackedRow&& other) noexcept;
    PackedRow& operator=(PackedRow&& other) noexcept;
    PackedRow(const PackedRow&) = delete;
    PackedRow& operator=(const PackedRow&) = delete;
    ~PackedRow();

    // Packs the cells (at least one; each already cut to its limit) and the row's fields.
    static PackedRow Pack(const ResultRow& row, const PooledColumns& pooled, CellPool& pool);
    // The row as the interface has it; `row`'s strings are reused.
    void Unpack(ResultRow& row, const CellPool& pool) const;

    bool Empty() const { return m_data == nullptr; }
    int CellCount() const { return m_data ? static_cast<uint8_t>(m_data[0]) : 0; }
    std::string_view Key() const;
    std::string_view Cell(int column, const CellPool& pool) const;

    uint32_t param = 0;
    int16_t icon = 1;
    bool selected = false;

private:
    static constexpr uint16_t kPooledBit = 0x8000;
    static constexpr uint8_t kHasRecord = 1;
    uint16_t LengthAt(int column) const;
    std::size_t BytesStart() const;

    char* m_data = nullptr;
};

} // namespace lt
