// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/inet_slot.h"

namespace lt {

void ResetSlot(InetSlot& slot, bool saveOnly)
{
    slot.connectTicks = -1;
    slot.timedOut = false;
    slot.skipped = false;
    slot.stopped = false;
    slot.saveFileOpen = false;
    slot.firstChunk = true;
    slot.saveThisPage = true;
    slot.baseUrl.clear();
    slot.ftpFileSize = 0;
    slot.ftpFileSizeKnown = false;
    slot.pageTitle.clear();
    slot.pageIsHtml = false;
    slot.closeWhenFinished = true;
    slot.followLinks = true;
    slot.binaryCheck = saveOnly;
}

} // namespace lt
