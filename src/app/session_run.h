// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>

namespace lt {

struct StartupState;

// "linktrawl SESSION.ltn -save2 FILE" (and -saveh2, -savec2): loads the session with no window
// and saves its list. Exit status 0 when loaded and saved; 1 with one line on `err` when the
// session cannot be read or the file not written; 3 when the session broke off while reading
// (what was read is saved).
int RunSessionUnattended(const StartupState& startup, std::ostream& out, std::ostream& err);

} // namespace lt
