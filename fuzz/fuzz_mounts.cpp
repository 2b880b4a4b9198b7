// SPDX-License-Identifier: GPL-3.0-or-later
// The mounts table and the mask lists of the settings.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mounts.h"
#include "search/masks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto drives = lt::LocalDrives(text);
    if (drives.size() > lt::kMaxDrives)
        __builtin_trap();

    std::vector<std::string> masks;
    lt::ParseMasks(text, masks);
    if (masks.size() > static_cast<std::size_t>(lt::kMaxMasks))
        __builtin_trap();
    const std::string_view name = text.substr(text.size() / 2);
    for (const auto& mask : masks)
        lt::MaskMatch(mask, name);
    return 0;
}
