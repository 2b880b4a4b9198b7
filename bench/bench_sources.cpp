// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the browser-data readers: listing a 100 MB URL-cache index file and a 100 MB Netscape
// history file (parsing alone and into the result list), and deleting 1,000 selected records
// from a 100 MB index file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "core/app_state.h"
#include "list/list_kind.h"
#include "sources/byte_source.h"
#include "sources/index_delete.h"
#include "sources/index_file.h"
#include "sources/index_jobs.h"
#include "sources/netscape_history.h"

namespace {

constexpr std::size_t kFileBytes = 100u << 20;

void Put(std::string& b, std::size_t at, uint32_t v, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = static_cast<char>(v >> (8 * i));
}

// Wine-style history index: a HASH table every 64 records, records of 3 blocks.
const std::string& IndexFile()
{
    static const std::string bytes = [] {
        std::string b(20480, '\0');
        b.replace(0, 27, "WINE URLCache Ver 0.2012001");
        const uint64_t stamp = (1700000000ULL + 11644473600ULL) * 10000000ULL;
        char text[160];
        for (std::size_t n = 0; b.size() + 384 <= kFileBytes; ++n) {
            const std::size_t at = b.size();
            if (n % 64 == 63) {
                b.append(512, '\0');
                b.replace(at, 4, "HASH");
                Put(b, at + 4, 4);
                continue;
            }
            b.append(384, '\0');
            b.replace(at, 4, "URL ");
            Put(b, at + 4, 3);
            Put(b, at + 8, static_cast<uint32_t>(stamp));
            Put(b, at + 12, static_cast<uint32_t>(stamp >> 32));
            Put(b, at + 16, static_cast<uint32_t>(stamp));
            Put(b, at + 20, static_cast<uint32_t>(stamp >> 32));
            b[at + 52] = 0x68;
            b[at + 84] = static_cast<char>(n % 200);
            const int len = std::snprintf(text, sizeof text, "Visited: user@http://host%zu.example/path/%zu/page.html",
                                          n % 5000, n);
            b.replace(at + 0x68, static_cast<std::size_t>(len), text, static_cast<std::size_t>(len));
        }
        return b;
    }();
    return bytes;
}

// Netscape history pages with 16-byte-header entries.
const std::string& HistoryFile()
{
    static const std::string bytes = [] {
        std::string b(4096, '\0');
        Put(b, 0, 0x61150600); // the magic number stored big-endian
        b[4] = 0, b[7] = 2;
        b[8] = 0, b[9] = 0, b[10] = 0x04, b[11] = static_cast<char>(0xD2); // 1234
        b[12] = 0, b[13] = 0, b[14] = 0x10, b[15] = 0;                    // 4096
        std::size_t n = 0;
        while (b.size() + 4096 <= kFileBytes) {
            std::string page(4096, '\0');
            uint32_t end = 4096, pairs = 0;
            char key[96], title[64];
            for (;;) {
                const int kl = std::snprintf(key, sizeof key, "http://host%zu.example/path/%zu/page.html", n % 5000, n) + 1;
                const int tl = std::snprintf(title, sizeof title, "Title of page %zu", n);
                const uint32_t dataLength = 16 + static_cast<uint32_t>(tl) + 1;
                const uint32_t need = static_cast<uint32_t>(kl) + dataLength;
                if (end < need || end - need < 2 + 4 * (pairs + 1) + 4)
                    break;
                const uint32_t keyAt = end - static_cast<uint32_t>(kl), dataAt = keyAt - dataLength;
                page.replace(keyAt, static_cast<std::size_t>(kl), key, static_cast<std::size_t>(kl));
                Put(page, dataAt, 1700000000);
                Put(page, dataAt + 4, 1600000000);
                Put(page, dataAt + 8, static_cast<uint32_t>(n % 300));
                page.replace(dataAt + 16, static_cast<std::size_t>(tl), title, static_cast<std::size_t>(tl));
                Put(page, 2 + 4 * pairs, keyAt, 2);
                Put(page, 4 + 4 * pairs, dataAt, 2);
                end = dataAt;
                ++pairs;
                ++n;
            }
            Put(page, 0, 2 * pairs, 2);
            b += page;
        }
        return b;
    }();
    return bytes;
}

void BM_ScanIndexFile(benchmark::State& state)
{
    const std::string& bytes = IndexFile();
    long rows = 0;
    for (auto _ : state) {
        lt::MemoryByteSource source(bytes);
        lt::IndexScanOptions options;
        options.label = "Visited:";
        rows = lt::ScanIndexFile(source, options, [](const lt::IndexRow& r) { benchmark::DoNotOptimize(r.url.data()); }).rows;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ScanIndexFile)->Unit(benchmark::kMillisecond);

void BM_ListIndexFile(benchmark::State& state)
{
    lt::bench::ScratchFile file(lt::bench::ScratchPath("bench-index", ".dat"));
    file.Write(IndexFile().data(), IndexFile().size());
    lt::bench::QuietApp quiet;
    for (auto _ : state) {
        lt::StartIndexFileJob(quiet.app, file.Path(), "Visited:", lt::kIndexMainHistory);
        lt::JoinWorker(quiet.app);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * IndexFile().size()));
    state.counters["rows"] = static_cast<double>(quiet.app.list.RowCount());
}
BENCHMARK(BM_ListIndexFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ScanNetscapeHistory(benchmark::State& state)
{
    const std::string& bytes = HistoryFile();
    long rows = 0;
    for (auto _ : state) {
        lt::MemoryByteSource source(bytes);
        rows = lt::ScanNetscapeHistory(source, [](const lt::NetscapeEntry& e) { benchmark::DoNotOptimize(e.url.data()); });
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ScanNetscapeHistory)->Unit(benchmark::kMillisecond);

void BM_ListNetscapeHistory(benchmark::State& state)
{
    lt::bench::ScratchFile file(lt::bench::ScratchPath("bench-history", ".hst"));
    file.Write(HistoryFile().data(), HistoryFile().size());
    lt::bench::QuietApp quiet;
    for (auto _ : state)
        lt::ReadNetscapeHistory(quiet.app, file.Path(), 0);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * HistoryFile().size()));
    state.counters["rows"] = static_cast<double>(quiet.app.list.RowCount());
}
BENCHMARK(BM_ListNetscapeHistory)->Unit(benchmark::kMillisecond)->Iterations(3);

// The port of the delete: answers its question Yes, prints nothing.
class YesPort : private lt::bench::detail::DiscardedLines, public lt::ConsoleUiPort
{
public:
    YesPort() : ConsoleUiPort(sink, true) {}
};

void BM_DeleteThousandRecords(benchmark::State& state)
{
    const std::string folder = lt::bench::ScratchPath("bench-history-folder");
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/index.dat";
    YesPort port;
    lt::AppState app(port);
    for (auto _ : state) {
        state.PauseTiming();
        lt::bench::ScratchFile file(path);
        file.Write(IndexFile().data(), IndexFile().size());
        lt::StartCurrentHistory(app, folder);
        lt::JoinWorker(app);
        std::vector<std::size_t> rows;
        const std::size_t step = app.list.RowCount() / 1000;
        for (std::size_t i = 0; i < 1000; ++i)
            rows.push_back(i * step);
        app.list.SetSelectedRows(rows);
        state.ResumeTiming();
        const long removed = lt::DeleteIndexRecords(app);
        state.PauseTiming();
        state.counters["removed"] = static_cast<double>(removed);
        state.ResumeTiming();
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DeleteThousandRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
