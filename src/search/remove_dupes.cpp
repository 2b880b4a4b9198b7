// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/remove_dupes.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/job_control.h"
#include "core/progress.h"
#include "core/window_messages.h"

namespace lt {

namespace {

constexpr std::size_t kSortNoticeRows = 300;

std::string Folded(const std::string& text)
{
    std::string out(text);
    for (auto& c : out)
        c = static_cast<char>(Cp1252Lower(static_cast<uint8_t>(c)));
    return out;
}

bool SortedByItem(const std::vector<ResultRow>& rows)
{
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (Cp1252CompareNoCase(rows[i - 1].Cell(0), rows[i].Cell(0)) > 0)
            return false;
    return true;
}

// The title column of the list (the column headed "Title"), or -1 when it has none.
int TitleColumn(const ResultList& list)
{
    const int count = list.ColumnCount();
    for (int c = 1; c < count && c < 6; ++c)
        if (Cp1252EqualsNoCase(list.GetHeaderText(c), "Title"))
            return c;
    return -1;
}

} // namespace

bool RemoveDupesCommand(AppState& app)
{
    if (app.jobs.Running() || app.list.RowCount() < 2)
        return false;
    return StartJob(app, kJobRemoveDupes, [](AppState& a) { RemoveDupesJob(a); });
}

void RemoveDupesJob(AppState& app)
{
    app.ui.SetWaitCursor(true);
    const int titleColumn = TitleColumn(app.list);
    const bool large = app.list.RowCount() > kSortNoticeRows;
    std::size_t kept = 0;

    app.list.Modify([&](std::vector<ResultRow>& rows) {
        if (!SortedByItem(rows)) {
            if (large)
                app.status.SetStatusText(" Sorting items ...", 0);
            std::stable_sort(rows.begin(), rows.end(), [](const ResultRow& a, const ResultRow& b) {
                return Cp1252CompareNoCase(a.Cell(0), b.Cell(0)) < 0;
            });
        }

        Progress progress = Progress::ForRows(app, rows.size());
        // Items seen so far (folded) and where their row went in `out`.
        std::unordered_map<std::string, std::size_t> seen;
        seen.reserve(rows.size());
        std::vector<ResultRow> out;
        out.reserve(rows.size());
        bool stopped = false;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (app.jobs.Code() == 0) {
                stopped = true;
                break;
            }
            progress.Advance(i + 1);
            std::string key = Folded(rows[i].Cell(0));
            auto it = seen.find(key);
            // An item with a final "/" repeats the same item without it (sorted before it);
            // the reverse does not hold.
            if (it == seen.end() && !key.empty() && key.back() == '/') {
                auto bare = seen.find(key.substr(0, key.size() - 1));
                if (bare != seen.end() && !out[bare->second].Cell(0).empty() &&
                    out[bare->second].Cell(0).back() != '/')
                    it = bare;
            }
            if (it == seen.end()) {
                seen.emplace(std::move(key), out.size());
                out.push_back(std::move(rows[i]));
                continue;
            }
            ResultRow& first = out[it->second];
            if (titleColumn > 0 && first.Cell(titleColumn).empty() && !rows[i].Cell(titleColumn).empty())
                first = std::move(rows[i]);
        }
        progress.End();
        if (!stopped)
            rows = std::move(out);
        kept = rows.size();
    });

    app.status.ShowRowCount(static_cast<long>(kept));
    app.jobs.jobCode.store(0);
    app.ui.Post(kMsgRestoreCursor, 0, 0);
}

} // namespace lt
