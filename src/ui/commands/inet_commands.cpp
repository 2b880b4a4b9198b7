// SPDX-License-Identifier: GPL-3.0-or-later
// The "Read Internet Files" commands: the dialog with the quick read or the crawl window, and the
// list read of the selected URLs. The crawl itself is engine code (inet/).
#include <QApplication>

#include <unordered_set>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/quick_read.h"
#include "search/link_follower.h"
#include "store/settings_io.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/connect_dots.h"
#include "ui/crawl_window.h"
#include "ui/inet_dialog.h"
#include "ui/main_window.h"

namespace lt {
namespace {

CrawlWindow* OpenCrawlWindow(MainWindow& window) { return window.findChild<CrawlWindow*>(); }

void BringToFront(QWidget* widget)
{
    widget->show();
    widget->raise();
    widget->activateWindow();
}

void FreeSlot(AppState& app)
{
    app.inetSlots[0].state = kSlotFree;
    if (app.jobs.Code() == kJobCrawlIdle)
        app.jobs.jobCode = kJobIdle;
}

// The main window shows the connection dots of the quick read.
void EnsureDots(MainWindow& window)
{
    if (!window.findChild<ConnectDots*>())
        new ConnectDots(window.App(), window.App().inetSlots[0], &window);
}

// The folded key of a URL, to take each once.
std::string Folded(const std::string& url)
{
    std::string key(url);
    for (char& c : key)
        c = static_cast<char>(Cp1252Lower(static_cast<uint8_t>(c)));
    return key;
}

// The URLs of the selected rows, each once; without a selection the links in the clipboard text.
std::vector<std::string> ListUrls(MainWindow& window)
{
    AppState& app = window.App();
    window.SyncSelectionToList();
    std::vector<std::string> urls;
    std::unordered_set<std::string> seen;
    for (const std::size_t row : app.list.SelectedRows()) {
        std::string url = app.list.GetCell(row, 0);
        if (IsUrlText(url) && seen.insert(Folded(url)).second)
            urls.push_back(std::move(url));
    }
    if (!urls.empty())
        return urls;
    const std::string text = app.ui.ClipboardText();
    FollowPage page;
    page.crawl = false;
    page.isHtml = true;
    page.findHttps = true;
    LinkFollower(app.tables, page, text.data(), text.size(), text.size(), true, [&](const std::string& link) {
        if (!seen.insert(Folded(link)).second)
            return 0;
        urls.push_back(link);
        return 1;
    });
    return urls;
}

void ReadInternetFileCommand(MainWindow& window, int)
{
    AppState& app = window.App();
    InetSlot& slot = app.inetSlots[0];
    if (CrawlWindow* open = OpenCrawlWindow(window); open && slot.state.load() != kSlotFree) {
        BringToFront(open);
        return;
    }
    if (app.jobs.Code() != kJobIdle || slot.state.load() != kSlotFree)
        return;
    slot.state = kSlotReserved;
    app.jobs.jobCode = kJobCrawlIdle;
    InetDialog dialog(app, &window);
    if (window.TestHooks().saveFileName || window.TestHooks().pickFiles) {
        dialog.TestHooks().jobFile = [&window](bool save) {
            if (save)
                return window.TestHooks().saveFileName ? window.TestHooks().saveFileName(QStringLiteral("ltj"))
                                                       : QString();
            const QStringList names = window.TestHooks().pickFiles ? window.TestHooks().pickFiles() : QStringList();
            return names.isEmpty() ? QString() : names.front();
        };
    }
    if (window.ExecDialog(dialog) != QDialog::Accepted) {
        FreeSlot(app);
        return;
    }
    const InetOptions& o = app.options.inet;
    if (o.crawlMode > 0 || o.urlsFromFile) {
        auto* crawl = new CrawlWindow(app, true, &window);
        crawl->show();
        std::string error;
        if (!crawl->StartCrawl(o.startUrl, o.urlsFromFile ? o.urlFile : std::string(), error) && !error.empty())
            ShowMessage(app, error, "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
        return;
    }
    FreeSlot(app);
    EnsureDots(window);
    CrawlSettings settings = CrawlSettingsFrom(o);
    settings.followLinks = false;
    if (!StartQuickRead(app, settings, FetchSettingsFrom(o, true), QuickReadUrl(o.startUrl)))
        FreeSlot(app);
}

void ReadInternetFilesCommand(MainWindow& window, int)
{
    AppState& app = window.App();
    const std::vector<std::string> urls = ListUrls(window);
    if (CrawlWindow* open = OpenCrawlWindow(window)) {
        open->AddUrls(urls);
        BringToFront(open);
        return;
    }
    if (app.inetSlots[0].state.load() != kSlotFree)
        return;
    auto* list = new CrawlWindow(app, false, &window);
    list->AddUrls(urls);
    list->show();
}

} // namespace

void OpenInternetJobFile(MainWindow& window, const std::string& path)
{
    if (ReadSettings(window.App(), path, kSettingsLoadJob) < 0) {
        ShowMessage(window.App(), "No Search Settings found !");
        return;
    }
    ReadInternetFileCommand(window, kCmdReadInternetFile);
}

void RegisterInetCommands(CommandRegistry& registry)
{
    registry.Add(kCmdReadInternetFile, ReadInternetFileCommand);
    registry.Add(kCmdReadInternetFiles, ReadInternetFilesCommand);
}

} // namespace lt
