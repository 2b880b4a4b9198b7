// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes arbitrary bytes as a Windows shell link: every read stays inside the input (the
// sanitizers check it), and a link that decodes has texts taken from the input only.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/shell_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    lt::ShellLink link;
    std::string error;
    if (!lt::ReadShellLink(bytes, link, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    const std::size_t total = link.localPath.size() + link.name.size() + link.relativePath.size() +
                              link.workingDir.size() + link.arguments.size() + link.iconLocation.size();
    // Texts are copied from the file (a UNC path adds one separator), never made up.
    if (total > 2 * size || link.uncPath.size() > size + 1)
        std::abort();
    return 0;
}
