// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

// The number of processors this process may run on (its affinity mask), at least 1.
int UsableCpuCount();

} // namespace lt
