// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/result_table_model.h"

#include <limits>

#include "core/app_state.h"
#include "list/result_list.h"
#include "ui/cell_text.h"
#include "ui/row_icons.h"

namespace lt {

ResultTableModel::ResultTableModel(const AppState& app, const ResultList& list, QObject* parent)
    : QAbstractTableModel(parent), m_app(app), m_list(list)
{
    connect(&m_poll, &QTimer::timeout, this, &ResultTableModel::Refresh);
    m_poll.start(50);
    Refresh();
}

void ResultTableModel::SetPollInterval(int milliseconds)
{
    if (milliseconds <= 0)
        m_poll.stop();
    else
        m_poll.start(milliseconds);
}

int ResultTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ResultTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

void ResultTableModel::Refresh()
{
    const uint64_t columnRevision = m_list.ColumnRevision();
    if (columnRevision != m_columnRevision) {
        m_columnRevision = columnRevision;
        const auto columns = m_list.Columns();
        QStringList headers;
        for (const ColumnState& column : columns)
            headers.push_back(DecodeBytes(column.header));
        const int count = static_cast<int>(headers.size());
        if (count != m_columns) {
            // A different column set: start over (the rows are re-read below).
            beginResetModel();
            m_headers = headers;
            m_columns = count;
            const std::size_t rows = m_list.RowCount();
            m_rows = static_cast<int>(std::min<std::size_t>(rows, std::numeric_limits<int>::max()));
            m_revision = m_list.Revision();
            endResetModel();
        } else {
            m_headers = headers;
            if (count > 0)
                emit headerDataChanged(Qt::Horizontal, 0, count - 1);
        }
        emit ColumnsChanged();
    }
    const uint64_t revision = m_list.Revision();
    if (revision == m_revision)
        return;
    m_revision = revision;
    const std::size_t listRows = m_list.RowCount();
    const int rows = static_cast<int>(std::min<std::size_t>(listRows, std::numeric_limits<int>::max()));
    if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        const int oldRows = m_rows;
        m_rows = rows;
        endInsertRows();
        // Sorted insertion moves rows that were already shown.
        if (oldRows > 0 && m_columns > 0)
            emit dataChanged(index(0, 0), index(oldRows - 1, m_columns - 1));
    } else if (rows < m_rows) {
        if (rows == 0) {
            beginResetModel();
            m_rows = 0;
            endResetModel();
        } else {
            beginRemoveRows({}, rows, m_rows - 1);
            m_rows = rows;
            endRemoveRows();
            if (m_columns > 0)
                emit dataChanged(index(0, 0), index(rows - 1, m_columns - 1));
        }
    } else if (rows > 0 && m_columns > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, m_columns - 1));
    }
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_columns)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        // The producer may have cleared the list since the last poll: out-of-range reads are empty.
        if (row >= m_list.RowCount())
            return QString();
        return DecodeBytes(m_list.GetCell(row, index.column()));
    }
    case Qt::DecorationRole:
        if (index.column() != 0 || row >= m_list.RowCount())
            return {};
        return RowIcon(m_list.Icon(row));
    case Qt::BackgroundRole: {
        if (!m_app.options.alternateRowColors || (index.row() % 2) != 0)
            return {};
        const QColor color = ParseRowColor(m_app.options.rowColor);
        return color.isValid() ? QVariant(color) : QVariant();
    }
    default:
        return {};
    }
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headers.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_headers[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ResultTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QColor ResultTableModel::ParseRowColor(const std::string& text)
{
    std::string digits = text;
    while (!digits.empty() && (digits.front() == ' ' || digits.front() == '\t'))
        digits.erase(digits.begin());
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits.erase(0, 2);
    unsigned long value = 0;
    std::size_t used = 0;
    for (const char ch : digits) {
        int v;
        if (ch >= '0' && ch <= '9')
            v = ch - '0';
        else if (ch >= 'a' && ch <= 'f')
            v = ch - 'a' + 10;
        else if (ch >= 'A' && ch <= 'F')
            v = ch - 'A' + 10;
        else
            break;
        value = value * 16 + static_cast<unsigned long>(v);
        if (value > 0xFFFFFFFFUL)
            return {};
        ++used;
    }
    if (used == 0 || value > 0xFFFFFF)
        return {};
    return QColor(static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>(value & 0xFF));
}

} // namespace lt
