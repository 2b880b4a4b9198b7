// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStatusBar>

#include <array>

#include "core/ui_port.h"

class QLabel;
class QProgressBar;

namespace lt {

// The three-pane status bar: pane 0 the search caption, pane 1 transient messages with an icon
// (and the place of the progress bar), pane 2 the row count. The right edges follow the window's
// width W and the count pane's width C (nine digits, at least 50): (W - 19 - C) * 4 / 7, W - 19 - C
// and W - 19, leaving the size grip at the right.
class StatusPanes : public QStatusBar
{
    Q_OBJECT

public:
    explicit StatusPanes(QWidget* parent = nullptr);

    void SetText(int pane, const QString& text);
    void SetIcon(int pane, StatusIcon icon);
    QString Text(int pane) const;
    StatusIcon Icon(int pane) const;

    void ProgressBegin();
    void ProgressStep();
    void ProgressEnd();
    // The progress bar, or null when no long job runs.
    QProgressBar* ProgressBar() const { return m_progress; }

    static constexpr int kNarrowCountPane = 50;
    // Right edge of each pane for a status bar of width `width`.
    static std::array<int, 3> PaneEdges(int width, int countWidth = kNarrowCountPane);
    // The width that shows a count of nine digits whole.
    int CountPaneWidth() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutPanes();

    struct Pane
    {
        QWidget* frame = nullptr;
        QLabel* icon = nullptr;
        QLabel* text = nullptr;
        StatusIcon iconKind = StatusIcon::None;
    };
    std::array<Pane, 3> m_panes;
    QProgressBar* m_progress = nullptr;
};

} // namespace lt
