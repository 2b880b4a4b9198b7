// SPDX-License-Identifier: GPL-3.0-or-later
// The unattended parse: linktrawl --parse PARSE_SETTINGS FILE_OR_FOLDER -save2 FILE
#include <filesystem>
#include <ostream>
#include <sys/stat.h>

#include "app/run_save.h"
#include "app/tool_form.h"
#include "app/tool_runs.h"
#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "core/startup_state.h"
#include "list/parse_command.h"
#include "store/settings_io.h"

namespace lt {

int RunParseForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err)
{
    const std::string settingsPath = call.AbsolutePath(call.positional.at(0));
    // "logs/." and "logs/" name the folder; the "File" column shows clean paths.
    std::string target = std::filesystem::path(call.AbsolutePath(call.positional.at(1))).lexically_normal().string();
    while (target.size() > 1 && target.back() == '/')
        target.pop_back();
    ParseSettings settings;
    if (const std::string error = LoadParseSettingsFile(settingsPath, settings); !error.empty()) {
        err << "linktrawl: " << settingsPath << ": " << error << '\n';
        return kExitFailed;
    }
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        err << "linktrawl: " << target << " not found\n";
        return kExitFailed;
    }
    const bool folder = S_ISDIR(st.st_mode);
    if (!folder && !S_ISREG(st.st_mode)) {
        err << "linktrawl: " << target << " is not a regular file or a folder\n";
        return kExitFailed;
    }

    ConsoleUiPort port(err, false);
    AppState app(port);
    app.startup = startup;
    if (const std::string error = ReadIniAtStartup(app, startup.iniPath); !error.empty()) {
        err << "linktrawl: " << error << '\n';
        return kExitFailed;
    }
    // The table is the point of a parse: every column goes into the file, in list order.
    app.exportSettings.columns.fill(true);
    app.exportSettings.order = "123456";
    const ParsePlan plan = MakeParsePlan(settings, folder);
    PrepareParseList(app, plan);
    ParseIntoList(app, plan, target, folder);
    if (!SaveRunList(app, call.savePath, call.saveFormat, out, err))
        return kExitFailed;
    return kExitOk;
}

} // namespace lt
