// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/unattended_run.h"

#include <fcntl.h>
#include <mutex>
#include <ostream>
#include <unistd.h>

#include "app/run_save.h"
#include "app/session_run.h"
#include "app/tool_form.h"
#include "app/tool_runs.h"
#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "core/window_messages.h"
#include "list/list_kind.h"
#include "search/search_jobs.h"
#include "store/settings_io.h"

namespace lt {

namespace {

// Set by the worker's kMsgSearchDone.
struct DoneSignal
{
    std::mutex mutex;
    bool done = false;

    void Set()
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    bool IsSet()
    {
        std::lock_guard lock(mutex);
        return done;
    }
};

bool CanOpen(const std::string& path, int flags)
{
    const int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

SaveFormat FormatOf(const StartupState& startup)
{
    const int action = startup.startAction;
    if (action == kStartSearchFilesSaveHtml || action == kStartSearchFolderSaveHtml || action == kStartJobSaveHtml)
        return SaveFormat::Html;
    return startup.saveCsv ? SaveFormat::Csv : SaveFormat::Text;
}

bool IsFolderAction(int action)
{
    return action == kStartSearchFolderSaveText || action == kStartSearchFolderSaveHtml;
}

} // namespace

int RunUnattended(const StartupState& startup, std::ostream& out, std::ostream& err)
{
    const int action = startup.startAction;
    if (!IsUnattendedAction(action)) {
        err << "linktrawl: nothing to run unattended\n";
        return kExitUsage;
    }
    if (startup.startFileKind == 3)
        return RunSessionUnattended(startup, out, err);
    if (action == kStartJobSaveText || action == kStartJobSaveHtml)
        return RunJobUnattended(startup, out, err);
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
    DoneSignal done;
    port.SetPostHandler([&done](int message, std::intptr_t, std::intptr_t) {
        if (message == kMsgSearchDone)
            done.Set();
    });

    if (const std::string error = ReadIniAtStartup(app, startup.iniPath); !error.empty()) {
        err << "linktrawl: " << error << '\n';
        return kExitFailed;
    }
    if (startup.threads >= 0)
        app.settings.threads = startup.threads;
    app.listState.kind = kListFileSearch;
    ApplyListKind(app, 2);

    bool started = false;
    if (IsFolderAction(action)) {
        if (!CanOpen(startup.searchTarget, O_RDONLY | O_DIRECTORY)) {
            err << "linktrawl: Could not read the folder " << startup.searchTarget << '\n';
            return kExitFailed;
        }
        SetupFolderSearch(app, startup.searchTarget);
        started = StartFolderSearch(app);
    } else {
        const auto paths = SelectionPaths(startup.searchTarget);
        if (paths.size() == 1 && !CanOpen(paths.front(), O_RDONLY)) {
            err << "linktrawl: Could not open " << paths.front() << '\n';
            return kExitFailed;
        }
        started = SearchPickedFilesCommand(app, startup.searchTarget);
    }
    if (!started) {
        err << "linktrawl: the search could not start (check the item kind and the user string in "
            << (startup.iniPath.empty() ? std::string("the INI file") : startup.iniPath) << ")\n";
        return kExitFailed;
    }
    // The worker posts kMsgSearchDone as its last act; a job that failed half way never does,
    // so the run waits for the thread itself and then looks for the message.
    JoinWorker(app);
    if (!done.IsSet()) {
        err << "linktrawl: the search ended before it was done\n";
        return kExitFailed;
    }

    if (!SaveRunList(app, startup.saveOutputPath, FormatOf(startup), out, err))
        return kExitFailed;
    return port.UnreadableCount() > 0 ? kExitIncomplete : kExitOk;
}

} // namespace lt
