// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "list/cell_pass.h"

namespace lt {

struct AppState;

// "&Replace", "&Cut off", "&Append".
enum EditMode : int { kEditReplace = 1, kEditCutOff = 2, kEditAppend = 3 };

// The replace settings; kept for the program's run so that the dialog shows the last values.
struct ReplaceParams
{
    int editMode = kEditReplace;
    std::string findPart;    // at most 259 characters
    std::string replacePart; // at most 255 characters
    ColumnMask editColumns{true, false, false, false, false, false};
    bool fromLeft = false;
    bool fromRight = false;
    bool keepLeft = true;
    bool keepRight = false;
    bool keepDelimiter = false;
    bool copyFirstWord = false;
    bool toOppositeSide = false;
    bool matchCase = false;
    bool selectedOnly = false;
};

// The OK refusal rules: true when nothing may run (no column, replace mode with two equal or two
// empty texts, or an empty find text without a side, cut-off with an empty mark, append with an
// empty text and no "&Copy first word", cut-off or append with neither side).
bool ReplaceRefused(const ReplaceParams& params);

// Applies the edit to one cell; returns true when it changed. A result that would reach 259
// characters leaves the cell as it was.
bool ReplaceCellText(std::string& cell, const ReplaceParams& params);

// The whole job over a list (without Qt).
CellPassOutcome ReplaceRows(ResultList& list, const ReplaceParams& params, bool checkOrder,
                            const StopCheck& stop = {}, const ProgressCheck& progress = {});

// "Replace &Text" after the dialog: starts the ReplaceJob (job code 5) over the current view's
// list. False when a job runs or the parameters are refused.
bool StartReplaceJob(AppState& app, const ReplaceParams& params);

} // namespace lt
