// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/sort_header_model.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

#include "core/app_state.h"
#include "list/sort_orders.h"

namespace lt {

namespace {

constexpr int kDirectionColumns = 6;

QPixmap Arrow(bool descending, const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    QPolygon triangle;
    if (descending)
        triangle << QPoint(3, 5) << QPoint(13, 5) << QPoint(8, 11);
    else
        triangle << QPoint(3, 11) << QPoint(13, 11) << QPoint(8, 5);
    painter.drawPolygon(triangle);
    return pixmap;
}

} // namespace

SortHeaderModel::SortHeaderModel(const AppState& app, const ResultList& list, bool domainList,
                                 QObject* parent)
    : ResultTableModel(app, list, parent), m_appState(app), m_shown(list), m_domainList(domainList)
{
}

const SortFlags& SortHeaderModel::Flags() const
{
    return m_domainList ? m_appState.sorting.domain : m_appState.sorting.main;
}

bool SortHeaderModel::ColumnDescending(int column) const
{
    if (column < 0 || column >= m_shown.ColumnCount())
        return false;
    const ColumnState state = m_shown.Column(column);
    const SortFlags& flags = Flags();
    const bool reversed = column < static_cast<int>(flags.columnDirection.size()) &&
                          flags.columnDirection[static_cast<std::size_t>(column)];
    return ColumnStartsDescending(state.type, column) != reversed;
}

int SortHeaderModel::SortedColumn() const
{
    const SortFlags& flags = Flags();
    if (const int last = flags.lastSortColumn.load(); last >= 0)
        return last;
    // A search list kept in URL order is sorted by its first column without a click.
    return !m_domainList && m_appState.sorting.mainSortedByUrl.load() ? 0 : -1;
}

QVariant SortHeaderModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DecorationRole && orientation == Qt::Horizontal && section >= 0 &&
        section < kDirectionColumns && section < columnCount()) {
        if (section != SortedColumn())
            return QVariant();
        return DirectionIcon(ColumnDescending(section));
    }
    return ResultTableModel::headerData(section, orientation, role);
}

void SortHeaderModel::RefreshHeaders()
{
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QIcon SortHeaderModel::DirectionIcon(bool descending)
{
    static const QIcon kUp(Arrow(false, QColor(0x40, 0x60, 0x90)));
    static const QIcon kDown(Arrow(true, QColor(0x40, 0x60, 0x90)));
    return descending ? kDown : kUp;
}

} // namespace lt
