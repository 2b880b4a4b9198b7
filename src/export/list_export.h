// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

struct AppState;
class ResultList;

// How the text export treats an existing file.
enum class ExistingFile { Ask, Replace, Append };

// The file writers of the result list (and of other lists for the export kinds 2 and above).
// Each returns true when the file was written; failures are shown through the UiPort.
// `kind` is the export kind (0, 1 result lists; 2..5 job windows).
bool ExportText(AppState& app, const ResultList& list, const std::string& path, bool selectedOnly, int kind,
                ExistingFile existing = ExistingFile::Ask);
bool ExportCsv(AppState& app, const ResultList& list, const std::string& path, bool selectedOnly, int kind);
bool ExportHtml(AppState& app, const ResultList& list, const std::string& path, bool selectedOnly, int kind);

// The clipboard text of the list: rowChoice 0 all, 1 selected, 2 focused; columnKey '1'..'8', 0
// for the export flags, anything else column 1 only.
std::string ListClipboardText(AppState& app, const ResultList& list, int rowChoice, int kind, int columnKey);

// "&Copy List to Clipboard": puts ListClipboardText on the clipboard through the UiPort, with the
// columns message when the export columns are missing, the wait cursor for long lists and, after
// copying all rows, "%d Item(s) copied !". Returns the number of rows copied (rows with text).
long CopyListToClipboard(AppState& app, const ResultList& list, int rowChoice, int kind, int columnKey);

} // namespace lt
