// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings_bridge.h"

#include <QTableView>

#include <algorithm>

#include "core/app_state.h"
#include "core/messages.h"
#include "store/settings_io.h"
#include "ui/job_window_place.h"
#include "ui/main_window.h"

namespace lt {

namespace {

// WPS01 is the main window: left, top, right, bottom, maximized, then reserved fields.
constexpr const char* kMainWindowRecord = "WPS01";
constexpr const char* kListColumnsRecord = "WPS05";
constexpr std::size_t kMainWindowFields = 12;

} // namespace

void LoadSettingsAtStart(AppState& app)
{
    if (app.startup.iniPath.empty())
        return;
    const std::string error = ReadIniAtStartup(app, app.startup.iniPath);
    if (!error.empty())
        ShowMessage(app, error, "Error", {MsgButtons::Ok, MsgIcon::Error});
}

void RestoreWindowPlacement(AppState& app, MainWindow& window)
{
    QRect rect(QPoint(60, 40), QSize(1100, 700));
    bool maximized = false;
    const std::array<int, 4>& handed = app.startup.windowRect;
    const auto it = app.options.positions.find(kMainWindowRecord);
    if (handed[2] > handed[0] && handed[3] > handed[1]) {
        rect = QRect(QPoint(handed[0], handed[1]), QPoint(handed[2] - 1, handed[3] - 1));
    } else if (it != app.options.positions.end() && it->second.values.size() >= 4) {
        const std::vector<int>& v = it->second.values;
        if (v[2] - v[0] >= 200 && v[3] - v[1] >= 150)
            rect = QRect(QPoint(v[0], v[1]), QPoint(v[2] - 1, v[3] - 1));
        maximized = v.size() >= 5 && v[4] != 0;
    }
    rect = KeepOnScreen(rect);
    // The record holds the inner rectangle, as geometry() gave it.
    window.setGeometry(rect);
    if (maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);

    const auto columns = app.options.positions.find(kListColumnsRecord);
    if (columns != app.options.positions.end() && app.listState.kind == kListFileSearch) {
        const std::vector<int>& widths = columns->second.values;
        const int count = std::min<int>(app.list.ColumnCount(), static_cast<int>(widths.size()));
        for (int c = 0; c < count && c < 6; ++c)
            if (widths[static_cast<std::size_t>(c)] >= 10)
                app.list.SetColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    }
}

bool SaveSettingsAtClose(AppState& app, MainWindow& window)
{
    if (app.startup.iniPath.empty())
        return false;
    PositionRecord& main = app.options.positions[kMainWindowRecord];
    main.values.resize(std::max(main.values.size(), kMainWindowFields), 0);
    const QRect frame = window.isMaximized() ? window.normalGeometry() : window.geometry();
    main.values[0] = frame.left();
    main.values[1] = frame.top();
    main.values[2] = frame.right() + 1;
    main.values[3] = frame.bottom() + 1;
    main.values[4] = window.isMaximized() ? 1 : 0;

    // The widths of the file-search columns, also while another kind is shown.
    std::vector<ColumnState> columns = app.listState.kind == kListFileSearch || app.listState.savedColumns.empty()
                                           ? app.list.Columns()
                                           : app.listState.savedColumns;
    if (!columns.empty()) {
        PositionRecord& widths = app.options.positions[kListColumnsRecord];
        widths.values.resize(std::max<std::size_t>(widths.values.size(), 6), 0);
        for (std::size_t c = 0; c < columns.size() && c < 6; ++c)
            widths.values[c] = columns[c].width;
    }
    const CloseWriteResult result = WriteIniAtClose(app, app.startup.iniPath);
    if (!result.error.empty())
        ShowMessage(app, result.error, "Error", {MsgButtons::Ok, MsgIcon::Error});
    return result.written;
}

} // namespace lt
