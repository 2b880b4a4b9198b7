// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/export_common.h"

#include <cstdio>

#include "core/app_state.h"
#include "core/messages.h"
#include "export/export_columns.h"

namespace lt {

bool ExportMayRun(const AppState& app, int kind)
{
    return kind >= 2 || !app.jobs.Running();
}

bool ExportMayStart(AppState& app, const ResultList& list, const std::string& path, bool selectedOnly,
                    int kind)
{
    if (!ExportMayRun(app, kind) || list.RowCount() == 0)
        return false;
    if (!ExportColumnsAvailable(app.exportSettings, list, kind)) {
        ShowMessage(app, kColumnsMissingText, "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
        return false;
    }
    if (path.empty())
        return false;
    return !selectedOnly || !list.SelectedRows().empty();
}

void AppendOneLine(std::string& out, std::string_view text)
{
    const std::size_t start = out.size();
    out.append(text);
    for (std::size_t i = start; i < out.size(); ++i)
        if (out[i] == '\r' || out[i] == '\n')
            out[i] = ' ';
}

std::string WrapPathForMessage(const std::string& path)
{
    constexpr std::size_t kWrapWidth = 32;
    if (path.size() <= kWrapWidth)
        return path;
    const std::size_t slash = path.rfind('/', kWrapWidth - 1);
    if (slash == std::string::npos)
        return path;
    std::string wrapped = path;
    wrapped.insert(slash + 1, 1, ' ');
    return wrapped;
}

void ReportCannotOpen(AppState& app, const std::string& path)
{
    ShowMessage(app, std::string(kCannotOpenText) + " " + path + " !", "Error", {MsgButtons::Ok, MsgIcon::Error});
}

void ReportCannotWrite(AppState& app, const std::string& path)
{
    ShowMessage(app, std::string(kCannotWriteText) + " " + path + " !", "Error", {MsgButtons::Ok, MsgIcon::Error});
}

std::string ExportDateText(const std::tm& local)
{
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int day = local.tm_wday >= 0 && local.tm_wday < 7 ? local.tm_wday : 0;
    const int month = local.tm_mon >= 0 && local.tm_mon < 12 ? local.tm_mon : 0;
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %2d, %02d:%02d, %d", kDays[day], kMonths[month], local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_year + 1900);
    return text;
}

bool IsHitRateExport(const AppState& app, int kind)
{
    return kind <= 1 && app.listState.hitRateMode != 0;
}

} // namespace lt
