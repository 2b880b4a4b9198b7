// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/profile_folders.h"

#include <algorithm>

#include "core/app_state.h"
#include "platform/registry_file.h"
#include "platform/shell_folders.h"
#include "sources/windows_registry.h"

namespace lt {

SpecialFolders FindSpecialFolders(const AppState& app)
{
    SpecialFolders found;
    const std::string prefix = ProfilePrefix(app);
    if (prefix.empty())
        return found;
    RegistryFile user, system;
    std::string error;
    LoadRegistryFile(RegistryPath(prefix, RegistryRoot::CurrentUser), user, error);
    LoadRegistryFile(RegistryPath(prefix, RegistryRoot::LocalMachine), system, error);
    const std::pair<ShellFolder, std::string*> folders[] = {
        {ShellFolder::Favorites, &found.favorites}, {ShellFolder::Cookies, &found.cookies},
        {ShellFolder::History, &found.history},     {ShellFolder::Cache, &found.cache},
        {ShellFolder::Personal, &found.personal},   {ShellFolder::Recent, &found.recent},
        {ShellFolder::SendTo, &found.sendTo}};
    for (const auto& [folder, path] : folders) {
        *path = ShellFolderPath(prefix, user, system, folder);
        if (!path->empty() && found.table.size() < 7 &&
            std::find(found.table.begin(), found.table.end(), *path) == found.table.end())
            found.table.push_back(*path);
    }
    found.historyLabel = HistoryCachePrefix(system);
    return found;
}

void ApplySpecialFolders(AppState& app)
{
    const SpecialFolders found = FindSpecialFolders(app);
    app.sources.historyFolder = found.history;
    app.sources.cookieFolder = found.cookies;
    app.sources.historyLabel = found.historyLabel;
    FillFolderHistory(app.settings.folders, found.table);
}

void FillFolderHistory(History& folders, const std::vector<std::string>& table)
{
    auto next = table.begin();
    for (std::string& place : folders) {
        if (!place.empty())
            continue;
        while (next != table.end() && std::find(folders.begin(), folders.end(), *next) != folders.end())
            ++next;
        if (next == table.end())
            return;
        place = *next++;
    }
}

} // namespace lt
