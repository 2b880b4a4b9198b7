// SPDX-License-Identifier: GPL-3.0-or-later
// MB/s of the scanners for each item kind: the item kinds 4 to 7 and, for comparison in the same
// sitting, the URL kind 0. Over a generated file (prose, markup, code, addresses and a little
// links) and over every file of the real corpus at /tmp/linktrawl-corpus (skipped when missing).
// The second argument 1 counts the accepted items instead of adding them to the result list, so
// that the scanning alone is measured. The "cands/MiB" counter gives how often the anchor (for IP
// addresses: a dot between digits) occurs, the work the scanner cannot skip.
#include <benchmark/benchmark.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench_support.h"
#include "core/app_state.h"
#include "search/item_kind.h"
#include "search/item_scanner.h"
#include "search/link_scanner.h"

namespace {

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
    static lt::bench::ScratchFile file(lt::bench::ScratchPath("bench_scan", ".txt"));
    static const bool written = [] {
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
                switch (n % 5) {
                case 0: out += "see www.example" + std::to_string(n) + ".org/page "; break;
                case 4:
                    out += "<a href=\"http://host" + std::to_string(n % 97) + ".example.com/docs/" + std::to_string(n) +
                           ".html\">Page " + std::to_string(n) + "</a> ";
                    break;
                case 1: out += "function handler" + std::to_string(n) + "(event, data) { "; break;
                case 2: out += "mail user" + std::to_string(n) + "@example.org. "; break;
                default: out += "host 192.168." + std::to_string(n % 250) + "." + std::to_string(n % 199) + " "; break;
                }
            }
        }
        return file.Write(out.data(), out.size());
    }();
    (void)written;
    return file.Path();
}

int ScanOne(lt::AppState& /*app*/, int kind, lt::ItemScanner& items, lt::LinkScanner& links, const std::string& path)
{
    return kind >= lt::kItemUser ? items.ScanFile(path) : links.ScanLinks(path);
}

// Both scanners of one benchmark run, with the counting sink when asked for.
struct Scanners
{
    lt::ItemScanner items;
    lt::LinkScanner links;
    long counted = 0;

    Scanners(lt::AppState& app, bool count) : items(app), links(app)
    {
        if (!count)
            return;
        const auto sink = [this](lt::AppState&, const std::string&) { return counted++; };
        items.SetRowSink(sink);
        links.SetRowSink(sink);
    }
    double Rows(const lt::AppState& app) const
    {
        return static_cast<double>(counted > 0 ? static_cast<std::size_t>(counted) : app.list.RowCount());
    }
};

// Occurrences of each kind's anchor in the files (case folded as the scan does; for IP addresses
// the dots between digits), per MiB.
std::array<double, 8> CandidatesPerMiB(const std::vector<std::string>& paths)
{
    static const char* kAnchors[] = {"http", "", "", "", "www.", "function", "@", "."};
    std::array<uint64_t, 8> hits{};
    uint64_t bytes = 0;
    std::string data;
    for (const std::string& path : paths) {
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f)
            continue;
        data.clear();
        char buffer[1 << 16];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            data.append(buffer, n);
        std::fclose(f);
        bytes += data.size();
        for (char& c : data)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (int kind = 0; kind < 8; ++kind) {
            const std::string anchor = kAnchors[kind];
            if (anchor.empty())
                continue;
            for (std::size_t at = data.find(anchor); at != std::string::npos;
                 at = data.find(anchor, at + 1)) {
                const auto digit = [&](std::size_t i) {
                    return i < data.size() && std::isdigit(static_cast<unsigned char>(data[i]));
                };
                if (kind == lt::kItemIp && !(at > 0 && digit(at - 1) && digit(at + 1)))
                    continue;
                ++hits[static_cast<std::size_t>(kind)];
            }
        }
    }
    std::array<double, 8> perMiB{};
    for (std::size_t k = 0; k < 8; ++k)
        perMiB[k] = bytes > 0 ? static_cast<double>(hits[k]) * (1 << 20) / static_cast<double>(bytes) : 0;
    return perMiB;
}

void BM_ScanGenerated(benchmark::State& state)
{
    lt::bench::SilentUiPort ui;
    lt::AppState app(ui);
    const int kind = static_cast<int>(state.range(0));
    Prepare(app, kind);
    const std::string& path = GeneratedFile();
    const auto bytes = std::filesystem::file_size(path);
    double rows = 0;
    for (auto _ : state) {
        app.list.ClearRows();
        Scanners scanners(app, state.range(1) != 0);
        ScanOne(app, kind, scanners.items, scanners.links, path);
        rows = scanners.Rows(app);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["rows"] = rows;
    static const std::array<double, 8> candidates = CandidatesPerMiB({path});
    state.counters["cands/MiB"] = candidates[static_cast<std::size_t>(kind)];
}
BENCHMARK(BM_ScanGenerated)
    ->ArgsProduct({{0, 4, 5, 6, 7}, {0, 1}})
    ->ArgNames({"kind", "count"})
    ->Unit(benchmark::kMillisecond);

void BM_ScanCorpus(benchmark::State& state)
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
    const int kind = static_cast<int>(state.range(0));
    Prepare(app, kind);
    double rows = 0;
    for (auto _ : state) {
        app.list.ClearRows();
        Scanners scanners(app, state.range(1) != 0);
        for (const std::string& path : files)
            ScanOne(app, kind, scanners.items, scanners.links, path);
        rows = scanners.Rows(app);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["rows"] = rows;
    static const std::array<double, 8> candidates = CandidatesPerMiB(files);
    state.counters["cands/MiB"] = candidates[static_cast<std::size_t>(kind)];
}
BENCHMARK(BM_ScanCorpus)
    ->ArgsProduct({{0, 4, 5, 6, 7}, {0, 1}})
    ->ArgNames({"kind", "count"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

BENCHMARK_MAIN();
