// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/urls_from_file.h"

#include <strings.h>

#include "inet/crawl_job.h"
#include "inet/inet_texts.h"
#include "platform/regular_file.h"

namespace lt {

namespace {

constexpr long kMaxLines = 150000;
// Enough for 150000 lines of list cells; a bigger file is no URL list.
constexpr std::uint64_t kMaxListBytes = 64ull << 20;

} // namespace

long UrlsFromFile(CrawlQueue& queue, const std::string& fileName, const std::string& programFolder,
                  std::string& firstUrl, std::string& error)
{
    std::string path = fileName;
    if (path.find('/') == std::string::npos && !programFolder.empty())
        path = programFolder + (programFolder.back() == '/' ? "" : "/") + fileName;
    std::string bytes;
    if (!ReadRegularFile(path, kMaxListBytes, bytes, error))
        return -1;
    long taken = 0;
    long lines = 0;
    std::string previous;
    std::size_t pos = 0;
    while (pos < bytes.size() && lines < kMaxLines) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(pos, end - pos);
        pos = end + 1;
        ++lines;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos)
            continue;
        line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
        const bool repeat = line.size() == previous.size() && strcasecmp(line.c_str(), previous.c_str()) == 0;
        previous = line;
        if (repeat || line.size() > 259 || !IsUrlText(line))
            continue;
        if (queue.Add(line, 0, {})) {
            if (taken == 0)
                firstUrl = line;
            ++taken;
        }
    }
    return taken;
}

} // namespace lt
