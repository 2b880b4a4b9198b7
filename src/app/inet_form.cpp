// SPDX-License-Identifier: GPL-3.0-or-later
// linktrawl --crawl URL [--level N] [--save-dir DIR] -save2 FILE: the "Read Internet Files"
// crawl with no window; every other setting comes from the INI file.
#include <cstdlib>
#include <ostream>

#include "app/run_save.h"
#include "app/tool_form.h"
#include "app/tool_runs.h"
#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "inet/crawl_job.h"
#include "inet/fetch.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "list/list_kind.h"
#include "search/item_kind.h"
#include "store/settings_io.h"

namespace lt {

int RunCrawlForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    ConsoleUiPort port(err, false);
    AppState app(port);
    app.startup = startup;
    if (const std::string error = ReadIniAtStartup(app, startup.iniPath); !error.empty()) {
        err << "linktrawl: " << error << '\n';
        return kExitFailed;
    }
    std::string url = call.positional.front();
    // "www.example.org" is read as http; another scheme is refused, not wrapped.
    const bool otherScheme = ProtocolOf(url) == 0 && url.find("://") != std::string::npos;
    if (ProtocolOf(url) == 0 && !otherScheme)
        url = "http://" + url;
    if (otherScheme || !IsUrlText(url) || url.size() > 259) {
        err << "linktrawl: not an http, https or ftp address: " << call.positional.front() << '\n';
        return kExitUsage;
    }
    const InetOptions& inet = app.options.inet;
    CrawlSettings settings = CrawlSettingsFrom(inet);
    settings.followLinks = true;
    if (call.Has("--level")) {
        char* end = nullptr;
        const std::string text = call.Value("--level");
        const long level = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || level < 0 || level > 999) {
            err << "linktrawl: --level needs a number from 0 to 999\n";
            return kExitUsage;
        }
        settings.level = static_cast<int>(level);
    }
    // Pages are saved only where the command line says.
    settings.saveToDisk = call.Has("--save-dir");
    if (settings.saveToDisk)
        settings.saveDir = call.AbsolutePath(call.Value("--save-dir"));
    settings.enumerativeNames = settings.enumerativeNames && !settings.baseFileName.empty();

    SelectItemKind(app);
    if (!PrepareScan(app)) {
        err << "linktrawl: the search settings of the INI file cannot be used (check the item kind)\n";
        return kExitFailed;
    }
    SwitchListKind(app, settings.saveToDisk ? kListInetSaved : kListInetRead);
    app.list.SetAutoSort(AutoSort::Off);

    InetSlot& slot = app.inetSlots[0];
    slot.state = kSlotRunning;
    app.jobs.jobCode = kJobInetRead;
    CrawlQueue queue;
    queue.Add(url, 0, {});
    CrawlObserver quiet;
    const CrawlResult result = CrawlJob(app, slot, settings, FetchSettingsFrom(inet, true), queue, quiet);
    slot.state = kSlotFree;
    app.jobs.jobCode = kJobIdle;
    if (!result.error.empty()) {
        std::string line = result.error;
        for (char& c : line)
            if (c == '\r' || c == '\n')
                c = ' ';
        err << "linktrawl: " << line << '\n';
        return kExitFailed;
    }
    if (!SaveRunList(app, call.AbsolutePath(call.savePath), call.saveFormat, out, err))
        return kExitFailed;
    out << CounterText(result.retrieved + static_cast<long>(queue.Rows().size()), result.retrieved, 0) << '\n';
    // Nothing read at all (the start page failed) is worth telling a script apart.
    return result.retrieved == 0 ? kExitIncomplete : kExitOk;
}

} // namespace lt
