// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace lt {

struct AppState;
class ResultList;

// Texts the list writers share.
inline constexpr const char* kColumnsMissingText = "Please check Columns to export (see Options) !";
inline constexpr const char* kCannotOpenText = "Could Not Open or Create File";
inline constexpr const char* kCannotWriteText = "Could Not Write File";

// Kinds 0 and 1 read the result list, which a running list job may be changing; the job windows'
// kinds may export at any time.
bool ExportMayRun(const AppState& app, int kind);

// The common start of the file writers: rows to write, the columns check (kinds 0 and 1, with its
// message), a file name, and a selected row when only selected rows are written. False stops the
// export.
bool ExportMayStart(AppState& app, const ResultList& list, const std::string& path, bool selectedOnly,
                    int kind);

// Appends `text` with every CR and LF turned into a blank: a cell is one line of the file, however
// its text was made (Linux file names may hold line breaks).
void AppendOneLine(std::string& out, std::string_view text);

// The path as the "already exists" question shows it: longer than 32 characters, a blank after the
// last '/' among its first 32 characters lets the text wrap.
std::string WrapPathForMessage(const std::string& path);

// "Could Not Open or Create File <path> !" and the write failure, as error boxes.
void ReportCannotOpen(AppState& app, const std::string& path);
void ReportCannotWrite(AppState& app, const std::string& path);

// The HTML export's date: day of week, month and day, then hours:minutes, then the year, with
// English names whatever the locale ("Wed Jun 30, 21:49, 1999"; a one-digit day is blank-padded).
std::string ExportDateText(const std::tm& local);

// True when the export of `kind` reads a result list in hit-rate mode.
bool IsHitRateExport(const AppState& app, int kind);

} // namespace lt
