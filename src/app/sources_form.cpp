// SPDX-License-Identifier: GPL-3.0-or-later
// The unattended forms of the browser-data readers: index files, Netscape history, cookie files.
#include <ostream>
#include <sys/stat.h>

#include "app/run_save.h"
#include "app/tool_form.h"
#include "app/tool_runs.h"
#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "list/list_kind.h"
#include "sources/byte_source.h"
#include "sources/cookie_text.h"
#include "sources/index_file.h"
#include "sources/index_jobs.h"
#include "sources/netscape_history.h"
#include "sources/netscape_profile.h"
#include "sources/profile_folders.h"
#include "sources/windows_registry.h"
#include "store/settings_io.h"

namespace lt {

namespace {

constexpr std::size_t kMaxLabel = 63;

// The program state of one run: no window, information boxes dropped, failures on `err`.
class FormRun
{
public:
    FormRun(const StartupState& startup, std::ostream& err) : m_port(err, false), app(m_port)
    {
        app.startup = startup;
        app.startup.startAction = kStartSearchFilesSaveText;
    }
    // The INI file, then --wine-prefix over its prefix.
    bool ReadIni(const ToolInvocation& call, std::ostream& err)
    {
        if (const std::string error = ReadIniAtStartup(app, app.startup.iniPath); !error.empty()) {
            err << "linktrawl: " << error << '\n';
            return false;
        }
        if (call.Has(std::string(kWinePrefixOption)))
            app.options.winePrefix = call.AbsolutePath(call.Value(std::string(kWinePrefixOption)));
        return true;
    }
    int Save(const ToolInvocation& call, std::ostream& out, std::ostream& err)
    {
        return SaveRunList(app, call.savePath, call.saveFormat, out, err) ? kExitOk : kExitFailed;
    }

private:
    ConsoleUiPort m_port;

public:
    AppState app;
};

bool IsFolder(const std::string& path)
{
    struct stat facts {};
    return stat(path.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode);
}

bool CanRead(const std::string& path, std::ostream& err)
{
    FileByteSource source;
    std::string error;
    if (source.Open(path, error))
        return true;
    err << "linktrawl: Could not open " << path << '\n';
    return false;
}

std::string DescribePrefix(const AppState& app)
{
    const std::string prefix = ProfilePrefix(app);
    return prefix.empty() ? std::string("(none: no --wine-prefix, $WINEPREFIX or ~/.wine)") : prefix;
}

// The folder named on the command line, else the Windows profile's special folder.
bool ArgumentOrProfileFolder(const ToolInvocation& call, const AppState& app, std::string SpecialFolders::*which,
                             const char* what, std::string& folder, std::ostream& err)
{
    if (!call.positional.empty()) {
        folder = call.AbsolutePath(call.positional.front());
        return true;
    }
    folder = FindSpecialFolders(app).*which;
    if (!folder.empty())
        return true;
    err << "linktrawl: no " << what << " folder in the Windows profile " << DescribePrefix(app)
        << "; name the folder\n";
    return false;
}

} // namespace

int RunIeHistoryForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    FormRun run(startup, err);
    if (!run.ReadIni(call, err))
        return kExitFailed;
    std::string folder;
    if (!ArgumentOrProfileFolder(call, run.app, &SpecialFolders::history, "history", folder, err))
        return kExitFailed;
    if (!IsFolder(folder)) {
        err << "linktrawl: Could not read the folder " << folder << '\n';
        return kExitFailed;
    }
    const std::string mainPath = MainHistoryPath(folder);
    if (!CanRead(mainPath, err))
        return kExitFailed;
    if (!StartCurrentHistory(run.app, folder)) {
        err << "linktrawl: the history reading could not start\n";
        return kExitFailed;
    }
    JoinWorker(run.app);
    return run.Save(call, out, err);
}

int RunIndexFileForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    const std::string path = call.AbsolutePath(call.positional.at(0));
    const std::string kindName = call.Value("--index-kind", "main");
    int kind;
    if (kindName == "main")
        kind = kIndexMainHistory;
    else if (kindName == "sub")
        kind = kIndexSubHistory;
    else if (kindName == "cache")
        kind = kIndexTempFiles;
    else if (kindName == "cookie")
        kind = kIndexCookies;
    else {
        err << "linktrawl: --index-kind takes main, sub, cache or cookie, not " << kindName << '\n';
        return kExitUsage;
    }
    FormRun run(startup, err);
    if (!run.ReadIni(call, err))
        return kExitFailed;
    if (!CanRead(path, err))
        return kExitFailed;
    std::string label = call.Has("--label") ? call.Value("--label")
                                            : (kind == kIndexCookies ? run.app.sources.dialogCookieLabel
                                                                     : run.app.sources.historyLabel);
    if (label.size() > kMaxLabel)
        label.resize(kMaxLabel);
    if (kind == kIndexCookies) {
        if (!ReadCookieIndex(run.app, path, label)) {
            err << "linktrawl: " << path << " is no cookie index file (File format not valid !)\n";
            return kExitFailed;
        }
    } else {
        if (!StartIndexFileJob(run.app, path, label, kind)) {
            err << "linktrawl: the index file reading could not start\n";
            return kExitFailed;
        }
        JoinWorker(run.app);
    }
    return run.Save(call, out, err);
}

int RunNetscapeHistoryForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out,
                           std::ostream& err)
{
    FormRun run(startup, err);
    if (!run.ReadIni(call, err))
        return kExitFailed;
    std::string path;
    if (!call.positional.empty()) {
        path = call.AbsolutePath(call.positional.front());
    } else if (!FindNetscapeProfile(run.app, path)) {
        err << "linktrawl: no Netscape profile found (nsreg.dat) in the Windows profile "
            << DescribePrefix(run.app) << "; name the history file or profile folder\n";
        return kExitFailed;
    }
    if (IsFolder(path))
        path = NetscapeHistoryIn(path);
    if (!CanRead(path, err))
        return kExitFailed;
    ReadNetscapeHistory(run.app, path);
    return run.Save(call, out, err);
}

int RunCookieFilesForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    FormRun run(startup, err);
    if (!run.ReadIni(call, err))
        return kExitFailed;
    std::string folder;
    if (!ArgumentOrProfileFolder(call, run.app, &SpecialFolders::cookies, "cookie", folder, err))
        return kExitFailed;
    if (!IsFolder(folder)) {
        err << "linktrawl: Could not read the folder " << folder << '\n';
        return kExitFailed;
    }
    if (!StartCookieTextJob(run.app, folder)) {
        err << "linktrawl: the cookie file reading could not start\n";
        return kExitFailed;
    }
    JoinWorker(run.app);
    return run.Save(call, out, err);
}

} // namespace lt
