// SPDX-License-Identifier: GPL-3.0-or-later
// The performers of the browser-data commands: typed URLs, RAS addresses, favorites, history and
// cookie indexes. The engines in sources/ read and write; here only the choices are asked for.
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "list/list_state.h"
#include "sources/cookie_text.h"
#include "sources/favorites_search.h"
#include "sources/index_delete.h"
#include "sources/index_jobs.h"
#include "sources/list_support.h"
#include "sources/netscape_history.h"
#include "sources/netscape_profile.h"
#include "sources/netscape_typed_urls.h"
#include "sources/registry_lists.h"
#include "ui/cell_text.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/history_combo.h"
#include "ui/index_file_dialog.h"
#include "ui/main_window.h"

namespace lt {
namespace {

// One existing file or folder (tests answer through the pickFiles hook); empty when cancelled.
std::string PickPath(MainWindow& window, const QString& caption, const QString& filter, bool folder)
{
    QString name;
    if (window.TestHooks().pickFiles) {
        const QStringList names = window.TestHooks().pickFiles();
        name = names.isEmpty() ? QString() : names.front();
    } else if (folder) {
        name = QFileDialog::getExistingDirectory(&window, caption);
    } else {
        name = QFileDialog::getOpenFileName(&window, caption, QString(), filter);
    }
    return name.isEmpty() ? std::string() : EncodePath(name);
}

void SearchFavoritesCommand(MainWindow& window)
{
    AppState& app = window.App();
    if (app.jobs.Running())
        return;
    QDialog dialog(&window);
    dialog.setWindowTitle(QStringLiteral("Search Internet Explorer Favorites"));
    auto* combo = new HistoryCombo(&dialog);
    combo->setObjectName(QStringLiteral("searchText"));
    combo->Fill(app.find.findHistory, app.find.findHistory[0]);
    combo->lineEdit()->setMaxLength(259);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(combo);
    layout->addWidget(buttons);
    if (window.ExecDialog(dialog) != QDialog::Accepted)
        return;
    SearchFavorites(app, combo->Bytes());
}

// The list readers on the window thread refill the list by themselves; the view follows.
void Refreshed(MainWindow& window)
{
    window.RefreshList();
    window.SyncSelectionFromList();
}

// The history file beside the Netscape bookmark location, else in the profile folder of nsreg.dat.
void NetscapeHistoryFromProfile(MainWindow& window)
{
    AppState& app = window.App();
    if (app.jobs.Running())
        return;
    std::string folder;
    const std::string location = ProfilePath(app, app.options.netscapeBookmarks);
    if (const std::size_t slash = location.rfind('/'); slash != std::string::npos)
        folder = location.substr(0, slash);
    if (folder.empty() && !FindNetscapeProfile(app, folder)) {
        ShowInformation(app, "Please enter location of Netscape Bookmarks at Options !");
        return;
    }
    if (ReadNetscapeHistory(app, NetscapeHistoryIn(folder)))
        Refreshed(window);
}

void IndexFileCommand(MainWindow& window)
{
    AppState& app = window.App();
    if (app.jobs.Running())
        return;
    IndexFileDialog dialog(app.sources, &window);
    if (window.ExecDialog(dialog) != QDialog::Accepted)
        return;
    const std::string path = PickPath(window, QStringLiteral("Open"), QStringLiteral("Index file (*.dat);;All files (*)"), false);
    if (path.empty())
        return;
    if (app.sources.dialogKind == 4) {
        if (ReadCookieIndex(app, path, app.sources.dialogCookieLabel))
            Refreshed(window);
        return;
    }
    StartIndexFileJob(app, path, app.sources.historyLabel, app.sources.dialogKind);
}

// The selection-based deleters read the view's selection first and show the rows left.
template <typename F>
void OnSelection(MainWindow& window, F remove)
{
    if (window.App().jobs.Running())
        return;
    window.SyncSelectionToList();
    remove(window.App());
    Refreshed(window);
}

} // namespace

void RegisterBrowserCommands(CommandRegistry& registry)
{
    auto refreshing = [](long (*read)(AppState&)) {
        return [read](MainWindow& w, int) {
            if (read(w.App()) >= 0)
                Refreshed(w);
        };
    };
    registry.Add(kCmdTypedUrlsIe, [](MainWindow& w, int) {
        if (ReadTypedUrls(w.App(), kListIeTyped) >= 0)
            Refreshed(w);
    });
    registry.Add(kCmdEditAboutUrls, [](MainWindow& w, int) {
        if (ReadTypedUrls(w.App(), kListAboutUrls) >= 0)
            Refreshed(w);
    });
    registry.Add(kCmdTypedUrlsNetscape, refreshing(&ReadNetscapeTypedUrls));
    registry.Add(kCmdRasAutodial, refreshing(&ReadRasAutodial));
    registry.Add(kCmdSaveToIeTyped, [](MainWindow& w, int) { SaveListToInternetExplorer(w.App()); });
    registry.Add(kCmdSaveToNetscapeTyped, [](MainWindow& w, int) { WriteNetscapeTypedUrls(w.App()); });
    registry.Add(kCmdDeleteFromRegistry, [](MainWindow& w, int) { OnSelection(w, DeleteRasAutodial); });
    registry.Add(kCmdDeleteUrlFiles, [](MainWindow& w, int) { OnSelection(w, DeleteFavoriteFiles); });
    registry.Add(kCmdDeleteFromIndexFile, [](MainWindow& w, int) { OnSelection(w, DeleteIndexRecords); });
    registry.Add(kCmdSearchFavorites, [](MainWindow& w, int) { SearchFavoritesCommand(w); });

    registry.Add(kCmdHistoryIe, [](MainWindow& w, int) {
        if (!w.App().jobs.Running())
            StartCurrentHistory(w.App(), w.App().sources.historyFolder);
    });
    registry.Add(kCmdHistoryIndexFile, [](MainWindow& w, int) { IndexFileCommand(w); });
    registry.Add(kCmdCookiesIndexFile, [](MainWindow& w, int) {
        AppState& app = w.App();
        if (app.jobs.Running() || app.sources.cookieFolder.empty())
            return;
        std::string path = app.sources.cookieFolder;
        if (path.back() != '/')
            path += '/';
        if (ReadCookieIndex(app, path + "index.dat", "Cookie:"))
            Refreshed(w);
    });
    registry.Add(kCmdHistoryNetscape, [](MainWindow& w, int) { NetscapeHistoryFromProfile(w); });
    registry.Add(kCmdNetscapeHistoryFile, [](MainWindow& w, int) {
        if (w.App().jobs.Running())
            return;
        const std::string path = PickPath(w, QStringLiteral("Open"), QStringLiteral("Netscape history file (Netscape.hst)"), false);
        if (!path.empty() && ReadNetscapeHistory(w.App(), path))
            Refreshed(w);
    });
    registry.Add(kCmdCookiesTextFiles, [](MainWindow& w, int) {
        if (w.App().jobs.Running())
            return;
        const std::string folder = PickPath(w, QStringLiteral("Select Cookie Directory"), QString(), true);
        if (!folder.empty())
            StartCookieTextJob(w.App(), folder);
    });
}

} // namespace lt
