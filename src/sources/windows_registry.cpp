// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/windows_registry.h"

#include <ctime>
#include <sys/stat.h>

#include "core/app_state.h"
#include "platform/shell_folders.h"
#include "platform/wine_profile.h"
#include "platform/wine_server.h"
#include "store/atomic_write.h"

namespace lt {

std::string ProfilePrefix(const AppState& app)
{
    return WinePrefixPath(app.options.winePrefix);
}

std::string RegistryPath(const std::string& prefix, RegistryRoot root)
{
    return prefix + (root == RegistryRoot::CurrentUser ? "/user.reg" : "/system.reg");
}

bool OpenRegistry(const AppState& app, RegistryRoot root, RegistryFile& registry, std::string& error)
{
    const std::string prefix = ProfilePrefix(app);
    const std::string path = RegistryPath(prefix, root);
    struct stat st
    {
    };
    if (prefix.empty() || ::stat(path.c_str(), &st) != 0) {
        registry.Load("WINE REGISTRY Version 2\n", error);
        error = "No Wine registry found (" + (prefix.empty() ? std::string("no Wine prefix") : path) +
                "); only Wine's text registry files are read, not the registry hives of a Windows disk";
        return false;
    }
    return LoadRegistryFile(path, registry, error);
}

bool SaveRegistry(const AppState& app, RegistryRoot root, const RegistryFile& registry, std::string& error)
{
    const std::string prefix = ProfilePrefix(app);
    if (WineServerRunning(prefix, app.browserLists.wineServerRoot)) {
        error = "Wine is running for " + prefix +
                ": its server would overwrite the change. Close the Windows programs (or run wineserver -k) "
                "and try again.";
        return false;
    }
    const std::string path = RegistryPath(prefix, root);
    error = WriteFileAtomically(path, registry.Serialize(static_cast<int64_t>(std::time(nullptr))));
    return error.empty();
}

} // namespace lt
