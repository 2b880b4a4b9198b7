// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/status_panes.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>

#include "ui/row_icons.h"

namespace lt {

StatusPanes::StatusPanes(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(true);
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        Pane& pane = m_panes[i];
        auto* frame = new QFrame(this);
        frame->setFrameShape(QFrame::StyledPanel);
        frame->setFrameShadow(QFrame::Sunken);
        auto* layout = new QHBoxLayout(frame);
        layout->setContentsMargins(4, 0, 4, 0);
        layout->setSpacing(4);
        pane.icon = new QLabel(frame);
        pane.icon->setFixedSize(16, 16);
        pane.icon->hide();
        pane.text = new QLabel(frame);
        pane.text->setTextFormat(Qt::PlainText);
        pane.text->setMinimumWidth(0);
        pane.text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        if (i == 2)
            pane.text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(pane.icon);
        layout->addWidget(pane.text, 1);
        pane.frame = frame;
    }
    m_panes[0].frame->setObjectName(QStringLiteral("pane0"));
    m_panes[1].frame->setObjectName(QStringLiteral("pane1"));
    m_panes[2].frame->setObjectName(QStringLiteral("pane2"));
    setMinimumHeight(fontMetrics().height() + 10);
}

std::array<int, 3> StatusPanes::PaneEdges(int width, int countWidth)
{
    const int count = std::max(kNarrowCountPane, countWidth);
    return {(width - 19 - count) * 4 / 7, width - 19 - count, width - 19};
}

int StatusPanes::CountPaneWidth() const
{
    // Nine digits and the pane's frame and margins.
    const QFontMetrics metrics(m_panes[2].text->font());
    return metrics.horizontalAdvance(QStringLiteral("999999999")) + 14;
}

void StatusPanes::LayoutPanes()
{
    const auto edges = PaneEdges(width(), CountPaneWidth());
    int left = 0;
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        const int right = std::max(left, edges[i]);
        m_panes[i].frame->setGeometry(left, 2, right - left - 2, height() - 3);
        left = right;
    }
    if (m_progress)
        m_progress->setGeometry(edges[0] + 5, 5, std::max(0, edges[1] - edges[0] - 8),
                                std::max(0, height() - 8));
}

void StatusPanes::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    LayoutPanes();
}

void StatusPanes::SetText(int pane, const QString& text)
{
    if (pane < 0 || pane > 2)
        return;
    m_panes[static_cast<std::size_t>(pane)].text->setText(text);
}

QString StatusPanes::Text(int pane) const
{
    if (pane < 0 || pane > 2)
        return {};
    return m_panes[static_cast<std::size_t>(pane)].text->text();
}

void StatusPanes::SetIcon(int pane, StatusIcon icon)
{
    if (pane < 0 || pane > 2)
        return;
    Pane& p = m_panes[static_cast<std::size_t>(pane)];
    p.iconKind = icon;
    if (icon == StatusIcon::None) {
        p.icon->clear();
        p.icon->hide();
        return;
    }
    p.icon->setPixmap(StatusIconFor(icon).pixmap(16, 16));
    p.icon->show();
}

StatusIcon StatusPanes::Icon(int pane) const
{
    if (pane < 0 || pane > 2)
        return StatusIcon::None;
    return m_panes[static_cast<std::size_t>(pane)].iconKind;
}

void StatusPanes::ProgressBegin()
{
    if (m_progress == nullptr) {
        m_progress = new QProgressBar(this);
        m_progress->setRange(0, 100);
        m_progress->setTextVisible(false);
    }
    m_progress->setValue(0);
    LayoutPanes();
    m_progress->show();
    m_progress->raise();
}

void StatusPanes::ProgressStep()
{
    if (m_progress && m_progress->value() < m_progress->maximum())
        m_progress->setValue(m_progress->value() + 1);
}

void StatusPanes::ProgressEnd()
{
    delete m_progress;
    m_progress = nullptr;
}

} // namespace lt
