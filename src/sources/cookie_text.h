// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace lt {

struct AppState;

// One cookie of a cookie text file, as its row shows it.
struct CookieRecord
{
    std::string domain, created, expires, name, data;
};

inline constexpr std::size_t kMaxCookieFileBytes = 8160;

// Parses the records of a cookie text file from the last one backwards (at most 100); a malformed
// record ends the parsing. Returns the number of records handed to `onRecord`.
long ParseCookieText(std::string_view bytes, const std::function<void(const CookieRecord&)>& onRecord);

// Lists the cookies of every "*.txt" file under 8161 bytes in `folder` into the list as it stands
// (kind 9). Worker thread; stops when the job code goes to 0. Returns the rows added.
long CookieTextJob(AppState& app, const std::string& folder);

// "Select Cookie Directory" answered with `folder`: remembers it, clears the list, switches to
// kind 9 and runs CookieTextJob as the worker job. False when the job could not start.
bool StartCookieTextJob(AppState& app, const std::string& folder);

} // namespace lt
