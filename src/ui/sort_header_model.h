// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

#include "ui/result_table_model.h"

namespace lt {

struct SortFlags;

// The table model of a sortable list: the header of the column it is sorted by (one of the first
// six) carries the direction arrow at its left edge, where a click sorts.
class SortHeaderModel : public ResultTableModel
{
public:
    // `domainList`: the folder list of the domain view, which keeps sort flags of its own.
    SortHeaderModel(const AppState& app, const ResultList& list, bool domainList, QObject* parent = nullptr);

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // True when `column` is ordered with the largest (or newest, or last) value first by the next
    // sort or was by the last one.
    bool ColumnDescending(int column) const;
    // The column whose header shows the arrow, -1 for none.
    int SortedColumn() const;
    // Redraws the headers after the flags changed.
    void RefreshHeaders();

    // The two arrows: 0 ascending, 1 descending.
    static QIcon DirectionIcon(bool descending);

private:
    const SortFlags& Flags() const;

    const AppState& m_appState;
    const ResultList& m_shown;
    bool m_domainList;
};

} // namespace lt
