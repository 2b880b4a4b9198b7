// SPDX-License-Identifier: GPL-3.0-or-later
// The "Read Internet Files" crawl with no window: linktrawl --crawl URL [--level N]
// [--save-dir DIR] -save2 FILE (every other setting from the INI file), and a job file run by
// linktrawl -job FILE.ltj -save2 FILE.
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
#include "inet/quick_read.h"
#include "inet/urls_from_file.h"
#include "store/settings_io.h"

namespace lt {

namespace {

// Crawls the queue on this thread, saves the hits and prints the counter line. Exit status 0
// when pages were read and the file written, 3 when the file was written but nothing was read.
int RunHeadlessCrawl(AppState& app, const CrawlSettings& settings, CrawlQueue& queue, const std::string& savePath,
                     SaveFormat format, std::ostream& out, std::ostream& err)
{
    if (!PrepareCrawlResults(app, settings.saveToDisk)) {
        err << "linktrawl: the search settings cannot be used (check the item kind)\n";
        return kExitFailed;
    }
    InetSlot& slot = app.inetSlots[0];
    slot.state = kSlotRunning;
    app.jobs.jobCode = kJobInetRead;
    CrawlObserver quiet;
    const CrawlResult result =
        CrawlJob(app, slot, settings, FetchSettingsFrom(app.options.inet, true), queue, quiet);
    slot.state = kSlotFree;
    app.jobs.jobCode = kJobIdle;
    if (!result.error.empty()) {
        err << "linktrawl: " << OneLine(result.error) << '\n';
        return kExitFailed;
    }
    if (!SaveRunList(app, savePath, format, out, err))
        return kExitFailed;
    out << CounterText(result.retrieved + static_cast<long>(queue.Rows().size()), result.retrieved, 0) << '\n';
    // Nothing read at all (the start page failed) is worth telling a script apart.
    return result.retrieved == 0 ? kExitIncomplete : kExitOk;
}

} // namespace

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
    CrawlSettings settings = CrawlSettingsFrom(app.options.inet);
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

    CrawlQueue queue;
    queue.Add(url, 0, {});
    return RunHeadlessCrawl(app, settings, queue, call.AbsolutePath(call.savePath), call.saveFormat, out, err);
}

int RunJobUnattended(const StartupState& startup, std::ostream& out, std::ostream& err)
{
    if (startup.saveOutputPath.empty()) {
        err << "linktrawl: no file to save the results to\n";
        return kExitUsage;
    }
    if (std::string error; !SavePathUsable(startup.saveOutputPath, error)) {
        err << "linktrawl: " << error << '\n';
        return kExitUsage;
    }
    ConsoleUiPort port(err, false);
    AppState app(port);
    app.startup = startup;
    if (const std::string error = ReadIniAtStartup(app, startup.iniPath); !error.empty()) {
        err << "linktrawl: " << error << '\n';
        return kExitFailed;
    }
    std::string error;
    if (ReadSettings(app, startup.startFile, kSettingsLoadJob, &error) < 0) {
        err << "linktrawl: No Search Settings found in " << startup.startFile << '\n';
        return kExitFailed;
    }
    const InetOptions& o = app.options.inet;
    CrawlSettings settings = CrawlSettingsFrom(o);
    settings.enumerativeNames = settings.enumerativeNames && !settings.baseFileName.empty();
    CrawlQueue queue;
    if (settings.followLinks) {
        if (o.startUrl.size() >= 8)
            queue.Add(o.startUrl, 0, {});
        // The URLs of a file count only together with Follow Links, as in the dialog.
        if (o.urlsFromFile && !o.urlFile.empty()) {
            std::string first;
            if (UrlsFromFile(queue, o.urlFile, startup.programFolder, first, error) < 0) {
                err << "linktrawl: " << OneLine(error) << '\n';
                return kExitFailed;
            }
        }
    } else if (const std::string url = QuickReadUrl(o.startUrl); IsUrlText(url)) {
        queue.Add(url, 0, {});
    }
    if (queue.Rows().empty()) {
        err << "linktrawl: the job " << startup.startFile << " names no URL to read\n";
        return kExitFailed;
    }
    const SaveFormat format = startup.startAction == kStartJobSaveHtml ? SaveFormat::Html
                              : startup.saveCsv                         ? SaveFormat::Csv
                                                                        : SaveFormat::Text;
    return RunHeadlessCrawl(app, settings, queue, startup.saveOutputPath, format, out, err);
}

} // namespace lt
