// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/download_list.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

#include "inet/crawl_job.h"
#include "inet/urls_from_file.h"

namespace lt {

void AddDownloadRows(DownloadList& list, const std::vector<std::string>& urls)
{
    const std::string* previous = nullptr;
    for (const std::string& url : urls) {
        if (url.empty() || (previous && *previous == url))
            continue;
        previous = &url;
        list.push_back({url, {}});
    }
}

long ReadDownloadListFile(DownloadList& list, const std::string& path, std::string& error)
{
    // The crawler's reader already keeps the file rules (regular files only, a line limit, each
    // URL once); its queue is only the carrier here.
    CrawlQueue queue;
    std::string first;
    const long taken = UrlsFromFile(queue, path, {}, first, error);
    if (taken < 0)
        return -1;
    for (const CrawlRow& row : queue.Rows())
        list.push_back({row.url, {}});
    return taken;
}

std::string DownloadSizeText(uint64_t bytes)
{
    const unsigned long long whole = bytes;
    const double kib = static_cast<double>(bytes / 1024);
    char buffer[96];
    if (bytes < 10240)
        std::snprintf(buffer, sizeof buffer, " %llu Bytes ", whole);
    else if (bytes < 1048576)
        std::snprintf(buffer, sizeof buffer, " %.1f K (%llu Bytes) ", kib, whole);
    else
        std::snprintf(buffer, sizeof buffer, " %.2f M (%llu Bytes) ", kib * 0.001, whole);
    return buffer;
}

bool AppendDownloadLog(const std::string& directory, const std::string& url)
{
    std::string path = directory;
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += kDownloadLogName;
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    // One write per line: lines of two jobs logging into one folder never interleave.
    const std::string line = url + "\r\n";
    ssize_t n;
    do
        n = ::write(fd, line.data(), line.size());
    while (n < 0 && errno == EINTR);
    const bool closed = ::close(fd) == 0;
    return n == static_cast<ssize_t>(line.size()) && closed;
}

} // namespace lt
