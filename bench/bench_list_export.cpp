// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a large result list as text, CSV and HTML table, and building its clipboard text.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/app_state.h"
#include "export/list_export.h"

namespace {

class SilentPort : public lt::UiPort
{
public:
    void SetPaneText(int, const std::string&) override {}
    void SetPaneIcon(int, lt::StatusIcon) override {}
    void ArmTimer(int, int) override {}
    void KillTimer(int) override {}
    void ProgressBegin() override {}
    void ProgressStep() override {}
    void ProgressEnd() override {}
    lt::MsgAnswer ShowMessage(const std::string&, const std::string&, lt::MsgStyle) override
    {
        return lt::MsgAnswer::Replace;
    }
    void SetWaitCursor(bool) override {}
    void SetClipboardText(const std::string&) override {}
    std::string ClipboardText() override { return {}; }
    void Post(int, std::intptr_t, std::intptr_t) override {}
};

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

std::string OutputPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string("lt-bench-") + std::to_string(::getpid()) + name))
        .string();
}

template <typename Writer>
void RunWriter(benchmark::State& state, const char* name, Writer write)
{
    SilentPort port;
    lt::AppState app(port);
    FillList(app, state.range(0));
    const std::string path = OutputPath(name);
    for (auto _ : state)
        benchmark::DoNotOptimize(write(app, path));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
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
    SilentPort port;
    lt::AppState app(port);
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
