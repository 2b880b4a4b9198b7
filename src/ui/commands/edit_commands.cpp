// SPDX-License-Identifier: GPL-3.0-or-later
// The performers of the list edits, the disk compare and the text parse. The dialogs collect the
// values, the engines in list/ do the work.
#include <QFileDialog>

#include <memory>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "core/messages.h"
#include "list/compare_job.h"
#include "list/cut_params_job.h"
#include "list/delete_empty_lines.h"
#include "list/delete_selected.h"
#include "list/delete_with_job.h"
#include "list/edit_entry.h"
#include "list/parse_command.h"
#include "list/replace_job.h"
#include "list/select_with_job.h"
#include "list/unescape_job.h"
#include "list/view_edit.h"
#include "ui/cell_text.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/compare_dialog.h"
#include "ui/domain_view.h"
#include "ui/main_window.h"
#include "ui/parse_dialog.h"
#include "ui/rename_dialog.h"
#include "ui/replace_dialog.h"
#include "ui/word_match_dialog.h"

namespace lt {
namespace {

// The dialogs show the last values for the program's run.
struct EditDialogValues
{
    ReplaceParams replace;
    WordMatchParams select;
    WordMatchParams remove;
    DiskCompareParams compare;
    ParseSettings parse;
};

std::vector<std::string> Headers(const ResultList& list)
{
    std::vector<std::string> headers;
    for (int c = 0; c < std::min(6, list.ColumnCount()); ++c)
        headers.push_back(list.GetHeaderText(c));
    return headers;
}

// The view's selection into the edited list, before an engine reads it.
void SelectionIn(MainWindow& window)
{
    window.SyncSelectionToList();
    if (EditingDomainList(window.App()) && window.Domains())
        window.Domains()->SyncSelectionToList();
}

// After an edit on the window thread: the lists' rows and selection back into the views.
void SelectionOut(MainWindow& window)
{
    if (window.Domains() && window.App().domain.exists)
        window.Domains()->Reload();
    window.SyncSelectionFromList();
    if (EditingDomainList(window.App()) && window.Domains())
        window.Domains()->SyncSelectionFromList();
}

void ReplaceText(MainWindow& window, EditDialogValues& values)
{
    AppState& app = window.App();
    ReplaceDialog dialog(values.replace, Headers(EditedList(app)), &window);
    if (window.ExecDialog(dialog) != QDialog::Accepted)
        return;
    values.replace = dialog.Params();
    SelectionIn(window);
    StartReplaceJob(app, values.replace);
}

void EditEntry(MainWindow& window)
{
    AppState& app = window.App();
    SelectionIn(window);
    ResultList& list = EditedList(app);
    const std::vector<std::size_t> selected = list.SelectedRows();
    long row = list.FocusedRow();
    if (!selected.empty() && (row < 0 || !list.Row(static_cast<std::size_t>(row)).selected))
        row = static_cast<long>(selected.front());
    if (row < 0 || static_cast<std::size_t>(row) >= list.RowCount())
        return;
    RenameDialog dialog(list.GetCell(row, 0), list.GetCell(row, 1), &window);
    if (window.ExecDialog(dialog) != QDialog::Accepted)
        return;
    const long at = EditEntryCommand(app, static_cast<std::size_t>(row), dialog.First(), dialog.Second());
    if (at >= 0)
        list.SetSelectedRows({static_cast<std::size_t>(at)});
    SelectionOut(window);
}

void WordMatch(MainWindow& window, WordMatchParams& values, bool deleting)
{
    AppState& app = window.App();
    WordMatchDialog dialog(deleting, values, Headers(EditedList(app)), &window);
    if (window.ExecDialog(dialog) != QDialog::Accepted)
        return;
    values = dialog.Params();
    SelectionIn(window);
    if (deleting)
        StartDeleteWithJob(app, values);
    else
        StartSelectWithJob(app, values);
}

void Compare(MainWindow& window, EditDialogValues& values)
{
    AppState& app = window.App();
    if (!CompareAllowed(app))
        return;
    CompareDialog dialog(values.compare, &window);
    if (window.ExecDialog(dialog) != QDialog::Accepted)
        return;
    const DiskCompareParams params = dialog.Params();
    values.compare = params;
    values.compare.refreshMode = false; // the refresh is a button, not a setting
    SelectionIn(window);
    StartCompareJob(app, params);
}

void Parse(MainWindow& window, EditDialogValues& values)
{
    AppState& app = window.App();
    ParseDialog::FileChoices choices;
    const QString filter = QStringLiteral("LinkTrawl Settings (*.lts)");
    choices.saveName = [&window, filter] { return window.SaveFileName(filter, QStringLiteral("lts")); };
    choices.openName = [&window, filter] {
        if (window.TestHooks().pickFiles) {
            const QStringList names = window.TestHooks().pickFiles();
            return names.isEmpty() ? QString() : names.front();
        }
        return QFileDialog::getOpenFileName(&window, QStringLiteral("Load"), QString(), filter);
    };
    choices.folderName = [&window] { return QFileDialog::getExistingDirectory(&window, QStringLiteral("Directory")); };
    choices.report = [&app](const QString& message) { ShowMessage(app, EncodeText(message)); };
    ParseDialog dialog(values.parse, std::move(choices), &window);
    if (window.ExecDialog(dialog) != QDialog::Accepted)
        return;
    values.parse = dialog.Settings();
    if (ParseCommand(app, values.parse))
        window.SyncSelectionFromList();
}

} // namespace

void DeleteKeyCommand(MainWindow& window)
{
    AppState& app = window.App();
    if (app.jobs.Running())
        return;
    SelectionIn(window);
    if (DeleteSelected(app) > 0)
        SelectionOut(window);
}

void RegisterEditCommands(CommandRegistry& registry)
{
    auto values = std::make_shared<EditDialogValues>();
    registry.Add(kCmdReplaceText, [values](MainWindow& w, int) { ReplaceText(w, *values); });
    registry.Add(kCmdUnescapeUrls, [](MainWindow& w, int) { StartUnescapeJob(w.App(), false); });
    registry.Add(kCmdCutParameters, [](MainWindow& w, int) { StartCutParamsJob(w.App(), false); });
    registry.Add(kCmdUnescapeSelected, [](MainWindow& w, int) {
        SelectionIn(w);
        StartUnescapeJob(w.App(), true);
    });
    registry.Add(kCmdCutParametersSelected, [](MainWindow& w, int) {
        SelectionIn(w);
        StartCutParamsJob(w.App(), true);
    });
    registry.Add(kCmdEditListEntry, [](MainWindow& w, int) { EditEntry(w); });
    registry.Add(kCmdSelectAllWith, [values](MainWindow& w, int) { WordMatch(w, values->select, false); });
    registry.Add(kCmdDeleteAllWith, [values](MainWindow& w, int) { WordMatch(w, values->remove, true); });
    registry.Add(kCmdCompareListToDisk, [values](MainWindow& w, int) { Compare(w, *values); });
    registry.Add(kCmdParseTextFiles, [values](MainWindow& w, int) { Parse(w, *values); });
    // The row's main action is "Delete &empty Lines" in the parsed-text list; the other kinds'
    // actions (launching) come with their own subsystem.
    registry.Add(kCmdLaunchRow, [](MainWindow& w, int) {
        if (w.App().listState.kind == kListParsedText && !w.App().jobs.Running() && DeleteEmptyLines(w.App()) > 0)
            w.SyncSelectionFromList();
    });
}

} // namespace lt
