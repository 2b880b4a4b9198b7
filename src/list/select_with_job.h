// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "list/word_match.h"

namespace lt {

struct AppState;
class ResultList;

struct SelectOutcome
{
    long selected = 0;
    long first = -1; // the first selected row
    bool stopped = false;
};

// Selects the matching rows; the others are deselected unless `addToSelection`.
SelectOutcome SelectRowsWith(ResultList& list, const WordMatchParams& params, const StopCheck& stop = {});

// "No items found !", "One item selected!", "%d items selected !".
std::string SelectEndText(long count);

// "&Select all with..." after the dialog: the SelectWithJob (job code 5) over the current view's
// list. False when refused or a job runs.
bool StartSelectWithJob(AppState& app, const WordMatchParams& params);

} // namespace lt
