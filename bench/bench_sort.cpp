// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting a million URL rows by column 0, by length and by ending. Reported per run: the CPU time
// of all threads while sorting (sort_cpu_s, which the machine's load does not inflate) and the
// peak resident growth while sorting (sort_peak_MB). BM_FillOnly gives the list's own size for
// a comparison of maximum resident sizes under /usr/bin/time -v.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>
#include <string>

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "core/app_state.h"
#include "core/job_control.h"
#include "core/ui_port.h"
#include "crawl_urls.h"
#include "list/result_list.h"
#include "list/sort_command.h"

namespace {

long StatusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    }
    return 0;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

const std::vector<std::string>& Urls()
{
    static const std::vector<std::string> urls = [] {
        std::vector<std::string> u = lt::bench::CrawlUrls(1000000);
        std::shuffle(u.begin(), u.end(), std::mt19937(7));
        return u;
    }();
    return urls;
}

void Fill(lt::ResultList& list)
{
    lt::ColumnState url, title, file;
    url.header = "Url";
    title.header = "Title", title.type = lt::kColTitle;
    file.header = "File", file.type = lt::kColPath;
    list.SetAutoSort(lt::AutoSort::Off);
    list.SetColumns({url, title, file});
    const auto& urls = Urls();
    list.Modify([&](std::vector<lt::ResultRow>& rows) {
        rows.clear();
        rows.reserve(urls.size());
        for (std::size_t i = 0; i < urls.size(); ++i) {
            lt::ResultRow row;
            row.cells = {urls[i], "", "/home/user/crawl/index.htm"};
            row.param = static_cast<uint32_t>(i);
            row.icon = static_cast<int>(i % 18);
            rows.push_back(std::move(row));
        }
    });
}

template <typename Sort>
void RunSort(benchmark::State& state, Sort sort)
{
    lt::bench::SilentUiPort port;
    Urls();
    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<lt::AppState>(port);
        Fill(app->list);
        ResetPeak();
        const long base = StatusKb("VmRSS:");
        const double cpu = CpuSeconds();
        state.ResumeTiming();

        sort(*app);
        lt::JoinWorker(*app);

        state.PauseTiming();
        state.counters["sort_cpu_s"] = CpuSeconds() - cpu;
        state.counters["sort_peak_MB"] = (StatusKb("VmHWM:") - base) / 1024.0;
        benchmark::DoNotOptimize(app->list.GetCell(0, 0));
        app.reset();
        state.ResumeTiming();
    }
}

void BM_FillOnly(benchmark::State& state)
{
    RunSort(state, [](lt::AppState&) {});
}

void BM_SortByColumn0(benchmark::State& state)
{
    RunSort(state, [](lt::AppState& app) {
        app.sorting.main.sortMode = lt::kSortColumn;
        app.sorting.main.sortColumn = 0;
        lt::SortByColumn(app);
    });
}

void BM_SortByLength(benchmark::State& state)
{
    RunSort(state, [](lt::AppState& app) { lt::SortCommand(app, lt::kCmdSortLength); });
}

void BM_SortByEnding(benchmark::State& state)
{
    RunSort(state, [](lt::AppState& app) { lt::SortCommand(app, lt::kCmdSortEnding); });
}

} // namespace

BENCHMARK(BM_FillOnly)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SortByColumn0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SortByLength)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SortByEnding)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
