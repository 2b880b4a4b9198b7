// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "platform/registry_file.h"

namespace lt {

struct AppState;

// The two registry roots the browser lists use.
enum class RegistryRoot { CurrentUser, LocalMachine };

// The Wine prefix of the Windows profile: the INI's DIRS/WINEPREFIX (or --wine-prefix), else
// $WINEPREFIX, else ~/.wine.
std::string ProfilePrefix(const AppState& app);

// The registry file of a root in `prefix`: user.reg or system.reg.
std::string RegistryPath(const std::string& prefix, RegistryRoot root);

// Reads a root of the profile's registry. False with `error` saying what is missing; binary hives
// of a Windows disk are not read, and the message says so.
bool OpenRegistry(const AppState& app, RegistryRoot root, RegistryFile& registry, std::string& error);

// Writes a changed registry file back atomically. Refused, with `error` naming the reason, while
// Wine's server runs for the prefix (it would write its own copy over the change).
bool SaveRegistry(const AppState& app, RegistryRoot root, const RegistryFile& registry, std::string& error);

} // namespace lt
