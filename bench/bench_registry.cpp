// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a 50 MB user.reg (a long-used Wine prefix) and writing one value back.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench_support.h"
#include "platform/registry_file.h"
#include "platform/shell_folders.h"
#include "store/atomic_write.h"

namespace {

constexpr const char* kTyped = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

// Keys of many programs with strings, DWORDs and long binary values, in Wine's order and form.
std::string MakeUserReg(std::size_t targetBytes)
{
    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
                       "#arch=win64\n";
    char line[256];
    for (int key = 0; text.size() < targetBytes; ++key) {
        std::snprintf(line, sizeof line, "\n[Software\\\\Vendor%04d\\\\Application\\\\Settings%d] %d\n#time=1d9%013x\n",
                      key / 10, key % 10, 1600000000 + key, key);
        text += line;
        for (int v = 0; v < 12; ++v) {
            switch (v % 4) {
            case 0:
                std::snprintf(line, sizeof line, "\"Path%d\"=\"C:\\\\Program Files\\\\Vendor%d\\\\file%d.dat\"\n", v, key, v);
                break;
            case 1:
                std::snprintf(line, sizeof line, "\"Count%d\"=dword:%08x\n", v, key * v);
                break;
            case 2:
                std::snprintf(line, sizeof line, "\"Name%d\"=\"Caf\\xe9 %d \\\"quoted\\\"\"\n", v, key);
                break;
            default:
                std::snprintf(line, sizeof line,
                              "\"Blob%d\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
                              "  17,18,19,1a,1b,1c,1d,1e,1f\n",
                              v);
            }
            text += line;
        }
    }
    text += "\n[Software\\\\Microsoft\\\\Internet Explorer\\\\TypedURLs] 1600000000\n#time=1d6a0b0c0d0e0f0\n"
            "\"url1\"=\"http://www.example.com/\"\n";
    return text;
}

struct Fixture
{
    Fixture() : file(lt::bench::ScratchPath("lt-bench-user", ".reg"))
    {
        bytes = MakeUserReg(50u << 20);
        file.Write(bytes.data(), bytes.size());
    }
    std::string bytes;
    lt::bench::ScratchFile file;
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

void BM_ReadUserReg(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        lt::RegistryFile reg;
        std::string error, url;
        if (!lt::LoadRegistryFile(f.file.Path(), reg, error) || !reg.QueryString(kTyped, "url1", url))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(url);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes.size()));
}
BENCHMARK(BM_ReadUserReg)->Unit(benchmark::kMillisecond);

void BM_WriteOneValue(benchmark::State& state)
{
    Fixture& f = Shared();
    lt::RegistryFile reg;
    std::string error;
    if (!lt::LoadRegistryFile(f.file.Path(), reg, error))
        state.SkipWithError(error.c_str());
    const lt::bench::ScratchFile out(lt::bench::ScratchPath("lt-bench-written", ".reg"));
    int n = 0;
    for (auto _ : state) {
        reg.SetString(kTyped, "url2", "http://www.example.org/" + std::to_string(++n));
        const std::string failure = lt::WriteFileAtomically(out.Path(), reg.Serialize(1700000000));
        if (!failure.empty())
            state.SkipWithError(failure.c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes.size()));
}
BENCHMARK(BM_WriteOneValue)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
