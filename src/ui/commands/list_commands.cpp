// SPDX-License-Identifier: GPL-3.0-or-later
// The list's own commands: clearing, column widths, removing dupes, the special sorts, finding,
// hit rates and selecting.
#include <QApplication>
#include <QTableView>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "list/domain_tree.h"
#include "list/find_in_list.h"
#include "list/hit_rates.h"
#include "list/sort_command.h"
#include "search/remove_dupes.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/domain_view.h"
#include "ui/find_dialog.h"
#include "ui/list_view_ops.h"
#include "ui/main_window.h"
#include "ui/result_table_model.h"
#include "ui/sort_header_model.h"

namespace lt {

namespace {

void ClearResultsCommand(MainWindow& window, int)
{
    AppState& app = window.App();
    const bool domainView = app.domain.viewShown;
    ClearResults(app);
    // The tree and its folder list go with the rows they were built from.
    if (app.domain.exists) {
        WaitForFolderFills(app);
        app.domain.tree.Clear();
        app.domain.selectedNode = -1;
        ++app.domain.treeRevision;
        app.secondList.ClearRows();
        window.Domains()->Reload();
    }
    if (domainView)
        window.ShowCurrentView();
    window.RefreshList();
}

void ResizeColumns(MainWindow& window, int)
{
    const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
    FitListColumns(window.App(), *window.View(), -1,
                   mods & Qt::ShiftModifier ? 1 : (mods & Qt::ControlModifier ? 2 : 0));
    window.ApplyColumnWidths();
}

void SortMenuCommand(MainWindow& window, int id)
{
    const bool domainView = window.App().domain.viewShown;
    window.SyncShownSelectionToList();
    SortCommand(window.App(), id);
    if (domainView) {
        window.Domains()->SyncSelectionFromList();
        window.Domains()->FolderModel()->RefreshHeaders();
    } else {
        window.RefreshList();
    }
}

void AfterFind(MainWindow& window)
{
    if (window.App().domain.viewShown) {
        // A find across folders may have moved to another folder and filled the list itself.
        DomainView* domains = window.Domains();
        domains->SelectNode(window.App().domain.selectedNode);
        domains->NoteFilled();
        domains->SyncSelectionFromList();
    } else {
        window.SyncSelectionFromList();
    }
}

void FindDialogCommand(MainWindow& window, int)
{
    AppState& app = window.App();
    if (!CanOpenFindDialog(app))
        return;
    const bool domainView = app.domain.viewShown;
    app.find.dialogOpen = true;
    FindDialog dialog(app, domainView ? app.secondList : app.list, &window);
    const int result = window.ExecDialog(dialog);
    app.find.dialogOpen = false;
    if (result != QDialog::Accepted)
        return;
    window.SyncShownSelectionToList();
    FindDialogAccept(app, dialog.Text(), dialog.Columns(), dialog.AddToSelection());
    AfterFind(window);
}

void FindNext(MainWindow& window, bool forward)
{
    window.SyncShownSelectionToList();
    FindNextCommand(window.App(), forward);
    AfterFind(window);
}

// -1 for the rates over all rows, else the 0-based column chosen in "Per &Column" (1 and up).
void HitRatesCommand(MainWindow& window, int column)
{
    window.SyncSelectionToList();
    HitRates(window.App(), column);
    window.RefreshList();
}

} // namespace

void RegisterListCommands(CommandRegistry& registry)
{
    registry.Add(kCmdClearResults, ClearResultsCommand);
    registry.Add(kCmdResizeColumns, ResizeColumns);
    registry.Add(kCmdRemoveDupes, [](MainWindow& window, int) { RemoveDupesCommand(window.App()); });
    for (const int id :
         {kCmdSortLength, kCmdSortEnding, kCmdSortSymbol, kCmdSortFileNumber, kCmdSortRemoteNumber})
        registry.Add(id, SortMenuCommand);
    registry.Add(kCmdFind, FindDialogCommand);
    registry.Add(kCmdFindNext, [](MainWindow& window, int) { FindNext(window, true); });
    registry.Add(kCmdFindPrevious, [](MainWindow& window, int) { FindNext(window, false); });
    registry.Add(kCmdHitRatesOverAll, [](MainWindow& window, int) { HitRatesCommand(window, -1); });
    registry.AddRange(kCmdHitRatesColumnFirst, kCmdHitRatesColumnLast, [](MainWindow& window, int id) {
        HitRatesCommand(window, id - kCmdHitRatesColumnFirst);
    });
    registry.Add(kCmdSelectAll, [](MainWindow& window, int) {
        if (window.App().domain.viewShown)
            window.Domains()->FolderView()->selectAll();
        else
            window.View()->selectAll();
    });
}

} // namespace lt
