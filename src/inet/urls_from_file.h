// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

class CrawlQueue;

// Fills the crawl queue from a text file of start URLs at level 0: at most 150000 lines, each
// trimmed, a line equal (ignoring case) to the one before skipped, only URL texts taken. A name
// without "/" is taken relative to `programFolder`. Returns the number of URLs queued, -1 with
// `error` when the file cannot be read. `firstUrl` receives the first URL taken.
long UrlsFromFile(CrawlQueue& queue, const std::string& fileName, const std::string& programFolder,
                  std::string& firstUrl, std::string& error);

} // namespace lt
