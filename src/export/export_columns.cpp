// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_columns.h"

#include <algorithm>

namespace lt {

namespace {

std::string CutHeader(std::string text)
{
    if (text.size() > kMaxHeaderLength)
        text.resize(kMaxHeaderLength);
    return text;
}

void ReadHeaders(const ResultList& list, ExportColumns& columns)
{
    if (list.ColumnCount() > 0)
        columns.firstHeader = CutHeader(list.GetHeaderText(0));
    for (int column : columns.listOrder)
        columns.headers[static_cast<std::size_t>(column)] = CutHeader(list.GetHeaderText(column));
}

} // namespace

bool ExportColumns::Has(int column) const
{
    return std::find(listOrder.begin(), listOrder.end(), column) != listOrder.end();
}

std::array<int, kExportFlagCount> ColumnOrderFromText(std::string_view text)
{
    std::array<int, kExportFlagCount> order{};
    std::array<bool, kExportFlagCount + 1> taken{};
    std::size_t place = 0;
    for (char c : text) {
        if (place == order.size())
            break;
        if (c < '1' || c > '0' + kExportFlagCount)
            continue;
        const int digit = c - '0';
        if (taken[static_cast<std::size_t>(digit)])
            continue;
        taken[static_cast<std::size_t>(digit)] = true;
        order[place++] = digit;
    }
    for (int digit = 1; digit <= kExportFlagCount && place < order.size(); ++digit)
        if (!taken[static_cast<std::size_t>(digit)])
            order[place++] = digit;
    return order;
}

bool IsValidColumnOrder(std::string_view text)
{
    if (text.size() != static_cast<std::size_t>(kExportFlagCount))
        return false;
    std::array<bool, kExportFlagCount + 1> seen{};
    for (char c : text) {
        if (c < '1' || c > '0' + kExportFlagCount || seen[static_cast<std::size_t>(c - '0')])
            return false;
        seen[static_cast<std::size_t>(c - '0')] = true;
    }
    return true;
}

std::array<bool, kExportFlagCount> EffectiveExportFlags(const ExportSettings& settings)
{
    std::array<bool, kExportFlagCount> flags = settings.columns;
    if (std::none_of(flags.begin(), flags.end(), [](bool on) { return on; }))
        flags[0] = true;
    return flags;
}

int FirstExportedColumn(const ExportSettings& settings)
{
    const auto flags = EffectiveExportFlags(settings);
    for (int i = 0; i < kExportFlagCount; ++i)
        if (flags[static_cast<std::size_t>(i)])
            return i;
    return 0;
}

bool ExportColumnsAvailable(const ExportSettings& settings, const ResultList& list, int kind)
{
    if (kind >= 2)
        return true;
    return list.ColumnCount() > FirstExportedColumn(settings);
}

ExportColumns PlanExportColumns(const ExportSettings& settings, const ResultList& list, int kind)
{
    std::array<bool, kExportFlagCount> flags{};
    switch (kind) {
    case 0:
    case 1: flags = EffectiveExportFlags(settings); break;
    case 2:
        flags[0] = true;
        if (settings.crawlReportOption == 3)
            flags[1] = flags[2] = flags[3] = true;
        break;
    case 4:
    case 5: flags[0] = flags[1] = true; break;
    default: flags[0] = true; break;
    }
    const int columnCount = std::min(list.ColumnCount(), kExportFlagCount);

    ExportColumns columns;
    for (int column = 0; column < columnCount; ++column)
        if (flags[static_cast<std::size_t>(column)])
            columns.listOrder.push_back(column);
    if (kind <= 1) {
        for (int digit : ColumnOrderFromText(settings.order))
            if (columns.Has(digit - 1))
                columns.textOrder.push_back(digit - 1);
    } else {
        columns.textOrder = columns.listOrder;
    }
    ReadHeaders(list, columns);
    return columns;
}

ExportColumns SingleExportColumn(const ResultList& list, int column)
{
    ExportColumns columns;
    const int count = list.ColumnCount();
    if (count <= 0)
        return columns;
    column = std::clamp(column, 0, count - 1);
    columns.listOrder.push_back(column);
    columns.textOrder.push_back(column);
    ReadHeaders(list, columns);
    return columns;
}

} // namespace lt
