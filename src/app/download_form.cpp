// SPDX-License-Identifier: GPL-3.0-or-later
// linktrawl --download FILE --save-dir DIR: the batch download with no window. Retries and
// "Delay (min)" come from the INI file; every success is logged in DIR/linktrawl.log.
#include <ostream>

#include "app/tool_form.h"
#include "app/tool_runs.h"
#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "inet/delay_clock.h"
#include "inet/download_job.h"
#include "inet/fetch.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/save_names.h"
#include "store/settings_io.h"

namespace lt {
namespace {

// Message boxes of the job become lines on standard error.
class ConsoleDownloadObserver : public DownloadObserver
{
public:
    explicit ConsoleDownloadObserver(std::ostream& err) : m_err(err) {}
    void Message(const std::string& text, const std::string&) override { m_err << "linktrawl: " << OneLine(text) << '\n'; }

private:
    std::ostream& m_err;
};

} // namespace

int RunDownloadForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    if (!call.Has("--save-dir") || call.Value("--save-dir").empty()) {
        err << "linktrawl: --download needs --save-dir DIR\n";
        return kExitUsage;
    }
    ConsoleUiPort port(err, false);
    AppState app(port);
    app.startup = startup;
    if (const std::string error = ReadIniAtStartup(app, startup.iniPath); !error.empty()) {
        err << "linktrawl: " << error << '\n';
        return kExitUsage;
    }
    DownloadList list;
    std::string error;
    const std::string listPath = call.AbsolutePath(call.positional.front());
    if (ReadDownloadListFile(list, listPath, error) < 0) {
        err << "linktrawl: " << OneLine(error) << '\n';
        return kExitUsage;
    }
    if (list.empty()) {
        err << "linktrawl: no URL in " << listPath << '\n';
        return kExitUsage;
    }
    DownloadSettings settings;
    settings.saveDir = call.AbsolutePath(call.Value("--save-dir"));
    while (settings.saveDir.size() > 1 && settings.saveDir.back() == '/')
        settings.saveDir.pop_back();
    if (!EnsureDirectory(settings.saveDir, true)) {
        err << "linktrawl: can not create the directory " << settings.saveDir << '\n';
        return kExitUsage;
    }
    const InetOptions& inet = app.options.inet;
    settings.retries = inet.retries;
    settings.delayMinutes = inet.delayMinutes;
    settings.logUrl = true;
    settings.parallel = inet.parallelRequests;

    InetSlot& slot = app.inetSlots[1];
    slot.state = kSlotRunning;
    const long total = static_cast<long>(list.size());
    ConsoleDownloadObserver observer(err);
    const DelayClock clock;
    DelayGate gate;
    DownloadJob job(slot, FetchSettingsFrom(inet, false), observer, clock, gate);
    const DownloadResult result = job.RunBatch(list, settings, 0);
    slot.state = kSlotFree;
    if (!result.error.empty()) {
        err << "linktrawl: " << OneLine(result.error) << '\n';
        // No session at all is a set-up error; a target that could not be made ended the job.
        if (result.error.rfind("Can not connect", 0) == 0)
            return kExitUsage;
    }
    for (const DownloadRow& row : list)
        err << "linktrawl: " << row.url << ": " << (row.info.empty() ? std::string("not downloaded") : row.info)
            << '\n';
    out << CounterText(total, result.retrieved, 0) << '\n';
    return list.empty() ? kExitOk : kExitFailed;
}

} // namespace lt
