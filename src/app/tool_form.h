// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace lt {

struct StartupState;

// How an unattended run saves its list.
enum class SaveFormat { Text, Html, Csv };

// One unattended form as the command line named it: "linktrawl --NAME [ARG...] [OPTION...] -save2 FILE".
struct ToolInvocation
{
    std::string name;                           // "--parse"
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // "--level" -> "3"
    std::set<std::string> flags;                // "--all"
    std::string savePath;                       // empty when no save option was given
    SaveFormat saveFormat = SaveFormat::Text;
    std::string currentFolder; // of the process, for relative paths

    // `path` made absolute against the current folder.
    std::string AbsolutePath(const std::string& path) const;

    std::string Value(const std::string& option, const std::string& fallback = {}) const
    {
        const auto found = values.find(option);
        return found == values.end() ? fallback : found->second;
    }
    bool Has(const std::string& option) const { return values.count(option) != 0 || flags.count(option) != 0; }
};

using ToolRun = int (*)(const ToolInvocation& call, const StartupState& startup, std::ostream& out,
                        std::ostream& err);

// A project form of the command line: its name, what `--help` says of it, the options it takes and
// the function that carries it out. A run returns the process exit status.
struct ToolForm
{
    std::string_view name;                     // "--parse"
    std::string_view synopsis;                 // "--parse SETTINGS FILE_OR_FOLDER -save2 FILE"
    std::string_view summary;                  // one line for --help
    std::vector<std::string_view> valueOptions; // options followed by a value ("--level")
    std::vector<std::string_view> flagOptions;  // options standing alone ("--all")
    int minArgs = 0;
    int maxArgs = 0;
    bool needsSave = true; // a -save2, -saveh2 or -savec2 file is required
    ToolRun run = nullptr;
};

// Options every form understands (besides the save options).
inline constexpr std::string_view kWinePrefixOption = "--wine-prefix";
inline constexpr std::string_view kThreadsOption = "--threads";

// Every project form, in the order --help lists them.
const std::vector<ToolForm>& ToolForms();
const ToolForm* FindToolForm(std::string_view name);

// Reads the arguments of a form (args[0] is its name). On a usage error returns false with a
// one-line `error`.
bool ReadToolInvocation(const ToolForm& form, const std::vector<std::string>& args,
                        const std::string& currentFolder, ToolInvocation& call, std::string& error);

// The text of `linktrawl --help`.
std::string HelpText();

// A job's message as one line of standard error: its line breaks become blanks.
std::string OneLine(std::string text);

// Exit statuses shared by every unattended run.
enum UnattendedExit : int {
    kExitOk = 0,
    kExitFailed = 1,
    kExitUsage = 2,
    kExitIncomplete = 3, // the list was written but something could not be read
};

} // namespace lt
