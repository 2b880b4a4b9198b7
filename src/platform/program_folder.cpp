// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_folder.h"

#include <unistd.h>

namespace lt {

std::string ProgramFolder(const char* argv0)
{
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    path = length > 0 ? path.substr(0, static_cast<std::size_t>(length)) : std::string(argv0 ? argv0 : "");
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

} // namespace lt
