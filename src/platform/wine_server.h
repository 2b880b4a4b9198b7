// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

// Whether Wine's server runs for `prefix`. The server keeps the registry in memory and writes
// user.reg and system.reg again from it, so a change written to those files while it runs is
// lost. Its folder is <serverRoot>/.wine-<uid>/server-<dev>-<inode> of the prefix folder (hex), and
// while it runs it holds a lock on the "lock" file there. `serverRoot` is "/tmp" except in tests.
bool WineServerRunning(const std::string& prefix, const std::string& serverRoot = "/tmp");

// The server folder of `prefix` as above; empty when the prefix folder does not exist.
std::string WineServerFolder(const std::string& prefix, const std::string& serverRoot = "/tmp");

} // namespace lt
