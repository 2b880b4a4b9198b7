// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

// The crawler's record of the page whose windows a buffer scan receives.
struct PageRecord
{
    bool newPage = true;        // reset the per-file state before this buffer
    bool lastBuffer = false;    // scan this buffer to its end
    bool binaryTest = false;    // the crawler asks for the binary test
    bool followLinks = true;    // cleared when the page turns out to be binary
    bool followLinks2 = true;
};

} // namespace lt
