// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/cpu_count.h"

#include <sched.h>
#include <thread>

namespace lt {

int UsableCpuCount()
{
    // The affinity mask, not the machine's processor count: a container or taskset may allow fewer.
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        if (count > 0)
            return count;
    }
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware > 0 ? static_cast<int>(hardware) : 1;
}

} // namespace lt
