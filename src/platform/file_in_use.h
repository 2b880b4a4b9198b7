// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

// Whether another process this user may inspect holds `path` open or mapped (a browser still
// using its index file). Looks through /proc/<pid>/fd and /proc/<pid>/maps for the same device
// and inode; processes that cannot be inspected are passed over. False when `path` is missing.
bool FileInUseByOtherProcess(const std::string& path);

} // namespace lt
