// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace lt {

struct AppState;
class ResultList;

// The Qt table model over a ResultList. The list is changed by a producer thread; the model polls
// its revision (about 20 times a second) and tells the views in one batch what changed, so that a
// job adding a million rows costs the view one update per poll, not one per row.
class ResultTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // `app` supplies the row-colour option; `list` is the list shown (the result list or another).
    ResultTableModel(const AppState& app, const ResultList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Brings the model in line with the list now (the poll calls it; tests and commands may too).
    void Refresh();
    // Polling interval; 0 stops polling.
    void SetPollInterval(int milliseconds);

    // The alternate-row colour from "0xRRGGBB" text; invalid (the system colour) above 0xFFFFFF.
    static QColor ParseRowColor(const std::string& text);

signals:
    // Emitted after the column set (headers, count or widths) changed.
    void ColumnsChanged();

private:
    const AppState& m_app;
    const ResultList& m_list;
    QTimer m_poll;
    int m_rows = 0;
    int m_columns = 0;
    uint64_t m_revision = ~0ULL;
    uint64_t m_columnRevision = ~0ULL;
    QStringList m_headers;
};

} // namespace lt
