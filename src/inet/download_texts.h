// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

// The texts a download row shows when it fails, shared by the one-at-a-time and the parallel
// batch.
inline constexpr const char* kDownloadReadError = "Error reading remote File !";
inline constexpr const char* kDownloadCannotOpenUrl = "Can not open Url !";
inline constexpr const char* kDownloadNoFileName = "Error: no file name for this Url";
inline constexpr const char* kDownloadTooManyRedirects = "Error: too many redirects";

// "%03d" of a status, or its table entry ("404 - Not Found").
std::string DownloadStatusText(int status);
// "Error: can not write file (...)" for an errno value.
std::string DownloadWriteErrorText(int error);

} // namespace lt
