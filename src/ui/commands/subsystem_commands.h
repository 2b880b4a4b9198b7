// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

class CommandRegistry;
class MainWindow;

// The registration functions of the files in ui/commands/, one per subsystem (each defined in its
// own <subsystem>_commands.cpp).

// edit_commands.cpp: the list edits, "Compare &List to Disk Files" and "&Parse Text Files".
void RegisterEditCommands(CommandRegistry& registry);
// The Delete key in a list: deletes the selected rows of the current view.
void DeleteKeyCommand(MainWindow& window);

} // namespace lt
