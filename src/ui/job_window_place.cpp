// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/job_window_place.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "core/app_state.h"

namespace lt {

namespace {

constexpr std::size_t kRecordFields = 12;
constexpr std::size_t kFirstWidth = 5;
// Set by RestoreJobWindowPlace, so that the owner can store the places of the windows left open.
constexpr const char* kRecordProperty = "jobWindowRecord";
constexpr const char* kColumnsProperty = "jobWindowColumns";

} // namespace

QRect KeepOnScreen(QRect rect)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        rect.setWidth(std::min(rect.width(), available.width()));
        rect.setHeight(std::min(rect.height(), available.height()));
        if (!available.intersects(rect))
            rect.moveTopLeft(available.topLeft());
    }
    return rect;
}

void RestoreJobWindowPlace(const AppState& app, const char* key, QWidget& window, QHeaderView& columns)
{
    window.setProperty(kRecordProperty, QByteArray(key));
    columns.setProperty(kColumnsProperty, true);
    const auto found = app.options.positions.find(key);
    if (found == app.options.positions.end() || found->second.values.size() < 4)
        return;
    const std::vector<int>& v = found->second.values;
    if (v[2] - v[0] >= 200 && v[3] - v[1] >= 150) {
        const QRect rect = KeepOnScreen(QRect(QPoint(v[0], v[1]), QPoint(v[2] - 1, v[3] - 1)));
        // The record holds the inner rectangle (geometry()): move() would place the frame there and
        // the window would creep by the frame's size at every opening.
        window.setGeometry(rect);
    }
    for (std::size_t i = kFirstWidth; i < v.size(); ++i) {
        const int column = static_cast<int>(i - kFirstWidth);
        if (column < columns.count() && v[i] >= 10 && v[i] <= 4000)
            columns.resizeSection(column, v[i]);
    }
}

void StoreJobWindowPlace(AppState& app, const char* key, const QWidget& window, const QHeaderView& columns)
{
    std::vector<int> values(kRecordFields, 0);
    const QRect frame = window.geometry();
    values[0] = frame.left();
    values[1] = frame.top();
    values[2] = frame.right() + 1;
    values[3] = frame.bottom() + 1;
    for (int c = 0; c < columns.count() && kFirstWidth + static_cast<std::size_t>(c) < kRecordFields; ++c)
        values[kFirstWidth + static_cast<std::size_t>(c)] = columns.sectionSize(c);
    app.options.positions[key].values = std::move(values);
}

void StoreOpenJobWindowPlaces(AppState& app, const QWidget& owner)
{
    for (const QWidget* window : owner.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QByteArray key = window->property(kRecordProperty).toByteArray();
        if (key.isEmpty() || !window->isWindow() || !window->isVisible())
            continue;
        for (const QHeaderView* columns : window->findChildren<QHeaderView*>())
            if (columns->property(kColumnsProperty).toBool()) {
                StoreJobWindowPlace(app, key.constData(), *window, *columns);
                break;
            }
    }
}

} // namespace lt
