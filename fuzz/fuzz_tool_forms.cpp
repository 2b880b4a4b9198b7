// SPDX-License-Identifier: GPL-3.0-or-later
// The arguments of the unattended command-line forms, split at NUL bytes, read against a form with
// value and flag options. A form that reads must hold what the rules allow: its argument count,
// only known options, one save path made absolute.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/tool_form.h"
#include "fuzz_support.h"

using lt::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const lt::ToolForm form{"--fuzz", "--fuzz [FILE] -save2 FILE", "a form for the fuzzer",
                                   {"--level", "--mask"}, {"--all"}, 0, 2, true, nullptr};
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args{"--fuzz"};
    std::size_t start = 0;
    for (std::size_t i = 0; i <= input.size(); ++i) {
        if (i == input.size() || input[i] == '\0') {
            args.push_back(input.substr(start, i - start));
            start = i + 1;
        }
    }
    lt::ToolInvocation call;
    std::string error;
    if (!lt::ReadToolInvocation(form, args, "/cwd", call, error)) {
        Check(!error.empty() && error.find('\n') == std::string::npos);
        return 0;
    }
    Check(call.positional.size() <= 2);
    Check(!call.savePath.empty() && call.savePath.front() == '/');
    for (const auto& [option, value] : call.values)
        Check((option == "--level" || option == "--mask" || option == "--wine-prefix" || option == "--threads") &&
              !value.empty());
    for (const std::string& flag : call.flags)
        Check(flag == "--all");
    Check(!lt::HelpText().empty());
    return 0;
}
