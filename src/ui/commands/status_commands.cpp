// SPDX-License-Identifier: GPL-3.0-or-later
// "&Test Url Status": a status window of its own for the selected URLs (or the clipboard's).
#include "core/command_ids.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/main_window.h"
#include "ui/status_test_window.h"

namespace lt {

void RegisterStatusCommands(CommandRegistry& registry)
{
    // With every status slot taken the command does nothing.
    registry.Add(kCmdTestUrlStatus, [](MainWindow& window, int) { StatusTestWindow::Open(window); });
}

} // namespace lt
