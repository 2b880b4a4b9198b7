// SPDX-License-Identifier: GPL-3.0-or-later
// The "S&ession" menu, the search settings files ("Save &as", "&Load") and "&Read from Text File".
#include <QFileDialog>
#include <QFileInfo>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "core/messages.h"
#include "list/list_kind.h"
#include "list/text_file_list.h"
#include "search/item_kind.h"
#include "store/session_load.h"
#include "store/settings_io.h"
#include "ui/cell_text.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/main_window.h"

namespace lt {

namespace {

const QString kSessionFilter = QStringLiteral("LinkTrawl Sessions (*.ltn)");
const QString kSettingsFilter = QStringLiteral("LinkTrawl Settings (*.lts)");
const QString kAnySettingsFilter =
    QStringLiteral("LinkTrawl Settings (*.lts);;LinkTrawl Sessions (*.ltn);;LinkTrawl Jobs (*.ltj)");
const QString kTextFilter = QStringLiteral("Text files (*.txt);;All files (*)");

// The dialogs open in DIRS/JB, else DIRS/SAVE, and remember the folder chosen in JB.
QString DialogFolder(const AppState& app)
{
    return DecodePath(!app.options.jobFolder.empty() ? app.options.jobFolder : app.options.saveFolder);
}

void RememberFolder(AppState& app, const QString& name)
{
    app.options.jobFolder = EncodePath(QFileInfo(name).absolutePath() + QLatin1Char('/'));
}

std::string AskSaveName(MainWindow& w, const QString& caption, const QString& filter, const QString& suffix)
{
    AppState& app = w.App();
    QString name;
    if (w.TestHooks().saveFileName) {
        name = w.TestHooks().saveFileName(filter);
    } else {
        QFileDialog dialog(&w, caption, DialogFolder(app), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(suffix);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            name = dialog.selectedFiles().front();
    }
    if (name.isEmpty())
        return {};
    RememberFolder(app, name);
    return EncodePath(name);
}

std::string AskOpenName(MainWindow& w, const QString& caption, const QString& filter)
{
    AppState& app = w.App();
    QString name;
    if (w.TestHooks().pickFiles) {
        const QStringList names = w.TestHooks().pickFiles();
        if (!names.isEmpty())
            name = names.front();
    } else {
        name = QFileDialog::getOpenFileName(&w, caption, DialogFolder(app), filter);
    }
    if (name.isEmpty())
        return {};
    RememberFolder(app, name);
    return EncodePath(name);
}

void SaveSession(MainWindow& w, int)
{
    const std::string path = AskSaveName(w, QStringLiteral("Save Session as"), kSessionFilter, QStringLiteral("ltn"));
    if (!path.empty())
        SaveSessionCommand(w.App(), path);
}

void LoadSession(MainWindow& w, int id)
{
    const bool append = id == kCmdSessionAppend;
    const std::string path =
        AskOpenName(w, append ? QStringLiteral("Append Session") : QStringLiteral("Load Session"), kSessionFilter);
    if (!path.empty())
        StartLoadSession(w.App(), path, append);
}

void SaveSettingsAs(MainWindow& w, int)
{
    const std::string path =
        AskSaveName(w, QStringLiteral("Save Search Settings as"), kSettingsFilter, QStringLiteral("lts"));
    if (path.empty())
        return;
    if (WriteSettings(w.App(), path, kSettingsSaveAs) < 0)
        ShowMessage(w.App(), "Could not save Settings to File !", "LinkTrawl", {MsgButtons::Ok, MsgIcon::Error});
    else
        ShowMessage(w.App(), "Search Settings saved !");
}

void LoadSettings(MainWindow& w, int)
{
    const std::string path = AskOpenName(w, QStringLiteral("Load Search Settings"), kAnySettingsFilter);
    if (path.empty())
        return;
    AppState& app = w.App();
    if (ReadSettings(app, path, kSettingsLoad) < 0) {
        ShowMessage(app, "No Search Settings found !");
        return;
    }
    SelectItemKind(app);
    ApplyListKind(app, 2);
}

void ReadTextFileList(MainWindow& w, int)
{
    const std::string path = AskOpenName(w, QStringLiteral("Read File List from Text File"), kTextFilter);
    std::string error;
    if (!path.empty() && !StartReadFileList(w.App(), path, &error))
        ShowMessage(w.App(), error, "LinkTrawl", {MsgButtons::Ok, MsgIcon::Error});
}

} // namespace

void RegisterSessionCommands(CommandRegistry& registry)
{
    registry.Add(kCmdSessionSaveAs, SaveSession);
    registry.Add(kCmdSessionLoad, LoadSession);
    registry.Add(kCmdSessionAppend, LoadSession);
    registry.Add(kCmdSettingsSaveAs, SaveSettingsAs);
    registry.Add(kCmdSettingsLoad, LoadSettings);
    registry.Add(kCmdFileListFromText, ReadTextFileList);
}

} // namespace lt
