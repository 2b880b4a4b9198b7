// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "core/ui_port.h"

namespace lt {

struct AppState;

// A message box through the UiPort; information boxes are suppressed during an unattended
// save-and-close run (errors still reach the port, which prints them there).
MsgAnswer ShowMessage(AppState& app, const std::string& text, const std::string& caption = "LinkTrawl",
                      MsgStyle style = {});

// The final message of a search job.
void ReportResult(AppState& app, long count, bool quiet);
void ReportFound(AppState& app, long count);
void ReportInserted(AppState& app, long count);
void ReportSaved(AppState& app, long count);

// The texts alone, for callers that show them elsewhere.
std::string ResultNounText(const AppState& app, long count); // "3 Urls", "No Items", ...

} // namespace lt
