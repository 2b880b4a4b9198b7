// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lt {

// A long text for a menu entry: the first folders, "..." and the last part from its last
// separator on, so that the whole stays below `maximum` characters where the separators allow it;
// else the first maximum - 3 characters and "..." (a text of up to maximum + 3 stays whole).
std::string ShortenAtSeparators(std::string_view text, char separator, std::size_t maximum);

} // namespace lt
