// SPDX-License-Identifier: GPL-3.0-or-later
// The search sources: picked files, the recent files, folders, file lists, the search options, and
// stopping or skipping while a search runs.
#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "core/job_control.h"
#include "list/list_kind.h"
#include "search/search_jobs.h"
#include "ui/cell_text.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/folder_dialog.h"
#include "ui/list_view_ops.h"
#include "ui/main_window.h"
#include "ui/search_options_dialog.h"

namespace lt {

namespace {

void RememberRecentFile(MainWindow& window, const std::string& selection)
{
    // The list keeps single files: a history entry is one line of the INI file.
    if (selection.empty() || selection.find('\0') != std::string::npos)
        return;
    History& recent = window.App().options.rfHistory;
    auto it = std::find(recent.begin(), recent.end(), selection);
    if (it == recent.end())
        it = recent.end() - 1;
    std::rotate(recent.begin(), it, it + 1);
    recent.front() = selection;
    window.RebuildReopenMenu();
}

void SearchSelection(MainWindow& window, const std::string& selection)
{
    AppState& app = window.App();
    if (app.listState.kind != kListFileSearch)
        SwitchListKind(app, kListFileSearch);
    RememberRecentFile(window, selection);
    SearchPickedFilesCommand(app, selection);
}

void SelectFiles(MainWindow& window, int)
{
    AppState& app = window.App();
    QStringList names;
    if (window.TestHooks().pickFiles) {
        names = window.TestHooks().pickFiles();
    } else {
        names = QFileDialog::getOpenFileNames(&window, QStringLiteral("Select Files"),
                                              DecodePath(app.options.openFolder),
                                              QStringLiteral("All Files (*)"));
    }
    if (names.isEmpty())
        return;
    app.options.openFolder = EncodePath(QFileInfo(names.front()).absolutePath() + QLatin1Char('/'));
    SearchSelection(window, SelectionFromPaths(names));
}

void Reopen(MainWindow& window, int id)
{
    const std::string selection =
        window.App().options.rfHistory[static_cast<std::size_t>(id - kCmdReopenFirst)];
    // Nothing happens for a file that is no longer there.
    const std::vector<std::string> paths = SelectionPaths(selection);
    if (paths.empty() || !QFileInfo::exists(DecodePath(paths.front())))
        return;
    SearchSelection(window, selection);
}

void SelectFolder(MainWindow& window, bool fileList)
{
    AppState& app = window.App();
    FolderDialog dialog(app, fileList, &window);
    if (window.ExecDialog(dialog) != QDialog::Accepted)
        return;
    const std::string folder = dialog.ApplyToSettings();
    if (folder.empty())
        return;
    if (fileList) {
        if (app.listState.kind != kListFileList)
            SwitchListKind(app, kListFileList);
    } else if (app.listState.kind != kListFileSearch && app.listState.kind != kListFileList) {
        SwitchListKind(app, kListFileSearch);
    }
    SetupFolderSearch(app, folder);
    app.status.SetStatusText(app.search.targetText, 0);
    StartFolderSearch(app);
}

} // namespace

void SearchDroppedFiles(MainWindow& window, const QStringList& paths)
{
    AppState& app = window.App();
    if (paths.isEmpty() || app.jobs.Running())
        return;
    if (app.listState.kind == kListFileList) {
        AddFileListRows(app, paths);
        return;
    }
    const std::string selection = SelectionFromPaths(paths);
    app.search.droppedCaption = DroppedNamesCaption(paths);
    if (app.listState.kind != kListFileSearch)
        SwitchListKind(app, kListFileSearch);
    SearchPickedFilesCommand(app, selection);
    app.search.targetText = app.search.droppedCaption;
    app.status.SetStatusText(app.search.droppedCaption, 0);
}

void RegisterSearchCommands(CommandRegistry& registry)
{
    registry.Add(kCmdSelectFiles, SelectFiles);
    registry.AddRange(kCmdReopenFirst, kCmdReopenLast, Reopen);
    registry.Add(kCmdSelectDirectory, [](MainWindow& window, int) { SelectFolder(window, false); });
    registry.Add(kCmdCreateFileList, [](MainWindow& window, int) { SelectFolder(window, true); });
    registry.Add(kCmdSearchFileList, [](MainWindow& window, int) { SearchFileListCommand(window.App()); });
    registry.Add(kCmdFilesLast8Minutes,
                 [](MainWindow& window, int) { RecentFilesCommand(window.App(), false); });
    registry.Add(kCmdSearchOptions, [](MainWindow& window, int) {
        SearchOptionsDialog dialog(window.App(), &window);
        window.ExecDialog(dialog);
    });
    registry.Add(kCmdStop, [](MainWindow& window, int) { StopJob(window.App()); });
    registry.Add(kCmdSkipFile, [](MainWindow& window, int) { SkipFile(window.App()); });
}

} // namespace lt
