// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the list as text, HTML or CSV and copying it to the clipboard.
#include <memory>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "export/list_export.h"
#include "list/result_list.h"
#include "ui/cell_text.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/main_window.h"
#include "ui/save_list_dialog.h"

namespace lt {

namespace {

enum SaveChoice { kSaveText = 0, kSaveHtml = 1, kSaveCsv = 2 };

// The list the exports read: the folder list while the domain view is shown.
const ResultList& ShownList(const AppState& app)
{
    return app.domain.viewShown ? app.secondList : app.list;
}

// `preset` < 0 asks with the "Save List as" dialog, which starts with the last choice.
void SaveList(MainWindow& window, int& lastChoice, bool selectedOnly, int preset)
{
    AppState& app = window.App();
    int choice = preset;
    if (preset < 0) {
        SaveListDialog dialog(lastChoice, selectedOnly, &window);
        if (window.ExecDialog(dialog) != QDialog::Accepted)
            return;
        choice = dialog.Choice();
        selectedOnly = dialog.SelectedOnly();
        lastChoice = choice;
    }
    static const char* const kFilters[] = {"Text Files (*.txt)", "Html Files (*.*htm*)", "CSV Files (*.csv)"};
    static const char* const kSuffixes[] = {"txt", "htm", "csv"};
    const QString name =
        window.SaveFileName(QLatin1String(kFilters[choice]), QLatin1String(kSuffixes[choice]));
    if (name.isEmpty())
        return;
    window.SyncShownSelectionToList();
    const std::string path = EncodePath(name);
    const ResultList& list = ShownList(app);
    switch (choice) {
    case kSaveText:
        ExportText(app, list, path, selectedOnly, 0);
        break;
    case kSaveHtml:
        ExportHtml(app, list, path, selectedOnly, 0);
        break;
    default:
        ExportCsv(app, list, path, selectedOnly, 0);
        break;
    }
}

} // namespace

void CopyRowsToClipboard(MainWindow& window, int rowChoice, int columnKey)
{
    AppState& app = window.App();
    if (app.jobs.Running())
        return;
    window.SyncShownSelectionToList();
    const std::string text = ListClipboardText(app, ShownList(app), rowChoice, 0, columnKey);
    if (!text.empty())
        app.ui.SetClipboardText(text);
}

void RegisterExportCommands(CommandRegistry& registry)
{
    // The dialog's last choice lives as long as the window's registry.
    auto lastChoice = std::make_shared<int>(kSaveText);
    registry.Add(kCmdSaveListAs, [lastChoice](MainWindow& w, int) { SaveList(w, *lastChoice, false, -1); });
    registry.Add(kCmdSaveListHtml,
                 [lastChoice](MainWindow& w, int) { SaveList(w, *lastChoice, false, kSaveHtml); });
    registry.Add(kCmdSaveSelectedText,
                 [lastChoice](MainWindow& w, int) { SaveList(w, *lastChoice, true, kSaveText); });
    registry.Add(kCmdSaveSelectedHtml,
                 [lastChoice](MainWindow& w, int) { SaveList(w, *lastChoice, true, kSaveHtml); });
    registry.Add(kCmdSaveSelectedCsv,
                 [lastChoice](MainWindow& w, int) { SaveList(w, *lastChoice, true, kSaveCsv); });
    registry.Add(kCmdCopyList, [](MainWindow& w, int) { CopyRowsToClipboard(w, 0, 0); });
    registry.Add(kCmdCopySelected, [](MainWindow& w, int) { CopyRowsToClipboard(w, 1, 0); });
}

} // namespace lt
