// SPDX-License-Identifier: GPL-3.0-or-later
// Bulk list edits over a million URL rows, and the text parser in word mode over a log file.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "bench_support.h"
#include "core/app_state.h"
#include "list/cut_params_job.h"
#include "list/delete_with_job.h"
#include "list/parse_text.h"
#include "list/replace_job.h"
#include "list/unescape_job.h"

namespace {

void FillList(lt::ResultList& list, long rows)
{
    list.SetColumns({{"Url"}, {"Title"}, {"File"}});
    list.SetAutoSort(lt::AutoSort::Off);
    list.Modify([rows](std::vector<lt::ResultRow>& out) {
        out.clear();
        out.reserve(static_cast<std::size_t>(rows));
        for (long i = 0; i < rows; ++i) {
            lt::ResultRow row;
            row.cells = {"http://www.example" + std::to_string(i / 3) + ".com/dir%2Fsub/page.asp?id=" +
                             std::to_string(i) + "&x=1",
                         "Title of page " + std::to_string(i), "/home/user/pages/page" + std::to_string(i) + ".htm"};
            row.param = static_cast<uint32_t>(i);
            out.push_back(std::move(row));
        }
    });
}

template <typename Edit>
void RunEdit(benchmark::State& state, Edit edit)
{
    lt::bench::QuietApp quiet;
    for (auto _ : state) {
        state.PauseTiming();
        FillList(quiet.app.list, state.range(0));
        state.ResumeTiming();
        benchmark::DoNotOptimize(edit(quiet.app.list));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Replace(benchmark::State& state)
{
    lt::ReplaceParams p;
    p.findPart = "example";
    p.replacePart = "sample";
    RunEdit(state, [&p](lt::ResultList& list) { return lt::ReplaceRows(list, p, true).changed; });
}

void BM_Unescape(benchmark::State& state)
{
    RunEdit(state, [](lt::ResultList& list) { return lt::UnescapeRows(list, false, true).changed; });
}

void BM_CutParams(benchmark::State& state)
{
    RunEdit(state, [](lt::ResultList& list) { return lt::CutParamsRows(list, false, true).changed; });
}

void BM_DeleteWith(benchmark::State& state)
{
    lt::WordMatchParams p;
    p.containing = "example1";
    p.columns = {true, true, false, false, false, false};
    RunEdit(state, [&p](lt::ResultList& list) { return lt::DeleteRowsWith(list, p, 0).deleted; });
}

// A web-server log of about 100 MB, parsed two words a line (as awk '{print $1, $2}').
void BM_ParseWordMode(benchmark::State& state)
{
    const lt::bench::ScratchFile log(lt::bench::ScratchPath("lt-bench-parse", ".log"));
    {
        std::ofstream out(log.Path(), std::ios::binary);
        for (int i = 0; i < 1000000; ++i)
            out << "10.0." << (i % 250) << '.' << (i % 97) << " - - [09/Dec/2026:03:" << (i % 60)
                << ":00 +0000] \"GET /path/to/page" << i << ".html HTTP/1.1\" 200 " << (i * 7 % 50000)
                << " \"-\" \"Mozilla/5.0 (X11; Linux x86_64)\"\n";
    }
    lt::ParseSettings settings;
    settings.startMarker[1] = " ";
    const lt::ParsePlan plan = lt::MakeParsePlan(settings, false);
    const auto bytes = static_cast<int64_t>(std::filesystem::file_size(log.Path()));
    for (auto _ : state) {
        long rows = 0;
        lt::ParseFileInto(plan, log.Path(), [&rows](lt::ParseRow& row) { rows += !row[0].empty(); });
        benchmark::DoNotOptimize(rows);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

} // namespace

BENCHMARK(BM_Replace)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unescape)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CutParams)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteWith)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseWordMode)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
