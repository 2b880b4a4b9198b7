// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/sort_command.h"

#include <memory>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "core/progress.h"
#include "core/window_messages.h"
#include "list/domain_tree.h"
#include "list/list_state.h"
#include "list/result_list.h"

namespace lt {

namespace {

constexpr std::size_t kComparisonSortLimit = 2000;
constexpr std::size_t kWindowThreadKeySortLimit = 4000;
constexpr std::size_t kSortMessageRows = 300;

// Everything a sort job needs, copied on the window thread before it starts.
struct SortRequest
{
    bool domainList = false;
    SortEngine engine = SortEngine::None;
    int mode = kSortColumn;
    int column = 0;
    int columnType = kColText;
    CompareParams compare;
    KeySortSpec key;
    bool firstRowAfter = false; // hits and date sorts select the first row
    bool showedMessage = false;
};

ResultList& TargetList(AppState& app, bool domainList) { return domainList ? app.secondList : app.list; }
SortFlags& TargetFlags(AppState& app, bool domainList)
{
    return domainList ? app.sorting.domain : app.sorting.main;
}

// The row the reselection follows: the focused row when it is selected, else the first selected.
long SelectedAnchor(const ResultList& list)
{
    const std::vector<std::size_t> selected = list.SelectedRows();
    if (selected.empty())
        return -1;
    const long focused = list.FocusedRow();
    for (const std::size_t row : selected) {
        if (static_cast<long>(row) == focused)
            return focused;
    }
    return static_cast<long>(selected.front());
}

// Asks the stop question when Esc was pressed; true when the job is to end.
bool SortShouldStop(AppState& app)
{
    if (app.sorting.escRequested.exchange(false)) {
        const MsgAnswer answer =
            ShowMessage(app, "Stop current Process ?", "LinkTrawl", {MsgButtons::YesNo, MsgIcon::Question});
        if (answer == MsgAnswer::Yes)
            app.jobs.jobCode.store(0);
    }
    return app.jobs.Code() == 0;
}

SortSnapshot TakeSnapshot(const ResultList& list, int column)
{
    // Sized first: growing a buffer of a million cells copies it several times over.
    std::size_t rows = 0, bytes = 0;
    list.ForEachCell(column, [&](std::size_t, std::string_view cell, int) {
        ++rows;
        bytes += cell.size();
    });
    SortSnapshot snapshot;
    snapshot.Reserve(rows, bytes);
    list.ForEachCell(column, [&](std::size_t, std::string_view cell, int icon) { snapshot.Add(cell, icon); });
    return snapshot;
}

// Applies a computed order and does what every sort does at its end.
void FinishSort(AppState& app, const SortRequest& req, const SortOutcome& outcome, std::size_t rowCount)
{
    ResultList& list = TargetList(app, req.domainList);
    SortFlags& flags = TargetFlags(app, req.domainList);
    const long previous = SelectedAnchor(list);
    long moved = previous;
    bool identity = true;
    for (std::size_t i = 0; i < outcome.order.size() && identity; ++i)
        identity = outcome.order[i] == i;
    if (!identity && outcome.order.size() == rowCount) {
        // Rows never change while a list job runs; a list that did anyway is left as it is.
        const bool applied = list.Reorder(outcome.order);
        if (applied && previous >= 0) {
            for (std::size_t i = 0; i < outcome.order.size(); ++i) {
                if (outcome.order[i] == static_cast<uint32_t>(previous)) {
                    moved = static_cast<long>(i);
                    break;
                }
            }
        }
    }
    if (!outcome.stopped) {
        flags.lastSortColumn = req.mode == kSortColumn ? req.column : -1;
        if (req.engine == SortEngine::Key &&
            (req.mode == kSortLength || req.mode == kSortEnding || req.mode == kSortSymbol)) {
            std::vector<ColumnState> columns = list.Columns();
            if (!columns.empty() && !columns[0].directionFlag) {
                columns[0].directionFlag = true;
                list.SetColumns(std::move(columns));
            }
        }
    }
    if (!req.domainList) {
        const bool byUrl = !outcome.stopped && req.mode == kSortColumn && req.column == 0 &&
                           !flags.columnDirection[0] && req.columnType != kColIp;
        app.sorting.mainSortedByUrl.store(byUrl);
    }
    ReselectAfterSort(app, list, previous, moved, req.firstRowAfter);
    if (req.showedMessage)
        app.status.ClearStatus(1);
    app.ui.Post(kMsgRestoreCursor, 0, 0);
    app.jobs.jobCode.store(0);
}

void RunComparisonSort(AppState& app, const SortRequest& req)
{
    ResultList& list = TargetList(app, req.domainList);
    const SortSnapshot snapshot = TakeSnapshot(list, req.column);
    const LocaleCollator collator(LocaleCollator::UserLocale());
    const SortOutcome outcome =
        ComparisonSortOrder(snapshot, req.compare, collator, [&app] { return SortShouldStop(app); });
    FinishSort(app, req, outcome, snapshot.Size());
}

void RunKeySort(AppState& app, const SortRequest& req)
{
    ResultList& list = TargetList(app, req.domainList);
    const SortSnapshot snapshot = TakeSnapshot(list, req.column);
    const std::size_t n = snapshot.Size();
    std::unique_ptr<Progress> progress;
    if (n > kComparisonSortLimit)
        progress = std::make_unique<Progress>(app, 100, true);
    const SortOutcome outcome = KeySortOrder(
        snapshot, req.key, app.sorting.collationRank, [&app] { return SortShouldStop(app); },
        [&progress](uint64_t done, uint64_t total) {
            if (progress && total > 0)
                progress->Advance(done * 100 / total);
        });
    progress.reset();
    FinishSort(app, req, outcome, n);
}

// Asked when the sort is chosen, so that no adder of titles has to keep a flag up to date.
bool AnyRowHasText(const ResultList& list, int column)
{
    bool found = false;
    list.ForEachRowFrom(0, [&found, column](std::size_t, const ResultRow& row) {
        found = !row.Cell(column).empty();
        return !found;
    });
    return found;
}

} // namespace

SortEngine ChooseSortEngine(int mode, std::size_t rows)
{
    switch (mode) {
    case kSortLength:
    case kSortEnding:
    case kSortSymbol: return SortEngine::Key;
    case kSortTrailing: return SortEngine::Comparison;
    default: return rows > kComparisonSortLimit ? SortEngine::Key : SortEngine::Comparison;
    }
}

bool KeySortRunsOnWindowThread(std::size_t rows) { return rows <= kWindowThreadKeySortLimit; }

bool SortByColumn(AppState& app, bool domainList)
{
    if (app.jobs.Running())
        return false;
    ResultList& list = TargetList(app, domainList);
    SortFlags& flags = TargetFlags(app, domainList);
    const std::size_t n = list.RowCount();
    const std::vector<ColumnState> columns = list.Columns();
    const int column = flags.sortColumn;
    if (n == 0 || column < 0 || column >= static_cast<int>(columns.size()))
        return false;
    const std::string& sortHeader = columns[column].header;
    // A folder or file-list search reads many files even when it was started on one target.
    if (!domainList && app.listState.kind == kListFileSearch && !app.search.severalFiles &&
        Cp1252EqualsNoCase(sortHeader, "File"))
        return false; // every row comes from the one file searched
    if (!sortHeader.empty() && (sortHeader[0] == 'T' || sortHeader[0] == 't') && !AnyRowHasText(list, 1))
        return false;

    SortRequest req;
    req.domainList = domainList;
    req.mode = flags.sortMode;
    req.column = req.mode == kSortLength || req.mode == kSortEnding || req.mode == kSortSymbol ? 0 : column;
    req.columnType = columns[req.column].type;
    const std::string& header = columns[req.column].header;
    const bool ownDirection = req.column < static_cast<int>(flags.columnDirection.size());
    if (req.mode == kSortColumn && req.column == flags.lastSortColumn && ownDirection)
        flags.columnDirection[req.column] = !flags.columnDirection[req.column];
    const bool reversedDirection = ownDirection && flags.columnDirection[req.column];

    req.engine = domainList ? SortEngine::Comparison : ChooseSortEngine(req.mode, n);
    req.compare.mode = req.mode;
    req.compare.column = req.column;
    req.compare.columnType = req.columnType;
    req.compare.hitsHeader = !header.empty() && (header[0] == 'H' || header[0] == 'h');
    req.compare.lengthReversed = flags.lengthReversed;
    req.compare.endingReversed = flags.endingReversed;
    req.compare.trailingReversed = flags.trailingReversed;
    req.compare.symbolReversed = flags.symbolReversed;
    req.compare.directionReversed = reversedDirection;

    req.key.mode = req.mode;
    req.key.keyClass = KeyClassForType(req.columnType);
    req.key.descending = ColumnStartsDescending(req.columnType, req.column) != reversedDirection;
    req.key.reversed = req.mode == kSortLength   ? flags.lengthReversed
                       : req.mode == kSortEnding ? flags.endingReversed
                                                 : flags.symbolReversed;
    req.firstRowAfter = req.mode == kSortColumn &&
                        (req.columnType == kColHits || req.columnType == kColDate || req.compare.hitsHeader);

    if (req.engine == SortEngine::Comparison) {
        if (n > kSortMessageRows) {
            app.status.SetStatusText(" Sorting items (press Esc to stop) ...", 1);
            req.showedMessage = true;
        }
        app.sorting.escRequested.store(false);
        return StartJob(app, kJobColumnSort, [req](AppState& a) { RunComparisonSort(a, req); });
    }
    app.sorting.escRequested.store(false);
    if (KeySortRunsOnWindowThread(n)) {
        int32_t idle = 0;
        if (!app.jobs.jobCode.compare_exchange_strong(idle, kJobTempSort))
            return false;
        RunKeySort(app, req);
        return true;
    }
    return StartJob(app, kJobTempSort, [req](AppState& a) { RunKeySort(a, req); });
}

bool SortCommand(AppState& app, int command)
{
    const bool domainList = app.domain.viewShown;
    ResultList& list = TargetList(app, domainList);
    SortFlags& flags = TargetFlags(app, domainList);
    bool* reversed = nullptr;
    int mode = kSortColumn, column = 0;
    switch (command) {
    case kCmdSortLength: mode = kSortLength, reversed = &flags.lengthReversed; break;
    case kCmdSortEnding: mode = kSortEnding, reversed = &flags.endingReversed; break;
    case kCmdSortSymbol: mode = kSortSymbol, reversed = &flags.symbolReversed; break;
    case kCmdSortFileNumber:
    case kCmdSortRemoteNumber: {
        const char* name = command == kCmdSortFileNumber ? "File" : "Remote File";
        column = -1;
        const int count = std::min(list.ColumnCount(), 6);
        for (int c = 0; c < count && column < 0; ++c) {
            if (Cp1252EqualsNoCase(list.GetHeaderText(c), name))
                column = c;
        }
        if (column < 0)
            return false;
        mode = kSortTrailing, reversed = &flags.trailingReversed;
        break;
    }
    default: return false;
    }
    const int oldMode = flags.sortMode, oldColumn = flags.sortColumn;
    flags.sortMode = mode;
    flags.sortColumn = column;
    const bool started = SortByColumn(app, domainList);
    if (started)
        *reversed = !*reversed;
    else
        flags.sortMode = oldMode, flags.sortColumn = oldColumn;
    return started;
}

HeaderHit HitTestHeader(int x, const std::vector<int>& columnEdges)
{
    HeaderHit hit;
    for (std::size_t c = 0; c + 1 < columnEdges.size(); ++c) {
        if (x >= columnEdges[c] && x < columnEdges[c + 1]) {
            hit.column = static_cast<int>(c);
            hit.xInColumn = x - columnEdges[c];
            break;
        }
    }
    return hit;
}

bool InHeaderSortZone(int xInColumn) { return xInColumn >= 0 && xInColumn < kHeaderSortZone; }

HeaderClickResult ColumnHeaderClick(AppState& app, int column, int xInColumn, bool shift, bool ctrl)
{
    HeaderClickResult result;
    const bool domainList = app.domain.viewShown;
    ResultList& list = TargetList(app, domainList);
    if (column < 0 || column >= list.ColumnCount())
        return result;
    if (list.Column(column).type == kColHits || InHeaderSortZone(xInColumn)) {
        SortFlags& flags = TargetFlags(app, domainList);
        const int oldMode = flags.sortMode, oldColumn = flags.sortColumn;
        flags.sortMode = kSortColumn;
        flags.sortColumn = column;
        if (SortByColumn(app, domainList)) {
            result.action = HeaderAction::Sorted;
            result.column = column;
        } else {
            flags.sortMode = oldMode, flags.sortColumn = oldColumn;
        }
        return result;
    }
    result.action = HeaderAction::Fit;
    result.fitMode = shift ? 1 : (ctrl ? 2 : 0);
    result.column = result.fitMode == 0 ? column : -1;
    return result;
}

void RequestSortStop(AppState& app)
{
    const int32_t code = app.jobs.Code();
    if (code == kJobColumnSort || code == kJobTempSort)
        app.sorting.escRequested.store(true);
}

long ReselectAfterSort(AppState& app, ResultList& list, long previous, long moved, bool firstRow)
{
    const long n = static_cast<long>(list.RowCount());
    long chosen = -1;
    if (n > 0) {
        if (firstRow) {
            chosen = 0;
        } else if (moved >= 0 && moved < n) {
            chosen = moved;
            const long top = app.sorting.viewTopRow.load();
            const long page = app.sorting.viewPageRows.load();
            if (page > 0 && (moved < top || moved >= top + page) && previous >= 0 && previous < page)
                chosen = 0; // the row was on the first page and has gone out of sight
        }
    }
    if (chosen >= 0) {
        if (firstRow || chosen != moved)
            list.SetSelectedRows({static_cast<std::size_t>(chosen)});
        else
            list.SetSelected(static_cast<std::size_t>(chosen), true);
        list.SetFocusedRow(chosen);
    }
    app.sorting.lastShownRow.store(chosen);
    app.status.ShowRowCount(n);
    return chosen;
}

bool ListSortedByColumn0(const ResultList& list)
{
    bool sorted = true;
    std::string previous;
    bool first = true;
    list.ForEachRow([&](std::size_t, const ResultRow& row) {
        if (!sorted)
            return;
        const std::string& text = row.Cell(0);
        if (!first && Cp1252CompareNoCase(previous, text) > 0)
            sorted = false;
        previous = text;
        first = false;
    });
    return sorted;
}

bool SortByColumn0Now(AppState& app, ResultList& list)
{
    const SortSnapshot snapshot = TakeSnapshot(list, 0);
    CompareParams params;
    params.columnType = list.ColumnCount() > 0 ? list.Column(0).type : kColText;
    const LocaleCollator collator(LocaleCollator::UserLocale());
    const SortOutcome outcome =
        ComparisonSortOrder(snapshot, params, collator, [&app] { return app.sorting.escRequested.load(); });
    if (outcome.stopped)
        return false;
    const long focused = list.FocusedRow();
    list.Reorder(outcome.order);
    for (std::size_t i = 0; focused >= 0 && i < outcome.order.size(); ++i) {
        if (outcome.order[i] == static_cast<uint32_t>(focused)) {
            list.SetFocusedRow(static_cast<long>(i));
            break;
        }
    }
    return true;
}

} // namespace lt
