// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as Netscape's nsreg.dat and checks the profile folder it finds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "sources/netscape_history.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    lt::MemoryByteSource source(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string folder;
    const bool found = lt::FindNetscapeProfile(source, folder);
    lt::fuzz::Check(found == !folder.empty());
    lt::fuzz::Check(folder.size() <= 260 && folder.find('\0') == std::string::npos);
    return 0;
}
