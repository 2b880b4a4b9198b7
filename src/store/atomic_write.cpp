// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/atomic_write.h"

#include "store/atomic_file.h"

namespace lt {

std::string WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    AtomicFile file;
    if (!file.Open(path) || !file.Write(bytes) || !file.Commit())
        return file.Error();
    return {};
}

} // namespace lt
