// SPDX-License-Identifier: GPL-3.0-or-later
// "&Batch Download" and "&Download File": the download windows, and the hand-over of a batch to a
// new program window when this window's batch download is already open.
#include <QCoreApplication>
#include <QProcess>

#include <unistd.h>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "inet/inet_slot.h"
#include "search/link_follower.h"
#include "store/session_file.h"
#include "store/session_load.h"
#include "store/temp_file.h"
#include "ui/batch_download_window.h"
#include "ui/cell_text.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/download_url_window.h"
#include "ui/main_window.h"

namespace lt {
namespace {

constexpr std::size_t kBatchSlot = 1;
constexpr std::size_t kFirstWindowSlot = 3;
constexpr std::size_t kLastWindowSlot = 15;

// The URLs of the selected rows (each once, a URL equal to the one before it skipped), or, with
// none selected, those found in the clipboard text.
std::vector<std::string> CommandUrls(MainWindow& window)
{
    AppState& app = window.App();
    window.SyncSelectionToList();
    std::vector<std::string> urls;
    for (const std::size_t row : app.list.SelectedRows()) {
        std::string url = app.list.GetCell(row, 0);
        if (!url.empty() && (urls.empty() || urls.back() != url))
            urls.push_back(std::move(url));
    }
    if (!urls.empty())
        return urls;
    const std::string text = app.ui.ClipboardText();
    FollowPage page;
    page.crawl = false;
    page.findHttps = true;
    LinkFollower(app.tables, page, text.data(), text.size(), text.size(), true, [&](const std::string& link) {
        if (!urls.empty() && urls.back() == link)
            return 0;
        urls.push_back(link);
        return 1;
    });
    return urls;
}

std::string WindowPlacement(const MainWindow& window)
{
    const QRect r = window.frameGeometry().translated(30, 30);
    return "WP:" + std::to_string(r.left()) + ":" + std::to_string(r.top()) + ":" + std::to_string(r.right() + 1) +
           ":" + std::to_string(r.bottom() + 1);
}

void OpenBatchWindow(MainWindow& window, const std::vector<std::string>& urls, bool start)
{
    AppState& app = window.App();
    InetSlot& slot = app.inetSlots[kBatchSlot];
    uint32_t expected = kSlotFree;
    if (!slot.state.compare_exchange_strong(expected, kSlotReserved)) {
        HandOverBatch(app, urls, WindowPlacement(window), [](const std::string& argument) {
            return QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                           {QString::fromLocal8Bit(argument.c_str())});
        });
        return;
    }
    auto* batch = new BatchDownloadWindow(app, slot, urls, &window);
    batch->setAttribute(Qt::WA_DeleteOnClose);
    batch->show();
    if (start)
        batch->Ok();
}

void OpenDownloadUrlWindow(MainWindow& window, const std::string& url)
{
    AppState& app = window.App();
    for (std::size_t i = kFirstWindowSlot; i <= kLastWindowSlot; ++i) {
        InetSlot& slot = app.inetSlots[i];
        uint32_t expected = kSlotFree;
        if (!slot.state.compare_exchange_strong(expected, kSlotReserved))
            continue;
        auto* single = new DownloadUrlWindow(app, slot, url, &window);
        single->setAttribute(Qt::WA_DeleteOnClose);
        single->show();
        return;
    }
}

} // namespace

bool HandOverBatch(AppState& app, const std::vector<std::string>& urls, const std::string& placement,
                   const std::function<bool(const std::string&)>& launch)
{
    if (urls.empty())
        return false;
    const std::string folder = TempFolder(app.options);
    std::string path, error;
    const int fd = CreateTempFile(folder, kHandoffStem, kHandoffExtension, path, error);
    if (fd < 0)
        return false;
    ::close(fd);
    ResultList list;
    ColumnState column;
    column.header = "Remote File";
    list.SetColumns({column});
    list.SetAutoSort(AutoSort::Off);
    for (const std::string& url : urls) {
        ResultRow row;
        row.cells = {url};
        list.InsertRow(std::move(row));
    }
    if (WriteList(app, list, path, kSessionAllRows) <= 0 || !launch(placement + ":LS1::CM3:" + path + ":LS2:")) {
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

void StartHandedOverBatch(MainWindow& window)
{
    AppState& app = window.App();
    std::vector<std::string> urls;
    for (std::size_t row = 0; row < app.list.RowCount(); ++row)
        urls.push_back(app.list.GetCell(row, 0));
    if (!urls.empty())
        OpenBatchWindow(window, urls, true);
}

void RegisterDownloadCommands(CommandRegistry& registry)
{
    registry.Add(kCmdBatchDownload, [](MainWindow& window, int) { OpenBatchWindow(window, CommandUrls(window), false); });
    registry.Add(kCmdDownloadFile, [](MainWindow& window, int) {
        const std::vector<std::string> urls = CommandUrls(window);
        if (urls.size() > 1)
            OpenBatchWindow(window, urls, false);
        else
            OpenDownloadUrlWindow(window, urls.empty() ? std::string() : urls.front());
    });
}

} // namespace lt
