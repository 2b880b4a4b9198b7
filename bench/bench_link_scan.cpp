// SPDX-License-Identifier: GPL-3.0-or-later
// MB/s of the link scanner for the URL kinds 0 to 3: over a generated page held in memory, and
// over every file of the real corpus at /tmp/linktrawl-corpus (skipped when it is missing).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "search/item_kind.h"
#include "search/link_scanner.h"

namespace {

class QuietUiPort : public lt::UiPort
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
        return lt::MsgAnswer::Ok;
    }
    void SetWaitCursor(bool) override {}
    void SetClipboardText(const std::string&) override {}
    std::string ClipboardText() override { return {}; }
    void Post(int, std::intptr_t, std::intptr_t) override {}
};

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

void BM_LinkScanGenerated(benchmark::State& state)
{
    QuietUiPort ui;
    lt::AppState app(ui);
    Prepare(app, static_cast<int>(state.range(0)));
    const std::string& page = GeneratedPage();
    for (auto _ : state) {
        app.list.ClearRows();
        lt::LinkScanner scanner(app);
        scanner.ScanLinksInMemory(page.data(), page.size(), "/generated/page.htm");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.counters["rows"] = static_cast<double>(app.list.RowCount());
}
BENCHMARK(BM_LinkScanGenerated)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_LinkScanCorpus(benchmark::State& state)
{
    std::vector<std::string> files;
    uint64_t bytes = 0;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(kCorpus, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec) && !it->is_symlink(ec)) {
            files.push_back(it->path().string());
            bytes += it->file_size(ec);
        }
    }
    if (files.empty()) {
        state.SkipWithError("no corpus at /tmp/linktrawl-corpus");
        return;
    }
    QuietUiPort ui;
    lt::AppState app(ui);
    Prepare(app, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        app.list.ClearRows();
        lt::LinkScanner scanner(app);
        for (const std::string& path : files)
            scanner.ScanLinks(path);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["rows"] = static_cast<double>(app.list.RowCount());
}
BENCHMARK(BM_LinkScanCorpus)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
