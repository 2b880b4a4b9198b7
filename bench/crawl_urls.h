// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace lt::bench {

// Crawl-like URLs: many hosts of very different sizes, folders several levels deep, a mix of
// endings and the odd query, so that sorts and the domain tree meet what a real crawl gives.
inline std::vector<std::string> CrawlUrls(std::size_t count, uint32_t seed = 20240611)
{
    std::mt19937 rng(seed);
    static const char* const kTlds[] = {".com", ".org", ".net", ".de", ".co.uk", ".io"};
    static const char* const kWords[] = {"news", "docs", "api", "blog", "archive", "2023", "img", "en",
                                         "products", "support", "files", "static", "user", "forum"};
    static const char* const kEndings[] = {".htm", ".html", ".php", ".jpg", ".zip", ".pdf", ".asp", ".txt", "/"};
    std::vector<std::string> urls;
    urls.reserve(count);
    std::geometric_distribution<int> depth(0.45);
    while (urls.size() < count) {
        // Host sizes follow a long tail: a few big sites, many small ones.
        const uint32_t host = static_cast<uint32_t>(std::pow(rng() % 100000 / 100000.0, 3.0) * 20000);
        std::string url = (rng() % 25 == 0 ? "ftp://ftp." : (rng() % 6 == 0 ? "https://www." : "http://www."));
        url += "host-" + std::to_string(host) + kTlds[host % 6];
        const int levels = std::min(depth(rng), 7);
        for (int l = 0; l < levels; ++l) {
            url += '/';
            url += kWords[(host + l * 7 + rng() % 3) % 14];
        }
        url += "/page" + std::to_string(rng() % 5000) + kEndings[rng() % 9];
        if (rng() % 10 == 0)
            url += "?id=" + std::to_string(rng() % 100000);
        urls.push_back(std::move(url));
    }
    return urls;
}

} // namespace lt::bench
