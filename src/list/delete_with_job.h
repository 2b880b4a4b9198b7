// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <unordered_set>

#include "list/word_match.h"

namespace lt {

struct AppState;
class ResultList;

struct DeleteOutcome
{
    long deleted = 0;
    long remembered = -1; // the remembered row's new index (the next remaining row when it went)
    bool stopped = false;
    std::unordered_set<uint32_t> params; // item parameters of the deleted rows
};

// Deletes the rows that match. `remembered` is the selected row before the job (-1: none).
DeleteOutcome DeleteRowsWith(ResultList& list, const WordMatchParams& params, long remembered,
                             const StopCheck& stop = {});

// Deletes the rows whose `pred` holds, keeping `remembered` on the same remaining row.
DeleteOutcome DeleteRowsWhere(ResultList& list, const std::function<bool(const ResultRow&)>& pred, long remembered,
                              const StopCheck& stop = {});

// "De&lete all with..." (Ctrl+D) after the dialog: the DeleteWithJob (job code 3) over the
// current view's list; in the domain view the result-list rows go too. False when refused or a
// job runs.
bool StartDeleteWithJob(AppState& app, const WordMatchParams& params);

} // namespace lt
