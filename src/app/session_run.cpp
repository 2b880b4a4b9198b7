// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/session_run.h"

#include <ostream>
#include <sstream>

#include "app/run_save.h"
#include "app/tool_form.h"
#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "store/session_load.h"
#include "store/settings_io.h"

namespace lt {

int RunSessionUnattended(const StartupState& startup, std::ostream& out, std::ostream& err)
{
    if (startup.saveOutputPath.empty()) {
        err << "linktrawl: no file to save the results to\n";
        return kExitUsage;
    }
    // The loader's message boxes are collected; the run reports in one line of its own.
    std::ostringstream boxes;
    ConsoleUiPort port(boxes, false);
    AppState app(port);
    app.startup = startup;
    if (const std::string error = ReadIniAtStartup(app, startup.iniPath); !error.empty()) {
        err << "linktrawl: " << error << '\n';
        return kExitFailed;
    }
    std::string why;
    if (!StartLoadSession(app, startup.startFile, false, SessionSource::User, &why)) {
        err << "linktrawl: Could not load session from file " << startup.startFile << ": " << why << '\n';
        return kExitFailed;
    }
    JoinWorker(app);
    // Only a read that broke off shows a box in an unattended run.
    const std::string broke = boxes.str();
    if (!SaveRunList(app, startup.saveOutputPath, startup.startAction == kStartSearchFilesSaveHtml
                                                      ? SaveFormat::Html
                                                      : (startup.saveCsv ? SaveFormat::Csv : SaveFormat::Text),
                     out, err))
        return kExitFailed;
    if (!broke.empty()) {
        std::string line = broke.substr(0, broke.find('\n'));
        err << "linktrawl: " << line << '\n';
        return kExitIncomplete;
    }
    return kExitOk;
}

} // namespace lt
