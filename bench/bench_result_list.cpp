// SPDX-License-Identifier: GPL-3.0-or-later
// Adding rows to the result list with ascending auto-sort, as a file search does: once keeping
// every row, once with "Omit &all duplicates" (duplicates policy 2). Rows carry a title for about
// half of the URLs and the path of the file they came from, one path per 40 rows. Reported per
// run: list_MB, the heap bytes the rows take (mallinfo2 in use after the fill less before it).
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <random>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/console_ui_port.h"
#include "list/add_result_row.h"
#include "list/list_kind.h"

namespace {

// URLs as pages carry them: a few hundred hosts, paths of words, mixed case, about one in five
// found again later in another letter case or exactly.
std::vector<std::string> MakeUrls(std::size_t n)
{
    static const char* const kWords[] = {"index", "news", "Images", "download", "products", "about", "blog",
                                         "archive", "2003", "docs", "Support", "forum", "search", "media",
                                         "files", "help"};
    static const char* const kEnds[] = {".html", ".htm", ".php", ".zip", ".gif", ".exe", "/", ".asp?id="};
    std::mt19937_64 rng(42);
    std::vector<std::string> urls;
    urls.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 10 && rng() % 5 == 0) {
            std::string again = urls[rng() % urls.size()];
            if (rng() % 2)
                for (char& c : again)
                    if (c >= 'a' && c <= 'z' && rng() % 8 == 0)
                        c = static_cast<char>(c - 32);
            urls.push_back(std::move(again));
            continue;
        }
        std::string url = (rng() % 10 == 0) ? "ftp://ftp." : "http://www.";
        url += "site" + std::to_string(rng() % 800) + (rng() % 3 == 0 ? ".org" : ".com");
        const int depth = 1 + static_cast<int>(rng() % 3);
        for (int d = 0; d < depth; ++d) {
            url += '/';
            url += kWords[rng() % 16];
        }
        url += '/';
        url += kWords[rng() % 16];
        url += std::to_string(rng() % 100000);
        url += kEnds[rng() % 8];
        urls.push_back(std::move(url));
    }
    return urls;
}

void AddRows(benchmark::State& state, int policy)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::vector<std::string> urls = MakeUrls(n);
    lt::ConsoleUiPort ui;
    lt::AppState app(ui);
    app.settings.duplicatesPolicy = policy;
    lt::ApplyListKind(app, 2);
    // The cells of each row are made before the timing: a producer has them in hand.
    std::vector<std::string> titles(n), files(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (i % 2 == 0)
            titles[i] = "Page " + std::to_string(i % 977) + " of the archive";
        files[i] = "/home/user/pages/site" + std::to_string(i / 40 % 300) + "/links" + std::to_string(i / 40) + ".html";
    }
    std::size_t rows = 0;
    double listMb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        lt::ClearResultList(app);
        malloc_trim(0);
        const std::size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        for (std::size_t i = 0; i < n; ++i) {
            app.listState.rowTexts[1] = titles[i];
            app.listState.rowTexts[2] = files[i];
            benchmark::DoNotOptimize(lt::AddResultRow(app, urls[i]));
        }
        state.PauseTiming();
        rows = app.list.RowCount();
        listMb = static_cast<double>(mallinfo2().uordblks - before) / 1e6;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * n));
    state.counters["rows_kept"] = static_cast<double>(rows);
    state.counters["list_MB"] = listMb;
}

void BM_AddSortedKeepAll(benchmark::State& state)
{
    AddRows(state, 1);
}
void BM_AddSortedOmitAllDuplicates(benchmark::State& state)
{
    AddRows(state, 2);
}

BENCHMARK(BM_AddSortedKeepAll)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_AddSortedOmitAllDuplicates)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
