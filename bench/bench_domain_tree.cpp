// SPDX-License-Identifier: GPL-3.0-or-later
// The domain tree of 200,000 sorted crawl-like URLs, and the fill of a folder of 50,000 rows.
#include <algorithm>
#include <string>

#include <benchmark/benchmark.h>

#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "core/cp1252.h"
#include "crawl_urls.h"
#include "list/domain_tree.h"
#include "list/list_kind.h"
#include "list/result_list.h"
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

void BM_FillBigFolder(benchmark::State& state)
{
    // Selecting a folder of 50,000 rows among 150,000 others: the fill that runs on its own
    // thread while the window stays live.
    std::vector<std::string> urls = SortedUrls(150000);
    for (int i = 0; i < 50000; ++i)
        urls.push_back("http://www.zz-big.example/all/page" + std::to_string(100000 + i) + ".htm");
    std::stable_sort(urls.begin(), urls.end(),
                     [](const std::string& a, const std::string& b) { return lt::Cp1252CompareNoCase(a, b) < 0; });
    lt::ConsoleUiPort ui;
    lt::AppState app(ui);
    lt::ApplyListKind(app, 0);
    app.list.SetAutoSort(lt::AutoSort::Off);
    for (const std::string& u : urls)
        app.list.InsertRow(lt::ResultRow{{u, "A title of the page", "/home/user/pages/links.html"}});
    app.list.SetAutoSort(lt::AutoSort::Ascending);
    if (!lt::BuildDomainsCommand(app)) {
        state.SkipWithError("no tree");
        return;
    }
    lt::WaitForFolderFills(app);
    int node = -1;
    std::string path;
    for (std::size_t n = 0; n < app.domain.tree.Size(); ++n) {
        lt::NodePath(app.domain.tree, static_cast<int>(n), path);
        if (path == "http://www.zz-big.example/all")
            node = static_cast<int>(n);
    }
    if (node < 0) {
        state.SkipWithError("no folder");
        return;
    }
    const lt::FolderQuery query = lt::MakeFolderQuery(app.domain.tree, node);
    long shown = 0;
    for (auto _ : state)
        shown = lt::FillFolderList(app, query, 0);
    state.counters["rows"] = static_cast<double>(shown);
}

} // namespace

BENCHMARK(BM_BuildDomainTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillBigFolder)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
