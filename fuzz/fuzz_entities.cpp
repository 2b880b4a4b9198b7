// SPDX-License-Identifier: GPL-3.0-or-later
// Character references and URL clean-up over arbitrary bytes: every text stays within 259 bytes,
// never grows, and a reference never writes a control byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "search/entities.h"

namespace {

bool HasControl(const std::string& text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 32)
            return true;
    return false;
}

void Check(const std::string& before, const std::string& after)
{
    if (after.size() > 259 || after.size() > before.size())
        std::abort();
    if (!HasControl(before) && HasControl(after))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int op = data[0] % 8;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string bounded = text.substr(0, 259);
    std::string work = text;
    switch (op) {
    case 0: lt::DecodeNumericRefs(work); break;
    case 1: lt::DecodeEntities(work); break;
    case 2: lt::CleanUrl(work, 0, 0); break;
    case 3: lt::CleanUrl(work, 0, 1); break;
    case 4: lt::CleanUrl(work, 1); break;
    case 5: lt::CollapseBlanks(work); break;
    case 6: work = lt::CutToHost(work); break;
    default: lt::CutAtLtEntity(work); break;
    }
    Check(bounded, work);
    // Decoding twice never undoes the first pass's refusal to decode its own output.
    if (op == 1) {
        std::string again = work;
        lt::DecodeEntities(again);
        Check(work, again);
    }
    return 0;
}
