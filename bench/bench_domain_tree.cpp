// SPDX-License-Identifier: GPL-3.0-or-later
// The domain tree of 200,000 sorted crawl-like URLs, and the fill of a folder of 50,000 rows.
#include <algorithm>
#include <string>

#include <benchmark/benchmark.h>

#include "core/cp1252.h"
#include "crawl_urls.h"
#include "list/domain_tree.h"
#include "list/sort_orders.h"

namespace {

std::vector<std::string> SortedUrls(std::size_t count)
{
    std::vector<std::string> urls = lt::bench::CrawlUrls(count);
    std::stable_sort(urls.begin(), urls.end(),
                     [](const std::string& a, const std::string& b) { return lt::Cp1252CompareNoCase(a, b) < 0; });
    return urls;
}

void BM_BuildDomainTree(benchmark::State& state)
{
    const std::vector<std::string> urls = SortedUrls(200000);
    std::size_t folders = 0;
    for (auto _ : state) {
        // The snapshot of column 0 is part of every build.
        lt::SortSnapshot rows;
        for (const std::string& u : urls)
            rows.Add(u, 1);
        lt::DomainTree tree;
        lt::BuildDomainTree(tree, rows);
        folders = tree.Size();
        benchmark::DoNotOptimize(folders);
    }
    state.counters["folders"] = static_cast<double>(folders);
}

void BM_FolderRowsOfBigFolder(benchmark::State& state)
{
    // 50,000 rows in one folder among 150,000 others; the fill's per-row test over the whole list.
    std::vector<std::string> urls = SortedUrls(150000);
    for (int i = 0; i < 50000; ++i)
        urls.push_back("http://www.zz-big.example/all/page" + std::to_string(100000 + i) + ".htm");
    lt::SortSnapshot rows;
    for (const std::string& u : urls)
        rows.Add(u, 1);
    lt::DomainTree tree;
    lt::BuildDomainTree(tree, rows);
    std::size_t shown = 0;
    for (auto _ : state) {
        shown = 0;
        for (std::size_t i = 0; i < rows.Size(); ++i)
            shown += lt::LiesInFolder("http://www.zz-big.example/all", rows.Cell(i)) ? 1 : 0;
        benchmark::DoNotOptimize(shown);
    }
    state.counters["rows"] = static_cast<double>(shown);
}

} // namespace

BENCHMARK(BM_BuildDomainTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FolderRowsOfBigFolder)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
