// SPDX-License-Identifier: GPL-3.0-or-later
// Parses arbitrary bytes as a cookie text file and checks the record limits.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "sources/cookie_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size > lt::kMaxCookieFileBytes)
        return 0;
    const long count = lt::ParseCookieText(std::string_view(reinterpret_cast<const char*>(data), size),
                                           [](const lt::CookieRecord& r) {
                                               lt::fuzz::Check(!r.domain.empty() && r.domain.size() <= 259);
                                               lt::fuzz::Check(r.name.size() <= 256 && r.data.size() <= 256);
                                           });
    lt::fuzz::Check(count >= 0 && count <= 100);
    return 0;
}
