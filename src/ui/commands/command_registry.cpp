// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/commands/command_registry.h"

namespace lt {

void CommandRegistry::Add(int id, CommandPerformer perform)
{
    m_performers[id] = std::move(perform);
}

void CommandRegistry::AddRange(int first, int last, const CommandPerformer& perform)
{
    for (int id = first; id <= last; ++id)
        m_performers[id] = perform;
}

bool CommandRegistry::Run(MainWindow& window, int id) const
{
    const auto it = m_performers.find(id);
    if (it == m_performers.end())
        return false;
    it->second(window, id);
    return true;
}

} // namespace lt
