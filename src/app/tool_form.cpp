// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tool_form.h"

#include <algorithm>

#include "app/run_save.h"

namespace lt {

namespace {

bool Contains(const std::vector<std::string_view>& list, std::string_view word)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

bool IsSaveOption(std::string_view word)
{
    return word == "-save2" || word == "-saveh2" || word == "-savec2";
}

SaveFormat FormatOf(std::string_view option)
{
    if (option == "-saveh2")
        return SaveFormat::Html;
    if (option == "-savec2")
        return SaveFormat::Csv;
    return SaveFormat::Text;
}

} // namespace

std::string ToolInvocation::AbsolutePath(const std::string& path) const
{
    if (path.empty() || path.front() == '/' || currentFolder.empty())
        return path;
    return currentFolder + (currentFolder.back() == '/' ? "" : "/") + path;
}

const ToolForm* FindToolForm(std::string_view name)
{
    for (const ToolForm& form : ToolForms())
        if (form.name == name)
            return &form;
    return nullptr;
}

namespace {

bool ReadArguments(const ToolForm& form, const std::vector<std::string>& args, const std::string& currentFolder,
                   ToolInvocation& call, std::string& error);

} // namespace

bool ReadToolInvocation(const ToolForm& form, const std::vector<std::string>& args,
                        const std::string& currentFolder, ToolInvocation& call, std::string& error)
{
    if (ReadArguments(form, args, currentFolder, call, error))
        return true;
    // The message names the argument as given; it stays one line.
    for (char& c : error)
        if (c == '\n' || c == '\r')
            c = ' ';
    return false;
}

namespace {

bool ReadArguments(const ToolForm& form, const std::vector<std::string>& args, const std::string& currentFolder,
                   ToolInvocation& call, std::string& error)
{
    call = ToolInvocation{};
    call.name = std::string(form.name);
    call.currentFolder = currentFolder;
    const std::string usage = "usage: linktrawl " + std::string(form.synopsis);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        const bool takesValue = IsSaveOption(word) || word == kWinePrefixOption || word == kThreadsOption ||
                                Contains(form.valueOptions, word);
        if (takesValue) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = word + " needs a value; " + usage;
                return false;
            }
            const std::string& value = args[++i];
            if (IsSaveOption(word)) {
                if (!call.savePath.empty()) {
                    error = "only one of -save2, -saveh2 and -savec2 may be given";
                    return false;
                }
                call.savePath = call.AbsolutePath(value);
                call.saveFormat = FormatOf(word);
            } else {
                call.values[word] = value;
            }
        } else if (Contains(form.flagOptions, word)) {
            call.flags.insert(word);
        } else if (word.size() > 1 && word.front() == '-') {
            error = "unknown option " + word + " for " + std::string(form.name) + "; " + usage;
            return false;
        } else {
            call.positional.push_back(word);
        }
    }
    const int count = static_cast<int>(call.positional.size());
    if (count < form.minArgs || count > form.maxArgs) {
        error = usage;
        return false;
    }
    if (form.needsSave && call.savePath.empty()) {
        error = std::string(form.name) + " needs -save2, -saveh2 or -savec2 FILE; " + usage;
        return false;
    }
    if (!call.savePath.empty() && !SavePathUsable(call.savePath, error))
        return false;
    if (const std::string threads = call.Value(std::string(kThreadsOption)); !threads.empty()) {
        const bool digits = threads.size() <= 4 &&
                            std::all_of(threads.begin(), threads.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits) {
            error = "--threads takes a whole number (0 for every core)";
            return false;
        }
    }
    return true;
}

} // namespace

std::string HelpText()
{
    std::string text =
        "Usage: linktrawl [FILE|FOLDER|SESSION.ltn|SETTINGS.lts|JOB.ltj]\n"
        "       linktrawl FORM ...   (runs with no window and no display)\n"
        "\n"
        "Unattended forms (the settings not given come from the INI file):\n"
        "  FOLDER -save2 FILE           search a folder and save the list as text\n"
        "  FILE... -save2 FILE          search the named files and save the list as text\n"
        "  SESSION.ltn -save2 FILE      load a session and save its list as text\n"
        "  -job JOB.ltj -save2 FILE     run the job file's \"Read Internet Files\" crawl and save its hits\n"
        "  ... -saveh2 FILE             save an HTML table instead\n"
        "  ... -savec2 FILE             save CSV instead (the INI's delimiter and columns)\n"
        "  --threads N ...              scan files on N threads (0 every core, 1 one file at a time)\n";
    for (const ToolForm& form : ToolForms()) {
        std::string line = "  " + std::string(form.synopsis);
        if (line.size() < 31)
            line.resize(31, ' ');
        else
            line += "\n" + std::string(31, ' ');
        text += line + std::string(form.summary) + "\n";
    }
    text +=
        "  --help                       show this text\n"
        "\n"
        "Options of the forms that read Windows data: --wine-prefix DIR (else $WINEPREFIX, else ~/.wine).\n"
        "The INI file is $LINKTRAWL_INI when set, else linktrawl.ini beside the program when it exists,\n"
        "else ~/.config/linktrawl/linktrawl.ini.\n"
        "\n"
        "Exit status: 0 done and saved; 1 failed (one line on standard error says why); 2 usage or\n"
        "set-up error; 3 the list was saved but some files or folders could not be read (each one\n"
        "is named on standard error: \"Could not open FILE\" or \"Could not read the folder FOLDER\").\n";
    return text;
}

std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

} // namespace lt
