// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lt {

// Private messages of the main window; their numbers are part of the internal protocol.
enum WindowMessage : int {
    kMsgFocusList = 2385,
    kMsgBuildMenus = 2389,
    kMsgRestoreCursor = 2390,
    kMsgCloseIfIdle = 2391,
    kMsgLoadHandoffSession = 2392,
    kMsgOpenStartFile = 2396,
    kMsgOpenHandoffUrl = 2399,
    kMsgRunStartSearch = 2400,
    kMsgSearchDone = 2401,
    kMsgStartBatchDownload = 2402,
    kMsgLoadTextFile = 2404,
    // Asks the window to rebuild the domain tree after a search (wparam: hit count).
    kMsgRebuildDomains = 2405,
};

} // namespace lt
