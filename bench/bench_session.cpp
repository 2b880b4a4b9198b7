// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and loading a session of a million URL rows with three columns. Run the load on its own
// (--benchmark_filter=Load) for a meaningful peak memory: the counters give the resident memory
// the loaded list holds and the process peak, both in MiB.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "bench_support.h"
#include "core/app_state.h"
#include "store/session_file.h"
#include "store/session_load.h"

namespace {

constexpr long kRows = 1000000;

double ResidentMiB()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1 << 20);
}

double PeakMiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::string Url(long i)
{
    char text[96];
    std::snprintf(text, sizeof text, "http://www.example%07ld.com/path/to/page.html", i);
    return text;
}

void BM_SaveSession(benchmark::State& state)
{
    lt::bench::QuietApp quiet;
    lt::AppState& app = quiet.app;
    app.list.SetColumns({{"Url"}, {"Title"}, {"File"}});
    app.list.Modify([](std::vector<lt::ResultRow>& rows) {
        for (long i = 0; i < kRows; ++i) {
            lt::ResultRow row;
            row.cells = {Url(i), "Title of page " + std::to_string(i), "/home/user/pages/page" + std::to_string(i) + ".htm"};
            rows.push_back(std::move(row));
        }
    });
    const lt::bench::ScratchFile output(lt::bench::ScratchPath("lt-bench-save", ".ltn"));
    for (auto _ : state)
        benchmark::DoNotOptimize(lt::WriteList(app, app.list, output.Path(), lt::kSessionAllRows));
    state.SetItemsProcessed(state.iterations() * kRows);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(output.Path()));
}

// The file is written straight, so that no list of its rows is held before the load.
void WriteSessionFile(const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    out << "[LinkTrawl Session file]\r\n\r\n\r\n[LTSfile]\r\n\r\nU0=3\r\nU2=3\r\nH0=Url\r\nH1=Title\r\nH2=File"
           "\r\n\r\n\r\n[OPTIONS]\r\n\r\nR14=0\r\nR8=1\r\n\r\n\r\n[ROWS]\r\n";
    for (long i = 0; i < kRows; ++i)
        out << "01" << Url(i) << "\r\n02Title of page " << i << "\r\n03/home/user/pages/page" << i << ".htm\r\n";
}

void BM_LoadSession(benchmark::State& state)
{
    const lt::bench::ScratchFile input(lt::bench::ScratchPath("lt-bench-load", ".ltn"));
    WriteSessionFile(input.Path());
    double listMiB = 0, startMiB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto quiet = std::make_unique<lt::bench::QuietApp>();
        const double before = ResidentMiB();
        startMiB = before;
        state.ResumeTiming();
        lt::StartLoadSession(quiet->app, input.Path(), false);
        lt::JoinWorker(quiet->app);
        state.PauseTiming();
        if (quiet->app.list.RowCount() != static_cast<std::size_t>(kRows))
            state.SkipWithError("rows missing");
        listMiB = ResidentMiB() - before;
        quiet.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(input.Path()));
    state.counters["list_MiB"] = listMiB;
    // The peak over the memory in use before the load, against what the loaded list holds.
    state.counters["peak_MiB"] = PeakMiB() - startMiB;
    state.counters["peak_per_list"] = listMiB > 0 ? (PeakMiB() - startMiB) / listMiB : 0;
}

} // namespace

BENCHMARK(BM_SaveSession)->Unit(benchmark::kMillisecond)->Iterations(3);
// One load: later ones would start with the freed memory of the last still resident.
BENCHMARK(BM_LoadSession)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_MAIN();
