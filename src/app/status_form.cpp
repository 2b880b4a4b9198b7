// SPDX-License-Identifier: GPL-3.0-or-later
// linktrawl --check-urls FILE -save2 OUT: the "Test Url Status" of the URLs of a text file (one a
// line) with no window; retries, delay, time-out and parallel requests come from the INI file.
#include <ostream>

#include "app/run_save.h"
#include "app/tool_form.h"
#include "app/tool_runs.h"
#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "inet/fetch.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/pass_delay.h"
#include "inet/status_list.h"
#include "inet/status_test_job.h"
#include "inet/status_texts.h"
#include "platform/regular_file.h"
#include "store/settings_io.h"

namespace lt {
namespace {

// A URL list of 150000 lines of list cells at most.
constexpr std::uint64_t kMaxListBytes = 64ull << 20;
constexpr int kExportStatusList = 4;

} // namespace

int RunCheckUrlsForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    ConsoleUiPort port(err, false);
    AppState app(port);
    app.startup = startup;
    if (const std::string error = ReadIniAtStartup(app, startup.iniPath); !error.empty()) {
        err << "linktrawl: " << error << '\n';
        return kExitUsage;
    }
    std::string bytes;
    std::string error;
    if (!ReadRegularFile(call.AbsolutePath(call.positional.front()), kMaxListBytes, bytes, error)) {
        err << "linktrawl: " << error << '\n';
        return kExitUsage;
    }
    // Every line gets a status, also one that is no URL: a script learns which lines were bad.
    StatusList rows;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(pos, end - pos);
        pos = end + 1;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos)
            continue;
        line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
        rows.Add(line.substr(0, 259));
    }
    if (rows.Count() == 0) {
        err << "linktrawl: no URLs in " << call.positional.front() << '\n';
        return kExitUsage;
    }

    const InetOptions& inet = app.options.inet;
    StatusTestSettings settings;
    settings.retries = inet.retries;
    settings.parallel = inet.parallelRequests;
    settings.fetch = FetchSettingsFrom(inet, false);
    StatusTestControls controls;
    controls.delayMinutes = inet.delayMinutes;
    InetSlot& slot = app.inetSlots[3];
    slot.state = kSlotRunning;
    RealPassClock clock;
    StatusTestObserver quiet;
    const StatusTestResult result = StatusTestJob(slot, rows, controls, settings, clock, quiet);
    slot.state = kSlotFree;
    if (!result.error.empty()) {
        err << "linktrawl: " << result.error << '\n';
        return kExitUsage;
    }

    app.list.SetAutoSort(AutoSort::Off);
    app.list.SetColumns(rows.Rows().Columns());
    app.list.ClearRows();
    rows.Rows().ForEachRow([&app](std::size_t, const ResultRow& row) { app.list.InsertRow(row); });
    if (!SaveRunList(app, call.AbsolutePath(call.savePath), call.saveFormat, out, err, kExportStatusList))
        return kExitUsage;
    const std::size_t ok = rows.OkCount();
    out << CounterText(static_cast<long>(rows.Count()), static_cast<long>(ok), 2) << '\n';
    return ok == rows.Count() ? kExitOk : kExitFailed;
}

} // namespace lt
