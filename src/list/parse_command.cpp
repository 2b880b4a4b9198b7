// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/parse_command.h"

#include <sys/stat.h>

#include "core/app_state.h"
#include "core/messages.h"
#include "list/add_result_row.h"
#include "list/list_kind.h"

namespace lt {
namespace {

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

void PrepareParseList(AppState& app, const ParsePlan& plan)
{
    SwitchListKind(app, kListParsedText);
    std::vector<ColumnState> columns = app.list.Columns();
    columns.resize(6);
    const std::array<std::string, 6> headers = ParseHeaders(plan);
    for (int c = 0; c < 6; ++c) {
        columns[c].header = headers[c];
        columns[c].type = c == plan.lineColumn ? kColLine : c == plan.fileColumn ? kColPath : kColParsed;
    }
    app.list.SetColumns(columns);
    if (plan.keepOrder)
        app.list.SetAutoSort(AutoSort::Off);
    app.listState.parseTextFileMode = plan.mode == ParseMode::Line;
}

long ParseIntoList(AppState& app, const ParsePlan& plan, const std::string& target, bool folder,
                   const std::function<bool()>& stop)
{
    long rows = 0;
    const ParseEmit emit = [&app](ParseRow& cells) {
        std::array<std::string, 8> rest{};
        for (int c = 1; c < 6; ++c)
            rest[c - 1] = std::move(cells[c]);
        AddRow(app.list, app.listState.paramCounter, cells[0], rest, 1,
               static_cast<uint32_t>(app.listState.paramCounter + 1));
        if ((app.list.RowCount() & 1023) == 0)
            app.status.ShowRowCount(static_cast<long>(app.list.RowCount()));
    };
    if (!folder)
        return ParseFileInto(plan, target, emit, stop);
    for (const std::string& file : ParseFolderFiles(target)) {
        if (stop && stop())
            break;
        rows += ParseFileInto(plan, file, emit, stop);
    }
    return rows;
}

bool ParseCommand(AppState& app, const ParseSettings& settings)
{
    if (app.jobs.Running() || settings.parseFile.empty())
        return false;
    const bool folder = IsFolder(settings.parseFile);
    const ParsePlan plan = MakeParsePlan(settings, folder);
    PrepareParseList(app, plan);
    const std::string target = settings.parseFile;
    return StartJob(app, kJobFileList, [plan, target, folder](AppState& a) {
        const long rows = ParseIntoList(a, plan, target, folder, [&a] { return a.jobs.Code() == 0; });
        a.jobs.jobCode.store(0);
        ReportResult(a, rows, false);
    });
}

} // namespace lt
