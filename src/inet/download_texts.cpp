// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/download_texts.h"

#include <cstring>

#include "inet/inet_texts.h"

namespace lt {

std::string DownloadStatusText(int status) { return HttpStatusText(status, ""); }

std::string DownloadWriteErrorText(int error)
{
    return std::string("Error: can not write file (") + std::strerror(error) + ")";
}

} // namespace lt
