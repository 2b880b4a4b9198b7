// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace lt {

// The path of `folder`'s entry named `name` ignoring case, as Windows finds it (an exact match
// first); empty when there is none.
std::string FindEntryNoCase(const std::string& folder, const std::string& name);

// The names of `folder`'s sub-folders, in name order ignoring case.
std::vector<std::string> SubFolderNames(const std::string& folder);

// `folder` + "/" + `name` without doubling the slash.
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace lt
