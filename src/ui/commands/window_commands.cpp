// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own commands: leaving and the about box.
#include <QMessageBox>

#include "core/app_state.h"
#include "core/command_ids.h"
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"
#include "ui/main_window.h"

namespace lt {

void RegisterWindowCommands(CommandRegistry& registry)
{
    registry.Add(kCmdExit, [](MainWindow& window, int) {
        if (window.App().startup.textWindowMode != 0)
            window.App().jobs.jobCode.store(0);
        window.close();
    });
    registry.Add(kCmdAbout, [](MainWindow& window, int) {
        QMessageBox::about(
            &window, QStringLiteral("About LinkTrawl"),
            QStringLiteral("<b>LinkTrawl</b><br>Finds URLs, e-mail addresses, IP addresses and "
                           "other items in files and collects them in one list."));
    });
}

} // namespace lt
