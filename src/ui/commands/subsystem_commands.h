// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <functional>
#include <string>
#include <vector>

namespace lt {

struct AppState;
class CommandRegistry;
class MainWindow;

// The registration functions of the files in ui/commands/, one per subsystem (each defined in its
// own <subsystem>_commands.cpp).
void RegisterSearchCommands(CommandRegistry& registry);
void RegisterListCommands(CommandRegistry& registry);
void RegisterExportCommands(CommandRegistry& registry);
void RegisterDomainCommands(CommandRegistry& registry);
void RegisterStoreCommands(CommandRegistry& registry);
void RegisterWindowCommands(CommandRegistry& registry);

// Files dropped on the window: a file list takes them as rows, otherwise they are searched.
void SearchDroppedFiles(MainWindow& window, const QStringList& paths);
// The list keys' copies (Ctrl+C, Ctrl+1..9): `rowChoice` 1 for the selected rows, `columnKey` 0 for
// the configured columns or '1'..'9' for one column.
void CopyRowsToClipboard(MainWindow& window, int rowChoice, int columnKey);
void RegisterSessionCommands(CommandRegistry& registry); // sessions, settings files, text-file lists

// edit_commands.cpp: the list edits, "Compare &List to Disk Files" and "&Parse Text Files".
void RegisterEditCommands(CommandRegistry& registry);
// The Delete key in a list: deletes the selected rows of the current view.
void DeleteKeyCommand(MainWindow& window);

// browser_commands.cpp: typed URLs, RAS addresses, favorites, history and cookie indexes.
void RegisterBrowserCommands(CommandRegistry& registry);

// text_commands.cpp: a row's page read into a text window of this process.
void RegisterTextCommands(CommandRegistry& registry);
// download_commands.cpp: "&Batch Download" and "&Download File".
void RegisterDownloadCommands(CommandRegistry& registry);
// A new program window that was handed a batch (":CM3:") opens its batch window over the loaded
// rows and starts it.
void StartHandedOverBatch(MainWindow& window);
// The batch window is open already: the URLs go into a new hand-over list file (unique, mode 0600)
// and `launch` starts a program window with `placement` + ":LS1::CM3:" + its path + ":LS2:". False
// (and no file left) when nothing was handed over.
bool HandOverBatch(AppState& app, const std::vector<std::string>& urls, const std::string& placement,
                   const std::function<bool(const std::string&)>& launch);

// status_commands.cpp: "&Test Url Status".
void RegisterStatusCommands(CommandRegistry& registry);

// inet_commands.cpp: "Read &Internet File" (the dialog, then the quick read or the crawl window)
// and "&Read Internet Files" (the window reading the selected URLs).
void RegisterInetCommands(CommandRegistry& registry);
// A job file named on the command line: its settings, then the dialog.
void OpenInternetJobFile(MainWindow& window, const std::string& path);

} // namespace lt
