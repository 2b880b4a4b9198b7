// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/column_fit.h"

#include <algorithm>

#include "core/app_state.h"

namespace lt {

namespace {

constexpr int kStandardWidths[] = {240, 240, 240, 84, 58, 120, 88, 84, 128, 84, 140};
constexpr int kMaxShrinkRounds = 1000;

int ContentWidth(const FitMetrics& m, std::size_t column)
{
    const int w = column < m.contentWidths.size() ? m.contentWidths[column] : 0;
    return std::max(kMinColumnWidth, w);
}

void FitOne(ColumnState& c, int content)
{
    if (!c.fitted) {
        c.savedWidth = c.width;
        c.width = content;
        c.fitted = true;
    } else {
        c.width = c.savedWidth;
        c.fitted = false;
    }
}

void FitToClient(std::vector<ColumnState>& columns, const FitMetrics& m)
{
    const int n = static_cast<int>(columns.size());
    if (n == 0 || m.clientWidth < 100 * n)
        return;
    for (auto& c : columns)
        if (!c.fitted)
            c.savedWidth = c.width;
    for (int i = 1; i < n; ++i) {
        auto& c = columns[static_cast<std::size_t>(i)];
        c.width = (c.type == kColText || c.type == kColTitle) ? m.clientWidth / n
                                                               : StandardColumnWidth(c.type, m.fontProbeWidth);
    }
    auto rest = [&] {
        int others = 0;
        for (int i = 1; i < n; ++i)
            others += columns[static_cast<std::size_t>(i)].width;
        return m.clientWidth - others;
    };
    // Column 0 should get at least half: the wide free-text columns give way a pixel a round.
    for (int round = 0; round < kMaxShrinkRounds && rest() < m.clientWidth / 2; ++round) {
        bool shrank = false;
        for (int i = 1; i < n; ++i) {
            auto& c = columns[static_cast<std::size_t>(i)];
            if (c.width > kMinColumnWidth && c.type != kColDate && c.type != kColOffset && c.type != kColLine) {
                --c.width;
                shrank = true;
            }
        }
        if (!shrank)
            break;
    }
    columns[0].width = std::max(kMinColumnWidth, rest());
    for (auto& c : columns)
        c.fitted = true;
}

} // namespace

int StandardColumnWidth(int type, int fontProbeWidth)
{
    if (type < 0 || type > kColParsed)
        return kStandardWidths[0];
    int width = kStandardWidths[type];
    if (fontProbeWidth > 90) {
        if (type == kColHits)
            width += 6;
        else if (type == kColOffset)
            width += 4;
        else if (type == kColDate)
            width += 14;
    }
    if (fontProbeWidth > 110) {
        if (type == kColOffset)
            width += 8;
        else if (type == kColDate)
            width += 32;
    }
    return width;
}

void FitColumnWidths(std::vector<ColumnState>& columns, int column, int mode, const FitMetrics& m)
{
    if (columns.empty())
        return;
    if (column >= 0) {
        if (static_cast<std::size_t>(column) >= columns.size())
            return;
        auto& c = columns[static_cast<std::size_t>(column)];
        if (c.type != kColHits)
            FitOne(c, ContentWidth(m, static_cast<std::size_t>(column)));
        return;
    }
    if (column == -2) {
        int used = 0;
        for (const auto& c : columns)
            used += c.width;
        const int free = m.clientWidth - used;
        const auto main = static_cast<std::size_t>(std::clamp(m.mainColumn, 0, static_cast<int>(columns.size()) - 1));
        if (free > 40)
            columns[main].width += free - m.scrollBarWidth;
        return;
    }
    if (mode == 1 || mode == 2) {
        FitToClient(columns, m);
        return;
    }
    const bool allFitted = std::all_of(columns.begin(), columns.end(), [](const ColumnState& c) { return c.fitted; });
    for (std::size_t i = 0; i < columns.size(); ++i) {
        auto& c = columns[i];
        if (allFitted) {
            c.width = c.savedWidth;
            c.fitted = false;
        } else {
            if (!c.fitted)
                c.savedWidth = c.width;
            c.width = ContentWidth(m, i);
            c.fitted = true;
        }
    }
}

void FitColumns(AppState& app, int column, int mode, const std::vector<int>& contentWidths)
{
    FitMetrics m;
    m.clientWidth = app.listState.clientWidth;
    m.scrollBarWidth = app.listState.scrollBarWidth;
    m.contentWidths = contentWidths;
    m.fontProbeWidth = app.listState.fontProbeWidth;
    m.mainColumn = app.listState.kind == kListFileSearch && app.settings.itemKind == kItemIp &&
                           app.listState.hitRateMode == 0
                       ? 1
                       : 0;
    std::vector<ColumnState> columns = app.list.Columns();
    FitColumnWidths(columns, column, mode, m);
    app.list.SetColumns(std::move(columns));
}

} // namespace lt
