// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a Netscape history hash file and checks that every entry keeps to
// the cell limits.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "sources/netscape_history.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    lt::MemoryByteSource source(std::string_view(reinterpret_cast<const char*>(data), size));
    const lt::HashGeometry geometry = lt::ReadHashGeometry(source);
    lt::fuzz::Check(geometry.pageSize >= 256 && geometry.pageSize <= 65536);
    lt::DetectNetscapeFormat(source);
    lt::ScanNetscapeHistory(source, [](const lt::NetscapeEntry& e) {
        lt::fuzz::Check(!e.url.empty() && e.url.size() <= lt::fuzz::kMaxCell);
        lt::fuzz::Check(e.title.size() <= lt::fuzz::kMaxCell);
    });
    return 0;
}
