// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>

namespace lt {

class MainWindow;

// What a command does when chosen: `id` is the number that was chosen (one performer may serve a
// range, such as the "&Reopen" entries). Runs on the window thread after the guards allowed it.
using CommandPerformer = std::function<void(MainWindow& window, int id)>;

// The performers of the window's numbered commands. Each subsystem's window code registers its own
// in one file of ui/commands/; the window builds menus from the command table, routes a chosen number
// here and shows every command without a performer disabled.
class CommandRegistry
{
public:
    void Add(int id, CommandPerformer perform);
    void AddRange(int first, int last, const CommandPerformer& perform);
    bool Has(int id) const { return m_performers.count(id) != 0; }
    // Runs the performer of `id`; false when there is none.
    bool Run(MainWindow& window, int id) const;
    template <typename F>
    void ForEachId(F f) const
    {
        for (const auto& entry : m_performers)
            f(entry.first);
    }

private:
    std::map<int, CommandPerformer> m_performers;
};

// One registration function per subsystem file in ui/commands/.
void RegisterAllCommands(CommandRegistry& registry);

} // namespace lt
