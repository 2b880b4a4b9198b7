// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/preferred_browser.h"

#include "store/options.h"

namespace lt {

int PreferredBrowser(const Options& options)
{
    if (!options.msieFavorites.empty())
        return kBrowserIe;
    if (!options.netscapeBookmarks.empty())
        return kBrowserNetscape;
    if (!options.operaBookmarks.empty())
        return kBrowserOpera;
    return kBrowserIe;
}

} // namespace lt
