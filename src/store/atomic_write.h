// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lt {

// Replaces the file at `path` with `bytes` so that a failure at any point leaves the old file as it
// was: the bytes go to a new file beside it, are flushed to disk, and the new file is renamed over
// the old one. The rules for owner, mode, read-only, linked and special files are AtomicFile's.
// Returns an error text, or an empty string on success.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace lt
