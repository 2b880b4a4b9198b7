// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QHeaderView;

namespace lt {

// Tells a click on a header section (press and release in place) from a drag or a resize, and
// reports the section with the click's distance from the section's left edge, which decides
// between sorting and fitting the column.
class HeaderClickFilter : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void(int column, int xInColumn)>;

    // Watches the header's viewport; the filter belongs to the header.
    HeaderClickFilter(QHeaderView* header, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHeaderView* m_header;
    Handler m_handler;
    QPoint m_press{-1, -1}; // x < 0: no click in progress
};

} // namespace lt
