// SPDX-License-Identifier: GPL-3.0-or-later
// The crawl's link extraction over one page buffer (about 5 KB, as the crawler hands it on),
// with the chunk length, the flags and the base drawn from the first bytes. Every queued value
// fits a list cell, and a joined value keeps the base's scheme.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "search/char_tables.h"
#include "search/link_follower.h"
#include "search/page_links.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const lt::CharTables tables;
    if (size < 2)
        return 0;
    const uint8_t flags = data[0];
    const std::size_t chunk = 1 + data[1] * 8u;
    data += 2;
    size -= 2;
    static const char* const kBases[] = {"http://h.example/a/b/", "https://h.example/", "ftp://f.example/x/", "http://h"};
    lt::FollowPage page;
    page.baseUrl = kBases[flags & 3];
    page.pageUrl = page.baseUrl + "page.htm?q=1";
    page.isHtml = (flags & 4) != 0;
    page.findHttps = (flags & 8) != 0;
    page.crawl = (flags & 16) != 0;
    page.binaryCheck = (flags & 32) != 0;
    lt::LinkFollower(tables, page, reinterpret_cast<const char*>(data), size, chunk, (flags & 64) != 0,
                     [](const std::string& url) {
                         lt::fuzz::Check(url.size() <= 260 + 259);
                         lt::fuzz::Check(url.size() >= 5);
                         return 1;
                     });
    // The joins alone, with the input as the value.
    const std::string value(reinterpret_cast<const char*>(data), size < 300 ? size : 300);
    const std::string joined = lt::JoinPageUrl(page.baseUrl, page.pageUrl, value);
    lt::fuzz::Check(joined.empty() || joined.find(':') != std::string::npos);
    lt::PageBaseFolder(value);
    return 0;
}
