// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

// The folder of the running executable, with a trailing '/': from /proc/self/exe, else from
// argv[0] (may be null), else "./".
std::string ProgramFolder(const char* argv0);

} // namespace lt
