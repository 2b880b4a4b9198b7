// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/page_links.h"

#include <gtest/gtest.h>

#include "search/char_tables.h"
#include "search/link_follower.h"

namespace lt {
namespace {

std::vector<std::string> Follow(const std::string& page, const std::string& base = "http://h.example/d/e/",
                                bool html = true, bool saveOnly = false, std::size_t chunk = 1024,
                                bool last = true)
{
    static const CharTables tables;
    FollowPage follow;
    follow.pageUrl = base + "page.htm?x=1";
    follow.baseUrl = base;
    follow.isHtml = html;
    follow.findHttps = true;
    follow.binaryCheck = saveOnly;
    std::vector<std::string> links;
    LinkFollower(tables, follow, page.data(), page.size(), chunk, last, [&](const std::string& url) {
        links.push_back(url);
        return 1;
    });
    return links;
}

using Links = std::vector<std::string>;

TEST(LinkFollower, KeywordsAndValues)
{
    struct Case { std::string page; Links links; };
    const Case cases[] = {
        {"<a href=\"a b.htm\">", {"http://h.example/d/e/a%20b.htm"}},
        {"<a href=x.htm>", {"http://h.example/d/e/x.htm"}},
        {"<a HREF = \"X.htm\">", {"http://h.example/d/e/X.htm"}},
        {"<a href=\"#top\"> <a href=\"mailto:a@b.c\"> <a href='news:x'> <a href=\"javascript:go()\">", {}},
        {"<img src='pic/a.png'> <img src=pic/b.png>", {"http://h.example/d/e/pic/a.png"}},
        {"<form action=\"\"> <form action=/cgi/x>", {"http://h.example/cgi/x"}},
        {"<a href=\"../../up.htm\">", {"http://h.example/up.htm"}},
        {"<a href=\"../../../../x.htm\">", {"http://h.example/../../x.htm"}},
        {"<a href=\"./same.htm\">", {"http://h.example/d/e/same.htm"}},
        {"<a href=\"//cdn.example/lib.js\">", {"http://cdn.example/lib.js"}},
        {"<a href=\"?p=2\">", {"http://h.example/d/e/page.htm?p=2"}},
        {"<img src=\"data:image/png;base64,AAAA\"> <form action=\"javascript:x()\">", {}},
        {"<a href=\"c.htm#part\">", {"http://h.example/d/e/c.htm"}},
        {"see http://plain.example/x. and ftp://f.example/file).", {"http://plain.example/x", "ftp://f.example/file"}},
        {"https://secure.example/p,", {"https://secure.example/p"}},
        {"<a href=\"x.htm\">1</a><a href=\"x.htm\">2</a><a href=\"y.htm\"><a href=\"x.htm\">",
         {"http://h.example/d/e/x.htm", "http://h.example/d/e/y.htm"}},
        {"<a href=\"http://abs.example/p\">", {"http://abs.example/p"}},
        {"<frame framesource=\"f.htm\">", {"http://h.example/d/e/f.htm"}},
        {"<a href=\"ab\">", {"http://h.example/d/e/ab"}},
        {"<a href=\"\">", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Follow(c.page), c.links) << c.page;
}

TEST(LinkFollower, AttributesOnlyInHtmlAndBinaryGuard)
{
    EXPECT_EQ(Follow("<a href=\"x.htm\"> http://a.example/p", "http://h.example/", false),
              Links{"http://a.example/p"});
    const std::string binary = std::string("<a href=\"a.htm\">\x01<a href=\"b.htm\">");
    EXPECT_EQ(Follow(binary, "http://h.example/", true, true), Links{"http://h.example/a.htm"});
    EXPECT_EQ(Follow(binary, "http://h.example/", true, false).size(), 2u);
}

TEST(LinkFollower, ChunkBoundariesMatchAWholeRead)
{
    std::string page(900, ' ');
    for (int i = 0; i < 60; ++i)
        page += "<a href=\"p" + std::to_string(i) + ".htm\">t</a> http://x" + std::to_string(i) + ".example/ ";
    const Links whole = Follow(page, "http://h.example/");
    for (std::size_t split = 1000; split <= 1100; ++split) {
        // Chunk by chunk as the crawler hands the buffer on: 1024 bytes each with the rest behind.
        Links pieces;
        static const CharTables tables;
        std::size_t offset = 0;
        std::string rest = page;
        std::size_t chunk = split;
        while (!rest.empty()) {
            const bool last = rest.size() <= 4096;
            FollowPage follow;
            follow.baseUrl = "http://h.example/";
            follow.isHtml = true;
            follow.findHttps = true;
            LinkFollower(tables, follow, rest.data(), rest.size(), chunk, last, [&](const std::string& url) {
                pieces.push_back(url);
                return 1;
            });
            if (last)
                break;
            offset += chunk;
            rest.erase(0, chunk);
            chunk = 1024;
        }
        // The repeat memory is per call, so compare the sets in order without neighbours' repeats.
        EXPECT_EQ(pieces, whole) << "split " << split;
    }
}

TEST(PageLinks, JoinAndBaseFolder)
{
    struct Case { const char* base; const char* value; const char* joined; };
    const Case cases[] = {
        {"http://h/a/b/", "x.htm", "http://h/a/b/x.htm"},
        {"http://h/a/b/", "/x.htm", "http://h/x.htm"},
        {"http://h/a/b/", "../x.htm", "http://h/a/x.htm"},
        {"http://h/", "../x.htm", "http://h/../x.htm"},
        {"https://h/a/", "//o/x", "https://o/x"},
        {"http://h/a/", "mailto:x@y", ""},
        {"http://h/a/", "HTTP://o/", "HTTP://o/"},
        {"", "x.htm", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JoinPageUrl(c.base, "", c.value), c.joined) << c.base << " + " << c.value;
    EXPECT_EQ(PageBaseFolder("http://host"), "http://host/");
    EXPECT_EQ(PageBaseFolder("http://host/a/b.htm?q=/x"), "http://host/a/");
    EXPECT_EQ(PageBaseFolder("http://host/a/"), "http://host/a/");
}

} // namespace
} // namespace lt
