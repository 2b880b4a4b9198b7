// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "core/job_control.h"

namespace lt {

struct AppState;

// Holds the job code at `code` while a browser list is read on the window thread and gives it
// back to 0 however the reading ends.
class ReadingJob
{
public:
    ReadingJob(AppState& app, int32_t code);
    ~ReadingJob();
    ReadingJob(const ReadingJob&) = delete;
    ReadingJob& operator=(const ReadingJob&) = delete;

private:
    AppState& m_app;
};

// Adds a row of the current kind with `second` in column 1 (the other cells empty).
long AddListRow(AppState& app, const std::string& text, const std::string& second = {});

// The end of a list reading: the row count, the first row selected, or "No Items found !".
void FinishListReading(AppState& app);

// A failure box with the caption "Error".
void ShowError(AppState& app, const std::string& text);
// A Yes/No question; true for Yes.
bool AskYesNo(AppState& app, const std::string& text);
void ShowInformation(AppState& app, const std::string& text);

std::string_view TrimBlanks(std::string_view text);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

} // namespace lt
