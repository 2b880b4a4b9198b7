// SPDX-License-Identifier: GPL-3.0-or-later
// The unattended forms of the browser lists: typed URLs, AboutURLs, RAS autodial addresses and the
// favorites search, read from the Windows profile of a Wine prefix.
#include <functional>
#include <ostream>
#include <sstream>

#include "app/run_save.h"
#include "app/tool_form.h"
#include "app/tool_runs.h"
#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "core/job_control.h"
#include "list/list_state.h"
#include "sources/favorites_search.h"
#include "sources/netscape_typed_urls.h"
#include "sources/registry_lists.h"
#include "store/settings_io.h"

namespace lt {

namespace {

// The last message box line the engine showed, without its caption.
std::string LastMessage(const std::string& lines)
{
    std::string text = lines;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    const std::size_t nl = text.rfind('\n');
    if (nl != std::string::npos)
        text = text.substr(nl + 1);
    const std::size_t colon = text.find(": ");
    return colon == std::string::npos ? text : text.substr(colon + 2);
}

// Reads the INI file, takes --wine-prefix, runs `read` (rows, or -1 when it failed) and saves the list.
int RunBrowserList(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err,
                   const std::function<long(AppState&)>& read)
{
    std::ostringstream boxes;
    ConsoleUiPort port(boxes, false);
    AppState app(port);
    app.startup = startup;
    // Information boxes ("3 Items found !") have nobody to read them.
    app.startup.startAction = kStartSearchFolderSaveText;
    if (const std::string error = ReadIniAtStartup(app, startup.iniPath); !error.empty()) {
        err << "linktrawl: " << error << '\n';
        return kExitFailed;
    }
    if (call.Has(std::string(kWinePrefixOption)))
        app.options.winePrefix = call.AbsolutePath(call.Value(std::string(kWinePrefixOption)));
    const long rows = read(app);
    JoinWorker(app);
    RunAfterJob(app);
    if (rows < 0) {
        const std::string why =
            app.browserLists.lastError.empty() ? LastMessage(boxes.str()) : app.browserLists.lastError;
        err << "linktrawl: " << (why.empty() ? std::string("the list could not be read") : why) << '\n';
        return kExitFailed;
    }
    return SaveRunList(app, call.savePath, call.saveFormat, out, err) ? kExitOk : kExitFailed;
}

} // namespace

int RunTypedUrlsForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    const std::string browser = call.positional.front();
    if (browser != "ie" && browser != "netscape") {
        err << "linktrawl: --typed-urls takes ie or netscape, not " << browser << '\n';
        return kExitUsage;
    }
    return RunBrowserList(call, startup, out, err, [&browser](AppState& app) {
        return browser == "ie" ? ReadTypedUrls(app, kListIeTyped) : ReadNetscapeTypedUrls(app);
    });
}

int RunAboutUrlsForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    return RunBrowserList(call, startup, out, err, [](AppState& app) { return ReadTypedUrls(app, kListAboutUrls); });
}

int RunRasForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    return RunBrowserList(call, startup, out, err, [](AppState& app) { return ReadRasAutodial(app); });
}

int RunFavoritesForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    const std::string text = call.positional.empty() ? std::string() : call.positional.front();
    return RunBrowserList(call, startup, out, err, [&text](AppState& app) -> long {
        if (SearchFavorites(app, text))
            return 0;
        app.browserLists.lastError = "no favorites folder found (neither the Wine profile's Favorites folder nor "
                                     "BOOKMARKS/MSIE in the INI file names one)";
        return -1;
    });
}

} // namespace lt
