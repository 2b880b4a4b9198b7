// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

struct AppState;

// After the menus exist: posts the one start-up action the command line asked for (hand-over
// session or URL, start file, or start search). Window thread.
void DispatchStartAction(AppState& app);

// The search the command line named: a folder for the start actions 18, 20 and 22, files for
// 2, 4 and 6. Returns whether a search started.
bool RunStartSearch(AppState& app);

// At the end of a search: an unattended run saves the list as text or HTML table to its output
// path. Returns true when the window should close now.
bool FinishStartAction(AppState& app);

} // namespace lt
