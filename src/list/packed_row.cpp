// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/packed_row.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "list/result_list.h"

namespace lt {

uint32_t CellPool::Intern(std::string_view text)
{
    if (m_last != UINT32_MAX && m_texts[m_last] == text)
        return m_last;
    if (const auto found = m_ids.find(text); found != m_ids.end())
        return m_last = found->second;
    const auto id = static_cast<uint32_t>(m_texts.size());
    m_texts.emplace_back(text);
    try {
        m_ids.emplace(std::string_view(m_texts.back()), id);
    } catch (...) {
        m_texts.pop_back();
        throw;
    }
    return m_last = id;
}

void CellPool::Clear()
{
    m_ids.clear();
    m_texts.clear();
    m_last = UINT32_MAX;
}

PackedRow::PackedRow(PackedRow&& other) noexcept
    : param(other.param), icon(other.icon), selected(other.selected), m_data(other.m_data)
{
    other.m_data = nullptr;
}

PackedRow& PackedRow::operator=(PackedRow&& other) noexcept
{
    if (this != &other) {
        ::operator delete(m_data);
        m_data = other.m_data;
        other.m_data = nullptr;
        param = other.param;
        icon = other.icon;
        selected = other.selected;
    }
    return *this;
}

PackedRow::~PackedRow()
{
    ::operator delete(m_data);
}

PackedRow PackedRow::Pack(const ResultRow& row, const PooledColumns& pooled, CellPool& pool)
{
    const std::size_t n = std::clamp<std::size_t>(row.cells.size(), 1, kMaxColumns);
    const bool record = row.recordOffset != 0 || row.fileNumber != 0;
    std::array<uint16_t, kMaxColumns> lengths{};
    std::array<uint32_t, kMaxColumns> ids{};
    std::size_t bytes = 0;
    for (std::size_t c = 0; c < n; ++c) {
        const std::string_view text = c < row.cells.size() ? std::string_view(row.cells[c]) : std::string_view();
        const std::size_t length = std::min(text.size(), kMaxCellLength);
        if (c > 0 && pooled[c] && length > 0) {
            ids[c] = pool.Intern(text.substr(0, length));
            lengths[c] = kPooledBit;
            bytes += sizeof(uint32_t);
        } else {
            lengths[c] = static_cast<uint16_t>(length);
            bytes += length;
        }
    }
    const std::size_t header = 2 + 2 * n + (record ? 12 : 0);
    char* data = static_cast<char*>(::operator new(header + bytes));
    data[0] = static_cast<char>(n);
    data[1] = static_cast<char>(record ? kHasRecord : 0);
    std::memcpy(data + 2, lengths.data(), 2 * n);
    char* p = data + 2 + 2 * n;
    if (record) {
        std::memcpy(p, &row.recordOffset, 8);
        std::memcpy(p + 8, &row.fileNumber, 4);
        p += 12;
    }
    for (std::size_t c = 0; c < n; ++c) {
        if (lengths[c] == kPooledBit) {
            std::memcpy(p, &ids[c], sizeof(uint32_t));
            p += sizeof(uint32_t);
        } else if (lengths[c] > 0) {
            std::memcpy(p, row.cells[c].data(), lengths[c]);
            p += lengths[c];
        }
    }
    PackedRow out;
    out.m_data = data;
    out.param = row.param;
    out.icon = static_cast<int16_t>(row.icon);
    out.selected = row.selected;
    return out;
}

uint16_t PackedRow::LengthAt(int column) const
{
    uint16_t length;
    std::memcpy(&length, m_data + 2 + 2 * column, 2);
    return length;
}

std::size_t PackedRow::BytesStart() const
{
    return 2 + 2 * static_cast<std::size_t>(CellCount()) + ((m_data[1] & kHasRecord) ? 12 : 0);
}

std::string_view PackedRow::Key() const
{
    if (!m_data)
        return {};
    return {m_data + BytesStart(), LengthAt(0)};
}

std::string_view PackedRow::Cell(int column, const CellPool& pool) const
{
    if (column < 0 || column >= CellCount())
        return {};
    std::size_t at = BytesStart();
    for (int c = 0; c < column; ++c) {
        const uint16_t length = LengthAt(c);
        at += length == kPooledBit ? sizeof(uint32_t) : length;
    }
    const uint16_t length = LengthAt(column);
    if (length == kPooledBit) {
        uint32_t id;
        std::memcpy(&id, m_data + at, sizeof id);
        return pool.Text(id);
    }
    return {m_data + at, length};
}

void PackedRow::Unpack(ResultRow& row, const CellPool& pool) const
{
    const int n = CellCount();
    row.cells.resize(static_cast<std::size_t>(n));
    std::size_t at = n > 0 ? BytesStart() : 0;
    for (int c = 0; c < n; ++c) {
        const uint16_t length = LengthAt(c);
        if (length == kPooledBit) {
            uint32_t id;
            std::memcpy(&id, m_data + at, sizeof id);
            row.cells[static_cast<std::size_t>(c)].assign(pool.Text(id));
            at += sizeof id;
        } else {
            row.cells[static_cast<std::size_t>(c)].assign(m_data + at, length);
            at += length;
        }
    }
    row.icon = icon;
    row.param = param;
    row.selected = selected;
    row.recordOffset = 0;
    row.fileNumber = 0;
    if (m_data && (m_data[1] & kHasRecord)) {
        const char* p = m_data + 2 + 2 * n;
        std::memcpy(&row.recordOffset, p, 8);
        std::memcpy(&row.fileNumber, p + 8, 4);
    }
}

} // namespace lt
