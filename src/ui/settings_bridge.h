// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

struct AppState;
class MainWindow;

// Reads the INI file into the state at start-up; an unreadable file is reported and the defaults
// stay in force.
void LoadSettingsAtStart(AppState& app);

// Places the window at its saved position and gives the list its saved column widths.
void RestoreWindowPlacement(AppState& app, MainWindow& window);

// The close of the window: the window position and the column widths go into their records, then
// the INI file is written as far as the options allow. Returns whether it was written.
bool SaveSettingsAtClose(AppState& app, MainWindow& window);

} // namespace lt
