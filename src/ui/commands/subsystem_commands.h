// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

class CommandRegistry;

// The registration functions of the files in ui/commands/, one per subsystem (each defined in its
// own <subsystem>_commands.cpp).
void RegisterSessionCommands(CommandRegistry& registry); // sessions, settings files, text-file lists

} // namespace lt
