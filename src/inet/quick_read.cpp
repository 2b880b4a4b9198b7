// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/quick_read.h"

#include <strings.h>

#include "core/app_state.h"
#include "core/messages.h"
#include "core/window_messages.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/redirect.h"
#include "list/list_kind.h"
#include "search/item_kind.h"

namespace lt {

namespace {

// The quick read asks before it follows a redirect to another place.
class QuickReadReport : public CrawlObserver
{
public:
    explicit QuickReadReport(AppState& app) : m_app(app) {}

    void StateLine(int stateIndex) override
    {
        if (stateIndex == 1)
            m_app.status.SetStatusText("Connect to server", 1, 0);
    }
    bool TakeRedirect(int status, const std::string& target) override
    {
        if (status != kStatusRedirectElsewhere)
            return true;
        return ShowMessage(m_app, "Redirected to:\r\n" + target + "\r\nRead redirected page ?", "LinkTrawl",
                           {MsgButtons::YesNo, MsgIcon::Question}) == MsgAnswer::Yes;
    }

private:
    AppState& m_app;
};

// The message of a row that failed: the status text goes in brackets after "Can not open Url !".
std::string FailureText(const std::string& status)
{
    std::string reason = status;
    if (reason.compare(0, 7, "Error: ") == 0)
        reason.erase(0, 7);
    else if (reason.compare(0, 6, "Error ") == 0)
        reason.erase(0, 6);
    return "Can not open Url ! (Error: " + reason + ")";
}

} // namespace

std::string QuickReadUrl(const std::string& text)
{
    if (strncasecmp(text.c_str(), "http", 4) == 0 || strncasecmp(text.c_str(), "ftp://", 6) == 0)
        return text;
    return "http://" + text;
}

bool PrepareCrawlResults(AppState& app, bool saving)
{
    SelectItemKind(app);
    if (!PrepareScan(app))
        return false;
    SwitchListKind(app, saving ? kListInetSaved : kListInetRead);
    app.list.SetAutoSort(AutoSort::Off);
    app.search.hitCount = 0;
    return true;
}

void AttachCrawlStop(AppState& app)
{
    InetSlot& slot = app.inetSlots[0];
    app.jobs.abortConnection = [&slot] {
        if (slot.state.load() == kSlotRunning)
            slot.RequestCancel();
    };
}

bool StartQuickRead(AppState& app, const CrawlSettings& settings, const FetchSettings& fetch, const std::string& url)
{
    InetSlot& slot = app.inetSlots[0];
    if (app.jobs.Code() != kJobIdle && app.jobs.Code() != kJobCrawlIdle)
        return false;
    if (!settings.saveOnly && !PrepareCrawlResults(app, settings.saveToDisk))
        return false;
    app.jobs.jobCode = kJobIdle;
    AttachCrawlStop(app);
    slot.stopped = false;
    slot.skipped = false;
    slot.state = kSlotRunning;
    app.status.SetStatusText(url, 0);
    const bool started = StartJob(app, kJobConnecting, [settings, fetch, url](AppState& a) {
        QuickReadJob(a, settings, fetch, url);
    });
    if (!started)
        slot.state = kSlotFree;
    return started;
}

void QuickReadJob(AppState& app, CrawlSettings settings, const FetchSettings& fetch, const std::string& url)
{
    InetSlot& slot = app.inetSlots[0];
    slot.state = kSlotRunning;
    app.jobs.jobCode = kJobInetRead;
    settings.followLinks = false;
    settings.retries = 0;
    CrawlQueue queue;
    queue.Add(url, 0, {});
    QuickReadReport report(app);
    const CrawlResult result = CrawlJob(app, slot, settings, fetch, queue, report);
    const std::string status = queue.Rows().empty() ? std::string() : queue.Rows().front().status;
    const bool stopped = result.cancelled || app.jobs.Code() == kJobInetStop || app.jobs.Code() == kJobIdle;

    const std::string bytes = "Bytes read: " + GroupDigits(result.bytesRead);
    bool failed = false;
    if (!result.error.empty()) {
        failed = true;
        app.jobs.jobCode = kJobInetError;
        ShowMessage(app, result.error, "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
    } else if (result.declined) {
        failed = true;
    } else if (stopped) {
        app.status.SetStatusText(bytes + " (Cancelled)", 1, 0);
    } else if (status == "Error reading remote File !") {
        // What was read so far stays in the list; the status bar says the page was cut.
        app.status.SetStatusText(status, 1, 0);
    } else if (!status.empty()) {
        failed = true;
        app.jobs.jobCode = kJobInetError;
        ShowMessage(app, FailureText(status), "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
    } else {
        app.status.SetStatusText(result.pageTitle.empty() ? bytes + " (Done)" : result.pageTitle, 1, 0);
    }

    // The slot is free before the end is reported, so that the next read can start at once.
    if (slot.state.load() != kSlotClosing)
        slot.state = kSlotFree;
    app.jobs.jobCode = kJobIdle;
    if (!failed && !stopped && !settings.saveOnly) {
        ReportResult(app, app.search.hitCount.load(), false);
        if (app.list.RowCount() > 0) {
            app.list.SetFocusedRow(0);
            app.ui.Post(kMsgFocusList, 0, 0);
        }
    }
    app.ui.Post(kMsgRestoreCursor, 0, 0);
}

} // namespace lt
