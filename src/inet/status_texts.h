// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lt {

// The texts the URL status test writes into its "Status" column. Pure functions.

inline constexpr const char* kStatusOkText = "Ok";
inline constexpr const char* kStatusTimedOutText = "Timed out";

// The text of a request that got no answer: the error-table entry of `number` ("12007 - not
// resolved"), else "Error " with the number as "%03d ".
std::string StatusErrorText(int number);

// The text of an answered request: "Ok" for 200 and for a 506 whose target is `url` less its
// last character (the server only dropped a trailing "/"), "Redirected:  " (two blanks) and the
// target for other 506 and for 507, else the status-table entry, else "Error " with "%03d !".
std::string StatusAnswerText(int status, std::string_view url, std::string_view target);

// True for a row that a new run passes over: its status starts with "Ok", "120", "404", "Error"
// or "Redirected", ignoring case.
bool IsFinishedStatus(std::string_view status);

// True for "Ok" ignoring case (what "Delete Ok Items" removes and the counter counts).
bool IsOkStatus(std::string_view status);

} // namespace lt
