// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

struct AppState;

// Brings the column set in line with ListKind, ItemKind, hit-rate mode and the file-info option.
// Does nothing when none of them changed since the last call, unless mode is 2.
void ApplyListKind(AppState& app, int mode = 0);

// Empties the list; mode 2 keeps the column set, mode 3 keeps the domain list.
void ClearResultList(AppState& app, int mode = 0);

// Switches ListKind (remembering the previous kind), clears the list and applies the kind.
void SwitchListKind(AppState& app, int kind);

} // namespace lt
