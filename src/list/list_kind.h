// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "list/result_list.h"

namespace lt {

struct AppState;

// Brings the column set in line with ListKind, ItemKind, hit-rate mode and the file-info option.
// Does nothing when none of them changed since the last call, unless mode is 2.
void ApplyListKind(AppState& app, int mode = 0);

// Empties the list; mode 2 keeps the column set, mode 3 keeps the domain list.
void ClearResultList(AppState& app, int mode = 0);

// Switches ListKind (remembering the previous kind), clears the list and applies the kind.
void SwitchListKind(AppState& app, int kind);

// One column of a kind's column set.
struct KindColumn
{
    std::string header;
    int type = kColText;
};

// The named columns of a kind (before the hit-rate overlay), as ApplyListKind sets them.
std::vector<KindColumn> KindColumns(int kind, int itemKind, bool fileInfo, bool netscapeDetail);

// Titles of the row context menu's main action (4210) and second action (2100, empty for none).
struct ContextActions
{
    std::string main;
    std::string second;
};
ContextActions ContextActionTexts(const AppState& app);

} // namespace lt
