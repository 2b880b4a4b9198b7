// SPDX-License-Identifier: GPL-3.0-or-later
// MB/s of the link scanner for the URL kinds 0 to 3: over a generated page held in memory, and
// over every file of the real corpus at /tmp/linktrawl-corpus (skipped when it is missing). The
// second argument 1 counts the accepted URLs instead of adding them to the result list, so that
// the scanning alone is measured.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench_support.h"
#include "core/app_state.h"
#include "search/item_kind.h"
#include "search/link_scanner.h"

namespace {

constexpr const char* kCorpus = "/tmp/linktrawl-corpus";

void Prepare(lt::AppState& app, int kind)
{
    app.settings.itemKind = kind;
    lt::SelectItemKind(app);
    lt::PrepareScan(app);
    app.scan.nonBinaryOnly = false; // every byte is read, as "rg -a" does
    app.jobs.jobCode = lt::kJobFolderSearch;
    app.list.SetColumns({{"Url", lt::kColText}, {"Title", lt::kColTitle}, {"File", lt::kColPath}});
}

// Prose, markup and code with a link every few kilobytes.
const std::string& GeneratedPage()
{
    static const std::string page = [] {
        static const char* kWords[] = {"the", "quick", "brown", "fox", "jumps", "over", "lazy", "dog", "function",
                                       "return", "struct", "<p>", "</p>", "<div class=\"x\">", "href", "from",
                                       "that", "with", "this", "http", "format", "\n", "\t", "if (x)", "{", "}"};
        std::mt19937 rng(1);
        std::uniform_int_distribution<std::size_t> pick(0, std::size(kWords) - 1);
        std::uniform_int_distribution<int> link(0, 400);
        std::string out;
        out.reserve(64u << 20);
        int n = 0;
        while (out.size() < (64u << 20)) {
            out += kWords[pick(rng)];
            out += ' ';
            if (link(rng) == 0) {
                ++n;
                out += "<a href=\"http://www.example" + std::to_string(n % 977) + ".org/docs/page" +
                       std::to_string(n) + ".html\">Page " + std::to_string(n) + "</a> ";
                if (n % 3 == 0)
                    out += "mailto:someone" + std::to_string(n) + "@example.org ftp://ftp.example.org/pub/ ";
            }
        }
        return out;
    }();
    return page;
}

// A scanner that adds rows, or with `count` only counts them.
struct Scanner
{
    lt::LinkScanner links;
    long counted = 0;

    Scanner(lt::AppState& app, bool count) : links(app)
    {
        if (count)
            links.SetRowSink([this](lt::AppState&, const std::string&) { return counted++; });
    }
    double Rows(const lt::AppState& app) const
    {
        return static_cast<double>(counted > 0 ? static_cast<std::size_t>(counted) : app.list.RowCount());
    }
};

void BM_LinkScanGenerated(benchmark::State& state)
{
    lt::bench::SilentUiPort ui;
    lt::AppState app(ui);
    Prepare(app, static_cast<int>(state.range(0)));
    const std::string& page = GeneratedPage();
    double rows = 0;
    for (auto _ : state) {
        app.list.ClearRows();
        Scanner scanner(app, state.range(1) != 0);
        scanner.links.ScanLinksInMemory(page.data(), page.size(), "/generated/page.htm");
        rows = scanner.Rows(app);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.counters["rows"] = rows;
}
BENCHMARK(BM_LinkScanGenerated)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->ArgNames({"kind", "count"})
    ->Unit(benchmark::kMillisecond);

void BM_LinkScanCorpus(benchmark::State& state)
{
    uint64_t bytes = 0;
    const std::vector<std::string> files = lt::bench::CorpusFiles(kCorpus, bytes);
    if (files.empty()) {
        state.SkipWithError("no corpus at /tmp/linktrawl-corpus");
        return;
    }
    lt::bench::WarmUp(files);
    lt::bench::SilentUiPort ui;
    lt::AppState app(ui);
    Prepare(app, static_cast<int>(state.range(0)));
    double rows = 0;
    for (auto _ : state) {
        app.list.ClearRows();
        Scanner scanner(app, state.range(1) != 0);
        for (const std::string& path : files)
            scanner.links.ScanLinks(path);
        rows = scanner.Rows(app);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["rows"] = rows;
}
BENCHMARK(BM_LinkScanCorpus)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->ArgNames({"kind", "count"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

BENCHMARK_MAIN();
