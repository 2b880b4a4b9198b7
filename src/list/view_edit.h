// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "list/cell_pass.h"

namespace lt {

struct AppState;
class ResultList;

// Edits act on the list of the current view: the domain folder list while the domain view is
// shown, else the result list.
bool EditingDomainList(const AppState& app);
ResultList& EditedList(AppState& app);

// Copies cells 0..2 of the listed domain-list rows into the result-list rows with the same item
// parameter, so that the next folder selection shows the edited texts. Returns true when a copied
// column 0 left the result list's ascending order.
bool MirrorToResultList(AppState& app, const std::vector<std::size_t>& domainRows);
// Deletes the result-list rows whose item parameter is in `params`.
void DeleteFromResultList(AppState& app, const std::unordered_set<uint32_t>& params);

// Clears the order flag when an edit put column 0 of the result list out of ascending order; the
// domain commands are disabled from then on, and the domain tree is rebuilt at the job's end.
void NoteEditEnded(AppState& app, bool orderBroken, bool resultListChanged);

// Selects and focuses `row` of `list` alone (nothing for -1) and asks the view to show it.
void SelectShownRow(AppState& app, ResultList& list, long row);

using CellEditJob =
    std::function<CellPassOutcome(ResultList& list, bool checkOrder, const StopCheck& stop, const ProgressCheck& progress)>;

// Starts a cell edit as the job code 5 over the current view's list: runs `job`, mirrors domain
// list changes, updates the order flag, shows the row count and `endText(count)` (caption
// "LinkTrawl") and selects the first changed row. False when a job runs.
bool StartCellEditJob(AppState& app, CellEditJob job, std::function<std::string(long)> endText);

} // namespace lt
