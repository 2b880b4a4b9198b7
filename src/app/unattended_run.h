// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>

namespace lt {

struct StartupState;

// The save-and-close runs of the command line (start actions 4, 6, 20 and 22), with no window
// and no display: reads the INI file, searches on the worker, saves the list as text or HTML
// table to the "-save2"/"-saveh2" path (an existing file is replaced) and prints where the
// results went on `out`. Returns the exit status: 0 when the search ran and the file was
// written, 3 when it was written but files or folders could not be read (each named on `err`),
// otherwise non-zero with the reason on `err`.
int RunUnattended(const StartupState& startup, std::ostream& out, std::ostream& err);

} // namespace lt
