// SPDX-License-Identifier: GPL-3.0-or-later
// Gathers the performers of every subsystem; a new subsystem adds its file and one line here.
#include "ui/commands/command_registry.h"
#include "ui/commands/subsystem_commands.h"

namespace lt {

void RegisterAllCommands(CommandRegistry& registry)
{
    RegisterSearchCommands(registry);
    RegisterListCommands(registry);
    RegisterExportCommands(registry);
    RegisterDomainCommands(registry);
    RegisterStoreCommands(registry);
    RegisterWindowCommands(registry);
    RegisterSessionCommands(registry);
    RegisterEditCommands(registry);
    RegisterBrowserCommands(registry);
    RegisterDownloadCommands(registry);
    RegisterTextCommands(registry);
    RegisterStatusCommands(registry);
    RegisterInetCommands(registry);
}

} // namespace lt
