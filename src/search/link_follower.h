// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace lt {

struct CharTables;

// What the crawl's link extraction knows of the page whose buffer it reads.
struct FollowPage
{
    std::string pageUrl;
    std::string baseUrl;     // the page's base folder (ends in "/")
    bool isHtml = false;     // href, src, action and framesource only for HTML pages
    bool findHttps = false;  // "https://" is a keyword beside "http://"
    bool crawl = true;       // crawl-only steps: the binary guard and the fragment cut
    bool binaryCheck = false; // armed by Save only; cleared when it fires
    bool followLinks = true;  // cleared when the binary guard fires
};

// Finds the links in `data[0, length)` (keywords starting in the first `chunkLength` bytes unless
// `lastBuffer`) and hands each absolute value to `add`, which applies the filters and queues it:
// it returns 1 for a queued link, 0 for a refused one and -1 to end the reading (as the "first
// value only" use does). Returns 1 when at least one link was queued, else 0. Pure byte code.
int LinkFollower(const CharTables& tables, FollowPage& page, const char* data, std::size_t length,
                 std::size_t chunkLength, bool lastBuffer, const std::function<int(const std::string&)>& add);

} // namespace lt
