// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a large result list as text, CSV and HTML table, and building its clipboard text.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench_support.h"
#include "core/app_state.h"
#include "export/list_export.h"

namespace {

// A URL search of `rows` rows, sorted by URL, three titles a URL.
void FillList(lt::AppState& app, long rows)
{
    app.list.SetColumns({{"Url"}, {"Title"}, {"File"}});
    app.list.SetAutoSort(lt::AutoSort::Off);
    for (long i = 0; i < rows; ++i) {
        lt::ResultRow row;
        row.cells = {"http://www.example" + std::to_string(i / 3) + ".com/path/to/page.html",
                     "Title of page " + std::to_string(i), "/home/user/pages/site/page" + std::to_string(i) + ".htm"};
        app.list.InsertRow(std::move(row));
    }
    app.exportSettings.columns = {true, true, true, false, false, false};
    app.search.description = "/home/user/pages/ (*.*)";
}

template <typename Writer>
void RunWriter(benchmark::State& state, const char* name, Writer write)
{
    lt::bench::QuietApp quiet;
    lt::AppState& app = quiet.app;
    FillList(app, state.range(0));
    const lt::bench::ScratchFile output(lt::bench::ScratchPath("lt-bench", name));
    for (auto _ : state)
        benchmark::DoNotOptimize(write(app, output.Path()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(output.Path()));
}

void BM_ExportText(benchmark::State& state)
{
    RunWriter(state, ".txt", [](lt::AppState& app, const std::string& path) {
        return lt::ExportText(app, app.list, path, false, 0, lt::ExistingFile::Replace);
    });
}

void BM_ExportCsv(benchmark::State& state)
{
    RunWriter(state, ".csv", [](lt::AppState& app, const std::string& path) {
        return lt::ExportCsv(app, app.list, path, false, 0);
    });
}

void BM_ExportHtml(benchmark::State& state)
{
    RunWriter(state, ".htm", [](lt::AppState& app, const std::string& path) {
        return lt::ExportHtml(app, app.list, path, false, 0);
    });
}

void BM_ClipboardText(benchmark::State& state)
{
    lt::bench::QuietApp quiet;
    lt::AppState& app = quiet.app;
    FillList(app, state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(lt::ListClipboardText(app, app.list, 0, 0, 0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_ExportText)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtml)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClipboardText)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
