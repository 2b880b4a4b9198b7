// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/session_load.h"

#include <memory>

#include <unistd.h>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "core/window_messages.h"
#include "list/add_result_row.h"
#include "list/list_kind.h"
#include "store/session_file.h"
#include "store/settings_io.h"
#include "store/temp_file.h"

namespace lt {

namespace {

constexpr long kCountEvery = 4096;

// The column set of the saved kind; columns the kind does not name (a wider saved layout, the
// file-info columns) come from the file's headers, and the old session and parsed-text kinds
// take all their headers from it.
void ApplySessionColumns(AppState& app, const SessionHeader& h)
{
    std::vector<ColumnState> cols = app.list.Columns();
    const bool headersFromFile = h.listKind == kListOldSession || h.listKind == kListParsedText;
    const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(h.columns), 6);
    for (std::size_t i = cols.size(); i < wanted; ++i) {
        ColumnState c;
        c.width = i < app.listState.initialWidths.size() ? app.listState.initialWidths[i] : 120;
        cols.push_back(c);
    }
    for (std::size_t i = 0; i < cols.size() && i < h.headers.size(); ++i)
        if (headersFromFile || i >= app.list.Columns().size())
            cols[i].header = h.headers[i].empty() ? std::string(" ") : h.headers[i];
    if (h.statusColumn >= 1 && h.statusColumn <= 5 && static_cast<std::size_t>(h.statusColumn) < cols.size())
        cols[static_cast<std::size_t>(h.statusColumn)].header = "Status";
    app.list.SetColumns(std::move(cols));
}

void LoadSessionRows(AppState& app, SessionReader& reader, const std::string& path, bool append,
                     SessionSource source)
{
    ListState& ls = app.listState;
    long loaded = 0;
    bool stopped = false;
    std::string error;
    const bool read = reader.ReadRows(
        [&](SessionRow& row) {
            if (!app.jobs.ScanGoesOn()) {
                stopped = true;
                return false;
            }
            for (std::size_t c = 1; c < row.size(); ++c)
                ls.rowTexts[c] = std::move(row[c]);
            AddResultRow(app, row[0]);
            if (++loaded % kCountEvery == 0)
                app.status.ShowRowCount(static_cast<long>(app.list.RowCount()));
            return true;
        },
        error);
    for (auto& text : ls.rowTexts)
        text.clear();
    app.sorting.mainSortedByUrl.store(ListSortedByFirstColumn(app));

    const bool handoff = source != SessionSource::User;
    if (!read && !handoff)
        ShowMessage(app, error, "LinkTrawl", {MsgButtons::Ok, MsgIcon::Error});
    if (loaded > 0) {
        app.list.SetFocusedRow(0);
        app.ui.Post(kMsgFocusList, 0, 0);
        if (!stopped && !handoff && app.jobs.Code() != kJobIdle)
            ReportResult(app, loaded, append);
        app.status.ShowRowCount(static_cast<long>(app.list.RowCount()));
    }
    if (handoff) {
        // Only a file this program made for the hand-over is removed; a path named by anyone
        // else stays.
        if (IsOwnTempFile(path, TempFolder(app.options), kHandoffStem, kHandoffExtension))
            ::unlink(path.c_str());
        if (source == SessionSource::HandoffBatch)
            app.ui.Post(kMsgStartBatchDownload, 0, 0);
    }
    app.ui.Post(kMsgRestoreCursor, 0, 0);
}

} // namespace

bool ListSortedByFirstColumn(const AppState& app)
{
    bool sorted = true;
    std::string previous;
    bool first = true;
    app.list.ForEachRowFrom(0, [&](std::size_t, const ResultRow& row) {
        const std::string& key = row.Cell(0);
        if (!first && Cp1252CompareNoCase(previous, key) > 0) {
            sorted = false;
            return false;
        }
        previous = key;
        first = false;
        return true;
    });
    return sorted;
}

bool StartLoadSession(AppState& app, const std::string& path, bool append, SessionSource source, std::string* error)
{
    const bool handoff = source != SessionSource::User;
    auto fail = [&](const std::string& why, const std::string& shown) {
        if (error != nullptr)
            *error = why;
        if (!handoff && !shown.empty())
            ShowMessage(app, shown, "LinkTrawl", {MsgButtons::Ok, MsgIcon::Error});
        return false;
    };
    if (app.jobs.Running())
        return fail("a job is running", "");
    auto reader = std::make_shared<SessionReader>();
    std::string why;
    if (!reader->Open(path, why)) {
        const bool opened = ::access(path.c_str(), R_OK) == 0;
        return fail(why, opened ? kLoadSessionFailed : "Could Not Open or Create File " + path + " !");
    }
    const SessionHeader header = reader->Header();
    if (ReadSettings(app, reader->Settings(), append ? kSettingsSessionCheck : kSettingsSessionRead) < 0)
        return fail(path + " holds no session settings", kLoadSessionFailed);

    if (!append) {
        ListState& ls = app.listState;
        if (!handoff) {
            ls.previousKind = ls.kind;
            ls.kind = header.listKind;
        }
        ClearResultList(app);
        ApplySessionColumns(app, header);
        ls.statusColumn = header.statusColumn >= 1 && header.statusColumn <= 5 ? header.statusColumn : -1;
        ls.layoutChanged = header.layoutChanged;
        ls.sourceFiles = header.sourceFiles;
        if (!handoff) {
            app.status.SetStatusText(path, 0);
            if (!header.created.empty())
                app.status.SetStatusText("Session from " + header.created, 1);
        }
    }
    const bool started = StartJob(app, kJobListEdit, [reader, path, append, source](AppState& a) {
        LoadSessionRows(a, *reader, path, append, source);
    });
    if (!started)
        return fail("the loading could not start", kLoadSessionFailed);
    return true;
}

long SaveSessionCommand(AppState& app, const std::string& path)
{
    std::string error;
    const long written = WriteList(app, app.list, path, kSessionAllRows, &error);
    if (written <= 0) {
        ShowMessage(app, kSaveSessionFailed, "LinkTrawl", {MsgButtons::Ok, MsgIcon::Error});
        return written;
    }
    app.status.SetStatusText(path, 0);
    ShowMessage(app, kSessionSaved, "LinkTrawl", {MsgButtons::Ok, MsgIcon::Information});
    return written;
}

} // namespace lt
