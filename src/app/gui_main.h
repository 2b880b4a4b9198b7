// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {
struct AppState;
// Runs the desktop program (normal or text-window mode) until its window closes; returns the exit code.
int RunGui(int argc, char** argv);
} // namespace lt
