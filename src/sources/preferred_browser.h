// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

struct Options;

enum PreferredBrowserCode : int { kBrowserIe = 0, kBrowserNetscape = 1, kBrowserOpera = 2 };

// The browser asked first for its current URL, from the bookmark locations at start-up: Internet
// Explorer when its location is set, else Netscape when set, else Opera when set, else Internet
// Explorer.
int PreferredBrowser(const Options& options);

} // namespace lt
