// SPDX-License-Identifier: GPL-3.0-or-later
// The options sheet and the search settings file.
#include <QTableView>

#include <memory>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "core/messages.h"
#include "list/list_kind.h"
#include "store/settings_io.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/main_window.h"
#include "ui/options_sheet.h"

namespace lt {

namespace {

void EditOptions(MainWindow& window, bool& open)
{
    // A second request while the sheet is open does nothing.
    if (open)
        return;
    open = true;
    AppState& app = window.App();
    const bool alternate = app.options.alternateRowColors;
    OptionsSheet sheet(app, &window);
    if (window.ExecDialog(sheet) == QDialog::Accepted) {
        sheet.Apply();
        ApplyListKind(app);
        if (alternate != app.options.alternateRowColors)
            window.View()->viewport()->update();
    }
    open = false;
}

void SaveSettingsNow(MainWindow& window, int)
{
    AppState& app = window.App();
    std::string error;
    const bool saved = WriteSettings(app, app.startup.iniPath, kSettingsSaveNow, &error) >= 0;
    ShowMessage(app, saved ? "Search Settings saved !" : "Could not save Settings to File !");
}

} // namespace

void RegisterStoreCommands(CommandRegistry& registry)
{
    auto sheetOpen = std::make_shared<bool>(false);
    registry.Add(kCmdEditOptions, [sheetOpen](MainWindow& window, int) { EditOptions(window, *sheetOpen); });
    registry.Add(kCmdSettingsSaveNow, SaveSettingsNow);
}

} // namespace lt
