// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>

namespace lt {

struct StartupState;
struct ToolInvocation;

// The runners of the forms listed in ToolForms(), one per form, each in its subsystem's file.

// app/inet_form.cpp
int RunCrawlForm(const ToolInvocation& call, const StartupState& startup, std::ostream& out, std::ostream& err);

} // namespace lt
