// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/link_follower.h"

#include "search/page_links.h"

namespace lt {

int LinkFollower(const CharTables& tables, FollowPage& page, const char* data, std::size_t length,
                 std::size_t chunkLength, bool lastBuffer, const std::function<int(const std::string&)>& add)
{
    if (!page.followLinks)
        return 0;
    PageLinkConfig config;
    config.prefixes = {"http://", "ftp://"};
    if (page.findHttps)
        config.prefixes.insert(config.prefixes.begin() + 1, "https://");
    config.attributes = page.crawl && page.isHtml;
    config.frameSource = config.attributes;
    config.cutFragment = page.crawl;
    config.binaryGuard = page.crawl && page.binaryCheck;
    config.baseUrl = page.baseUrl;
    config.pageUrl = page.pageUrl;
    int added = 0;
    const bool clean = ReadPageLinks(tables, config, data, length, chunkLength, lastBuffer,
                                     [&](const PageLinkHit& hit) {
                                         const int result = add(hit.value);
                                         if (result > 0)
                                             added = 1;
                                         return result >= 0;
                                     });
    if (!clean) {
        page.binaryCheck = false;
        page.followLinks = false;
    }
    return added;
}

} // namespace lt
