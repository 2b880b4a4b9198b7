// SPDX-License-Identifier: GPL-3.0-or-later
// MB/s of the scanners for each item kind: the item kinds 4 to 7 and, for comparison in the same
// sitting, the URL kind 0. Over a generated file (prose, markup, code, addresses and a little
// binary) and over every file of the real corpus at /tmp/linktrawl-corpus (skipped when missing).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/app_state.h"
#include "search/item_kind.h"
#include "search/item_scanner.h"
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
    app.settings.userStrings[0] = "www.";
    app.settings.userEntireLine = false;
    lt::PrepareScan(app);
    app.scan.nonBinaryOnly = false; // every byte is read
    app.jobs.jobCode = lt::kJobFolderSearch;
    std::vector<lt::ColumnState> columns(kind == lt::kItemIp ? 5 : 4);
    app.list.SetColumns(columns);
}

// A generated file of 64 MiB, written once.
const std::string& GeneratedFile()
{
    static const std::string path = [] {
        static const char* kWords[] = {"the", "quick", "brown", "fox", "jumps", "over", "lazy", "dog", "function",
                                       "return", "struct", "<p>", "</p>", "<div class=\"x\">", "href", "from",
                                       "that", "with", "this", "version 2.4.1", "format", "\n", "\t", "if (x)",
                                       "{", "}", "e.g.", "Dr. Who", "i.e.", "foo.bar", "3.14", "x@y"};
        std::mt19937 rng(1);
        std::uniform_int_distribution<std::size_t> pick(0, std::size(kWords) - 1);
        std::uniform_int_distribution<int> item(0, 300);
        std::string out;
        out.reserve(64u << 20);
        int n = 0;
        while (out.size() < (64u << 20)) {
            out += kWords[pick(rng)];
            out += ' ';
            if (item(rng) == 0) {
                ++n;
                switch (n % 4) {
                case 0: out += "see www.example" + std::to_string(n) + ".org/page "; break;
                case 1: out += "function handler" + std::to_string(n) + "(event, data) { "; break;
                case 2: out += "mail user" + std::to_string(n) + "@example.org. "; break;
                default: out += "host 192.168." + std::to_string(n % 250) + "." + std::to_string(n % 199) + " "; break;
                }
            }
        }
        const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string file = std::string(dir) + "/bench_scan." + std::to_string(::getpid()) + ".txt";
        FILE* f = std::fopen(file.c_str(), "wb");
        if (f) {
            std::fwrite(out.data(), 1, out.size(), f);
            std::fclose(f);
        }
        return file;
    }();
    return path;
}

struct RemoveGenerated
{
    ~RemoveGenerated()
    {
        const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        ::unlink((std::string(dir) + "/bench_scan." + std::to_string(::getpid()) + ".txt").c_str());
    }
} g_removeGenerated;

int ScanOne(lt::AppState& /*app*/, int kind, lt::ItemScanner& items, lt::LinkScanner& links, const std::string& path)
{
    return kind >= lt::kItemUser ? items.ScanFile(path) : links.ScanLinks(path);
}

void BM_ScanGenerated(benchmark::State& state)
{
    QuietUiPort ui;
    lt::AppState app(ui);
    const int kind = static_cast<int>(state.range(0));
    Prepare(app, kind);
    const std::string& path = GeneratedFile();
    const auto bytes = std::filesystem::file_size(path);
    for (auto _ : state) {
        app.list.ClearRows();
        lt::ItemScanner items(app);
        lt::LinkScanner links(app);
        ScanOne(app, kind, items, links, path);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["rows"] = static_cast<double>(app.list.RowCount());
}
BENCHMARK(BM_ScanGenerated)->Arg(0)->DenseRange(4, 7)->Unit(benchmark::kMillisecond);

void BM_ScanCorpus(benchmark::State& state)
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
    const int kind = static_cast<int>(state.range(0));
    Prepare(app, kind);
    for (auto _ : state) {
        app.list.ClearRows();
        lt::ItemScanner items(app);
        lt::LinkScanner links(app);
        for (const std::string& path : files)
            ScanOne(app, kind, items, links, path);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["rows"] = static_cast<double>(app.list.RowCount());
}
BENCHMARK(BM_ScanCorpus)->Arg(0)->DenseRange(4, 7)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
