// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

// Whether the processor runs AVX2 code; asked once, so the scanners' inner loops may test it
// per call. Only meaningful on x86, where the wide paths are built.
inline bool CpuHasAvx2()
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

} // namespace lt
