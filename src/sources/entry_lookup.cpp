// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/entry_lookup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/cp1252.h"

namespace lt {

namespace fs = std::filesystem;

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string FindEntryNoCase(const std::string& folder, const std::string& name)
{
    std::error_code ec;
    const std::string exact = JoinPath(folder, name);
    if (fs::exists(fs::symlink_status(exact, ec)))
        return exact;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (Cp1252EqualsNoCase(entry, name))
            return JoinPath(folder, entry);
    }
    return {};
}

std::vector<std::string> SubFolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return Cp1252CompareNoCase(a, b) < 0; });
    return names;
}

} // namespace lt
