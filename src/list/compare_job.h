// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "list/sort_orders.h"

namespace lt {

struct AppState;
class ResultList;

// The icon of a row whose file was not found.
inline constexpr int kIconFileMissing = 12;

// The settings of "Compare File List to Disk Files".
struct DiskCompareParams
{
    bool compareDifferent = false; // "&different from" instead of "&equal to"
    bool compareModified = true;
    bool compareCreated = false;
    bool compareAccessed = false;
    bool compareSize = false;
    bool deleteIfMissing = false;
    bool refreshMode = false;      // the "&Refresh" button
};

struct CompareOutcome
{
    long counted = 0;
    long remembered = -1;
    bool stopped = false;
};

// Compares the file list (column 0 the path, 1..3 the modified, created and accessed dates, 4 the
// size) with the disk. Only regular files count as found. Not in refresh mode, a row whose first
// checked attribute (in the order Modified, Created, Accessed, Size) matches is deleted; in
// refresh mode the checked cells that differ are overwritten with the disk's values and the
// changed rows selected. `remembered` follows deleted rows above it.
CompareOutcome CompareRows(ResultList& list, const DiskCompareParams& params, long remembered, const StopCheck& stop = {});

// "No items found !" / "No items modified !", "%d Item(s) deleted from List !",
// "%d Item(s) modified !".
std::string CompareEndText(bool refreshMode, long count);

// "Compare &List to Disk Files" before the dialog: false with "Please first create or load a File
// List !" when the list is no file list or has no rows.
bool CompareAllowed(AppState& app);
// After the dialog: the CompareJob (job code 3). False when a job runs or the list is refused.
bool StartCompareJob(AppState& app, const DiskCompareParams& params);

} // namespace lt
