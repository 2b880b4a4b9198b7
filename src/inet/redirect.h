// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lt {

// Own status codes of the fetch layer beside the HTTP ones.
enum InetStatus : int {
    kStatusOk = 200,
    kStatusRedirectInside = 506, // the target starts with the request URL, or differs by one slash
    kStatusRedirectElsewhere = 507,
    kStatusFtpEmpty = 521,
    kStatusOutOfRange = 537,
};

// The longest URL a job requests or queues (one list cell).
inline constexpr std::size_t kMaxUrlLength = 259;

// A status number as a job sees it: 307 counts as 302 and 308 as 301; below 100 or above 505 is 537.
int NormalizeStatus(long code);

// The host root of `url`: cut after the first "/" behind the "//" of the scheme, a "/" appended
// when there is none. Empty when the URL has no "//" with at least four characters from it.
std::string HostRoot(std::string_view url);

// A URL of a list without the blanks and line ends around it.
std::string TrimmedUrl(const std::string& text);
// True for an http:// or https:// URL (any case).
bool IsHttpUrl(std::string_view url);

// True when every byte may stand in a URL taken from a server (33..126 without the double quote,
// "<" and ">"), so that a target can never close a comment or a tag it is written into.
bool IsCleanUrlText(std::string_view text);

// The redirect decision for a 301/302/303 with the raw Location `location` of the request URL
// `url`. The target is made absolute first ("//host/x" takes only the scheme of `url`, a relative
// target goes to the host root), then compared: 506 for a target inside the URL or one slash apart,
// the code unchanged for no target, a self-redirect or a target that is unclean or would not fit a
// cell, 301 for a relative target of a URL without a host part, else 507. `target` receives the
// absolute target for 506 and 507.
int ClassifyRedirect(int code, std::string_view url, std::string_view location, std::string& target);

} // namespace lt
