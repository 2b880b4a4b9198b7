// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/download_texts.h"

#include <cstring>

#include "core/cp1252.h"
#include "inet/inet_texts.h"

namespace lt {

std::string TrimmedDownloadUrl(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsHttpDownloadUrl(std::string_view url)
{
    auto starts = [url](std::string_view prefix) {
        return url.size() >= prefix.size() && Cp1252EqualsNoCase(url.substr(0, prefix.size()), prefix);
    };
    return starts("http://") || starts("https://");
}

std::string DownloadStatusText(int status) { return HttpStatusText(status, ""); }

std::string DownloadWriteErrorText(int error)
{
    return std::string("Error: can not write file (") + std::strerror(error) + ")";
}

} // namespace lt
