// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/compare_job.h"

#include <cinttypes>
#include <cstdio>

#include "core/app_state.h"
#include "core/messages.h"
#include "core/progress.h"
#include "list/result_list.h"
#include "platform/file_info.h"

namespace lt {
namespace {

enum CompareColumn : int { kColModified = 1, kColCreated = 2, kColAccessed = 3, kColSizeCell = 4 };

std::string SizeText(uint64_t size)
{
    char text[32];
    std::snprintf(text, sizeof text, "%" PRIu64, size);
    return text;
}

// The cell's leading number; an empty cell reads as 0.
bool SizeMatches(const std::string& cell, uint64_t size)
{
    uint64_t value = 0;
    std::size_t i = 0;
    while (i < cell.size() && cell[i] == ' ')
        ++i;
    for (; i < cell.size() && cell[i] >= '0' && cell[i] <= '9'; ++i) {
        if (value > (UINT64_MAX - 9) / 10)
            return false;
        value = value * 10 + static_cast<uint64_t>(cell[i] - '0');
    }
    return value == size;
}

// What the disk says about one row.
struct Verdict
{
    bool missing = false;
    bool matches = false;
    std::array<std::string, 5> newCells{}; // refresh mode: the cells to write
    std::array<bool, 5> write{};
    bool changed = false;
};

Verdict Judge(const ResultRow& row, const DiskCompareParams& p)
{
    Verdict v;
    FileFacts facts;
    if (!ReadFileFacts(row.Cell(0), facts) || !facts.isRegular) {
        v.missing = true;
        return v;
    }
    struct Attribute
    {
        bool checked;
        int column;
        std::string disk;
    };
    const Attribute attributes[] = {
        {p.compareModified, kColModified, FileDateText(facts.writeTime)},
        {p.compareCreated, kColCreated, FileDateText(facts.creationTime)},
        {p.compareAccessed, kColAccessed, FileDateText(facts.accessTime)},
        {p.compareSize, kColSizeCell, SizeText(facts.size)},
    };
    for (const Attribute& a : attributes) {
        if (!a.checked)
            continue;
        const std::string& cell = row.Cell(a.column);
        const bool equal = a.column == kColSizeCell ? SizeMatches(cell, facts.size) : cell == a.disk;
        if (p.refreshMode) {
            if (!equal || cell != a.disk) {
                v.newCells[a.column] = a.disk;
                v.write[a.column] = true;
                v.changed = true;
            }
            continue;
        }
        if (equal != p.compareDifferent) {
            v.matches = true;
            break;
        }
    }
    return v;
}

} // namespace

CompareOutcome CompareRows(ResultList& list, const DiskCompareParams& p, long remembered, const StopCheck& stop)
{
    CompareOutcome out;
    // The disk is read outside the list's lock; no other edit runs meanwhile.
    std::vector<Verdict> verdicts;
    const std::size_t n = list.RowCount();
    verdicts.reserve(n);
    list.ForEachRowFrom(0, [&](std::size_t, const ResultRow& row) {
        if (stop && (verdicts.size() & 255) == 0 && stop()) {
            out.stopped = true;
            return false;
        }
        verdicts.push_back(Judge(row, p));
        return true;
    });
    list.Modify([&](std::vector<ResultRow>& rows) {
        std::vector<ResultRow> kept;
        kept.reserve(rows.size());
        long deletedAbove = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            ResultRow& row = rows[i];
            if (i >= verdicts.size()) {
                kept.push_back(std::move(row));
                continue;
            }
            const Verdict& v = verdicts[i];
            if (p.refreshMode) {
                row.selected = false;
                if (v.missing) {
                    row.icon = kIconFileMissing;
                    row.selected = true;
                    ++out.counted;
                } else if (v.changed) {
                    for (int c = 1; c < 5; ++c) {
                        if (!v.write[c])
                            continue;
                        if (static_cast<int>(row.cells.size()) <= c)
                            row.cells.resize(c + 1);
                        row.cells[c] = v.newCells[c];
                    }
                    row.selected = true;
                    ++out.counted;
                }
                kept.push_back(std::move(row));
                continue;
            }
            bool remove = v.matches;
            if (v.missing) {
                if (p.deleteIfMissing)
                    remove = true;
                else
                    row.icon = kIconFileMissing;
            }
            if (remove) {
                ++out.counted;
                if (static_cast<long>(i) < remembered)
                    ++deletedAbove;
                continue;
            }
            kept.push_back(std::move(row));
        }
        rows = std::move(kept);
        if (remembered >= 0 && !rows.empty())
            out.remembered = std::min(remembered - deletedAbove, static_cast<long>(rows.size()) - 1);
    });
    return out;
}

std::string CompareEndText(bool refreshMode, long count)
{
    if (count <= 0)
        return refreshMode ? "No items modified !" : "No items found !";
    char text[64];
    std::snprintf(text, sizeof text, refreshMode ? "%ld Item(s) modified !" : "%ld Item(s) deleted from List !", count);
    return text;
}

bool CompareAllowed(AppState& app)
{
    if (app.listState.kind == kListFileList && app.list.RowCount() > 0)
        return true;
    ShowMessage(app, "Please first create or load a File List !");
    return false;
}

bool StartCompareJob(AppState& app, const DiskCompareParams& params)
{
    if (app.jobs.Running() || !CompareAllowed(app))
        return false;
    const std::vector<std::size_t> selected = app.list.SelectedRows();
    const long remembered = selected.empty() ? app.list.FocusedRow() : static_cast<long>(selected.front());
    return StartJob(app, kJobFileList, [params, remembered](AppState& a) {
        Progress progress(a, a.list.RowCount(), a.list.RowCount() > 200);
        const CompareOutcome out = CompareRows(a.list, params, remembered, [&a] { return a.jobs.Code() == 0; });
        progress.End();
        a.status.ShowRowCount(static_cast<long>(a.list.RowCount()));
        if (params.refreshMode) {
            // The changed rows stay selected; the first of them is shown.
            const std::vector<std::size_t> changed = a.list.SelectedRows();
            if (!changed.empty()) {
                a.list.SetFocusedRow(static_cast<long>(changed.front()));
                a.sorting.lastShownRow.store(static_cast<long>(changed.front()));
            }
        } else if (out.remembered >= 0) {
            a.list.SetSelectedRows({static_cast<std::size_t>(out.remembered)});
            a.list.SetFocusedRow(out.remembered);
            a.sorting.lastShownRow.store(out.remembered);
        }
        a.jobs.jobCode.store(0);
        ShowMessage(a, CompareEndText(params.refreshMode, out.counted));
    });
}

} // namespace lt
