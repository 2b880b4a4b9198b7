// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/header_click_filter.h"

#include <QHeaderView>
#include <QMouseEvent>

#include <utility>

namespace lt {

HeaderClickFilter::HeaderClickFilter(QHeaderView* header, Handler handler)
    : QObject(header), m_header(header), m_handler(std::move(handler))
{
    header->viewport()->installEventFilter(this);
}

bool HeaderClickFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_header->viewport())
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const QPoint pos = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress) {
        // A press on a section border starts a resize, never a click.
        m_press = m_header->viewport()->cursor().shape() == Qt::SplitHCursor ? QPoint(-1, -1) : pos;
        return false;
    }
    if (m_press.x() >= 0 && (pos - m_press).manhattanLength() < 4) {
        const int column = m_header->logicalIndexAt(pos);
        if (column >= 0)
            m_handler(column, pos.x() - m_header->sectionViewportPosition(column));
    }
    m_press = QPoint(-1, -1);
    return false;
}

} // namespace lt
