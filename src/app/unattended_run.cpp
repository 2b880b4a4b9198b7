// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/unattended_run.h"

#include <fcntl.h>
#include <mutex>
#include <ostream>
#include <unistd.h>

#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "core/window_messages.h"
#include "export/list_export.h"
#include "list/list_kind.h"
#include "search/search_jobs.h"
#include "store/settings_io.h"

namespace lt {

namespace {

enum ExitStatus : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

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

bool IsHtmlAction(int action)
{
    return action == kStartSearchFilesSaveHtml || action == kStartSearchFolderSaveHtml ||
           action == kStartJobSaveHtml;
}

bool IsFolderAction(int action)
{
    return action == kStartSearchFolderSaveText || action == kStartSearchFolderSaveHtml;
}

// An empty result still replaces the output, so that an old file never passes for this run's.
bool WriteEmptyFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    return close(fd) == 0;
}

} // namespace

int RunUnattended(const StartupState& startup, std::ostream& out, std::ostream& err)
{
    const int action = startup.startAction;
    if (!IsUnattendedAction(action)) {
        err << "linktrawl: nothing to run unattended\n";
        return kExitUsage;
    }
    if (action == kStartJobSaveText || action == kStartJobSaveHtml) {
        err << "linktrawl: job files cannot be run without the window yet\n";
        return kExitUsage;
    }
    if (startup.saveOutputPath.empty()) {
        err << "linktrawl: no file to save the results to\n";
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

    const std::string& path = startup.saveOutputPath;
    const std::size_t rows = app.list.RowCount();
    bool written;
    if (rows == 0)
        written = WriteEmptyFile(path);
    else if (IsHtmlAction(action))
        written = ExportHtml(app, app.list, path, false, 0);
    else
        written = ExportText(app, app.list, path, false, 0, ExistingFile::Replace);
    if (!written) {
        err << "linktrawl: Could not write " << path << '\n';
        return kExitFailed;
    }
    out << "Results saved to " << path << " (" << rows << (rows == 1 ? " row" : " rows") << ")\n";
    return kExitOk;
}

} // namespace lt
