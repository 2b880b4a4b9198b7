// SPDX-License-Identifier: GPL-3.0-or-later
// The domain tree: building it, toggling between it and the result list, rebuilding after searches.
#include "core/app_state.h"
#include "core/command_ids.h"
#include "export/folder_export.h"
#include "list/domain_tree.h"
#include "ui/cell_text.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/domain_view.h"
#include "ui/main_window.h"

namespace lt {

namespace {

void BuildDomains(MainWindow& window, int)
{
    if (!BuildDomainsCommand(window.App()))
        return;
    window.Domains()->Reload();
    window.Domains()->NoteFilled();
    window.ShowCurrentView();
}

void ToggleView(MainWindow& window, int)
{
    if (ToggleViewCommand(window.App()))
        window.ShowCurrentView();
}

// The folder selected in the shown domain view, or -1.
int ShownFolder(const MainWindow& window)
{
    const DomainState& d = window.App().domain;
    return d.viewShown && d.selectedNode >= 0 && static_cast<std::size_t>(d.selectedNode) < d.tree.Size()
               ? d.selectedNode
               : -1;
}

} // namespace

void RegisterDomainCommands(CommandRegistry& registry)
{
    registry.Add(kCmdBuildDomains, BuildDomains);
    registry.Add(kCmdToggleView, ToggleView);
    registry.Add(kCmdBuildOrToggleDomains, [](MainWindow& window, int id) {
        const AppState& app = window.App();
        if (!app.domain.exists || app.domain.tree.Empty())
            BuildDomains(window, id);
        else
            ToggleView(window, id);
    });
    registry.Add(kCmdCopyFolder, [](MainWindow& window, int) {
        if (const int node = ShownFolder(window); node >= 0)
            CopyFolderToClipboard(window.App(), node);
    });
    registry.Add(kCmdSaveFolder, [](MainWindow& window, int) {
        const int node = ShownFolder(window);
        if (node < 0)
            return;
        const QString name = window.SaveFileName(QStringLiteral("Text Files (*.txt)"), QStringLiteral("txt"));
        if (!name.isEmpty())
            SaveFolder(window.App(), node, EncodePath(name));
    });
    registry.Add(kCmdRebuildDomainsAfterSearch, [](MainWindow& window, int) {
        AppState& app = window.App();
        app.options.rebuildDomainsAfterSearch = !app.options.rebuildDomainsAfterSearch;
        app.options.optionsChanged = true;
    });
}

} // namespace lt
