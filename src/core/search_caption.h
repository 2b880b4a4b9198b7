// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

struct AppState;

// Pane 0 gets what is being searched (the dropped-names caption when there is no target text),
// pane 1 the single target's text or a blank for several targets. Nothing for ListKind 7.
void ShowSearchCaption(AppState& app);

// The caption as pane 0 shows it: one beginning with a double quote is cut after its eighth
// double quote, with " ..." appended, when more than 6 characters follow that quote.
std::string CutSearchCaption(const std::string& caption);

} // namespace lt
