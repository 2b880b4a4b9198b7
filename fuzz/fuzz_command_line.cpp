// SPDX-License-Identifier: GPL-3.0-or-later
// The command line and the hand-over string of another instance: arguments split at NUL bytes,
// with a probe that calls every path a file or a folder by its first byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/startup_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= input.size(); ++i) {
        if (i == input.size() || input[i] == '\0') {
            args.push_back(input.substr(start, i - start));
            start = i + 1;
        }
    }
    lt::PathProbe probe;
    probe.isFile = [](const std::string& p) { return !p.empty() && (p.back() & 1); };
    probe.isFolder = [](const std::string& p) { return !p.empty() && (p.back() & 2); };
    probe.currentFolder = "/cwd";
    const lt::CommandLineResult result = lt::ReadCommandLine(args, probe, 10);
    lt::StartupState state;
    lt::ApplyCommandLine(result, state);

    lt::CommandLineResult handoff;
    lt::ReadHandoff(input, handoff);
    return 0;
}
