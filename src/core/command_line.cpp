// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/command_line.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "core/cp1252.h"
#include "core/startup_state.h"

namespace lt {

namespace {

constexpr std::size_t kMaxPath = 259;
constexpr std::size_t kMaxCommandLine = 8191;

std::string Join(const std::vector<std::string>& parts, std::size_t from = 0)
{
    std::string joined;
    for (std::size_t i = from; i < parts.size(); ++i) {
        if (i > from)
            joined.push_back(' ');
        joined += parts[i];
    }
    return joined;
}

std::string Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string Absolute(const std::string& path, const PathProbe& probe)
{
    if (path.empty() || path.front() == '/' || probe.currentFolder.empty())
        return path;
    std::string folder = probe.currentFolder;
    if (folder.back() != '/')
        folder.push_back('/');
    return folder + path;
}

// 2 settings (.lts), 3 session (.ltn), 4 job (.ltj), 0 for any other name.
int StartFileKindOf(const std::string& path)
{
    if (path.size() < 5)
        return 0;
    const std::string_view ending = std::string_view(path).substr(path.size() - 4);
    if (Cp1252EqualsNoCase(ending, ".ltj"))
        return 4;
    if (Cp1252EqualsNoCase(ending, ".ltn"))
        return 3;
    if (Cp1252EqualsNoCase(ending, ".lts"))
        return 2;
    return 0;
}

bool HasForbiddenChar(const std::string& text)
{
    return text.find_first_of("?*\"<>|") != std::string::npos;
}

int CountWords(const std::string& text)
{
    int words = 0;
    bool inWord = false;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\t';
        if (!blank && !inWord)
            ++words;
        inWord = !blank;
    }
    return words;
}

int NumberAfter(const std::string& text, std::size_t pos)
{
    const char* start = text.c_str() + pos;
    char* end = nullptr;
    const long value = std::strtol(start, &end, 10);
    if (end == start || value > 1000000 || value < -1000000)
        return 0;
    return static_cast<int>(value);
}

} // namespace

PathProbe SystemPathProbe()
{
    PathProbe probe;
    probe.isFile = [](const std::string& path) {
        struct stat st
        {
        };
        return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    };
    probe.isFolder = [](const std::string& path) {
        struct stat st
        {
        };
        return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    };
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer))
        probe.currentFolder = buffer;
    return probe;
}

void ReadHandoff(const std::string& text, CommandLineResult& result)
{
    result.handoffKind = 1;
    result.textWindowMode = 0;
    std::string line = text;
    if (const auto end = line.find(":LS2:"); end != std::string::npos)
        line.resize(end);

    std::string remains = line;
    if (const auto start = line.find(":LS1:"); start != std::string::npos) {
        remains = line.substr(0, start);
        const std::string payload = line.substr(start + 5);
        bool tagged = false;
        // The tags count only when the text from ":LS1:" on is long enough to carry one.
        if (line.size() - start >= 14) {
            const std::string_view tag = std::string_view(payload).substr(0, 5);
            const std::string rest = payload.substr(5);
            if (tag == ":CM1:") {
                result.handoffKind = 3;
                result.handoffText = rest;
                tagged = true;
            } else if (tag == ":CM2:") {
                result.textWindowMode = 11;
                result.handoffKind = 3;
                result.handoffText = rest;
                tagged = true;
            } else if (tag == ":CM3:") {
                result.secondaryWindow = true;
                result.handoffKind = 2;
                result.handoffText = rest;
                tagged = true;
            }
        }
        if (!tagged && payload.size() >= 4 && payload.size() <= 254) {
            result.handoffKind = 2;
            result.handoffText = payload;
        }
    }

    // Up to four numbers from the end, each after the last ':' still present: bottom, right,
    // top, left.
    int values[4] = {0, 0, 0, 0};
    int taken = 0;
    for (; taken < 4; ++taken) {
        const auto colon = remains.rfind(':');
        if (colon == std::string::npos)
            break;
        values[taken] = NumberAfter(remains, colon + 1);
        remains.resize(colon);
    }
    result.windowRect = {values[3], values[2], values[1], values[0]};
    result.hasWindowRect = taken == 4;
}

CommandLineResult ReadCommandLine(const std::vector<std::string>& args, const PathProbe& probe,
                                  int textWindowMode)
{
    CommandLineResult result;
    result.textWindowMode = textWindowMode;
    std::vector<std::string> words;
    std::size_t length = 0;
    bool textPane = false;
    for (const auto& arg : args) {
        std::string word = Trimmed(arg);
        if (word == "txt_pane") {
            textPane = true;
            continue;
        }
        if (word.empty())
            continue;
        length += word.size() + 1;
        if (length > kMaxCommandLine)
            break; // the command line holds 8191 characters; the rest is cut
        words.push_back(std::move(word));
    }
    if (words.empty() && !textPane)
        return result;
    result.textWindowMode = textPane ? 12 : 0;
    if (words.empty())
        return result;

    // A settings, session or job file named alone.
    if (words.size() == 1) {
        const std::string path = Absolute(words[0], probe);
        const int kind = StartFileKindOf(path);
        if (kind != 0 && path.size() <= kMaxPath && probe.isFile && probe.isFile(path)) {
            result.startFileKind = kind;
            result.startFile = path;
            result.textWindowMode = 0;
            return result;
        }
    }

    const std::string joined = Join(words);
    if (joined.compare(0, 3, "WP:") == 0) {
        ReadHandoff(joined, result);
        return result;
    }

    // "-save2" / "-saveh2" / "-savec2" and everything after them: the output path.
    int saveOffset = 0;
    const auto save = std::find_if(words.begin(), words.end(), [](const std::string& w) {
        return w == "-save2" || w == "-saveh2" || w == "-savec2";
    });
    if (save != words.end()) {
        saveOffset = *save == "-saveh2" ? 4 : 2;
        result.saveCsv = *save == "-savec2";
        const std::string option = *save;
        const auto index = static_cast<std::size_t>(save - words.begin());
        std::string path = Join(words, index + 1);
        words.resize(index);
        if (path.empty()) {
            result.error = option + " needs the name of the file to write";
            return result;
        }
        result.saveOutputPath = Absolute(path, probe);
    }

    // "--threads N" sets the scan workers of an unattended search (0 for every processor).
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] != "--threads")
            continue;
        const std::string value = i + 1 < words.size() ? words[i + 1] : std::string();
        const bool digits = !value.empty() && value.size() <= 4 &&
                            std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits) {
            result.error = "--threads takes a whole number (0 for every core)";
            return result;
        }
        result.threads = std::stoi(value);
        words.erase(words.begin() + static_cast<std::ptrdiff_t>(i), words.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        --i;
    }

    // An option this form does not know is a mistake, not a file name to search.
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].size() > 1 && words[i].front() == '-' && !(i == 0 && words[i] == "-job")) {
            result.error = "unknown option " + words[i] + " (see linktrawl --help)";
            return result;
        }
    }

    if (words.size() == 2 && words[0] == "-job") {
        const std::string path = Absolute(words[1], probe);
        if (probe.isFile && probe.isFile(path)) {
            result.startAction = kStartJob + saveOffset;
            result.startFileKind = 4;
            result.startFile = path;
        } else if (saveOffset) {
            result.error = "Could not find the job file " + path;
        }
        return result;
    }

    const std::string text = Join(words);
    result.startWords = CountWords(text);
    if (HasForbiddenChar(text))
        result.startWords = 0;
    if (words.empty() || result.startWords == 0) {
        if (saveOffset)
            result.error = words.empty() ? "Nothing to search: name a folder or files before the save option"
                                         : "Could not search " + text;
        return result;
    }

    if (words.size() == 1) {
        const std::string path = Absolute(words[0], probe);
        if (path.size() <= kMaxPath && probe.isFolder && probe.isFolder(path)) {
            result.startAction = kStartSearchFolder + saveOffset;
            result.searchTarget = path;
        } else if (path.size() <= kMaxPath && probe.isFile && probe.isFile(path)) {
            result.startAction = kStartSearchFiles + saveOffset;
            result.searchTarget = path;
            // A session saved unattended is loaded, not searched as text.
            if (saveOffset && StartFileKindOf(path) == 3) {
                result.startFileKind = 3;
                result.startFile = path;
            }
        } else if (saveOffset && path.size() > kMaxPath &&
                   ((probe.isFolder && probe.isFolder(path)) || (probe.isFile && probe.isFile(path)))) {
            result.error = "The path is too long (more than " + std::to_string(kMaxPath) + " bytes): " + path;
        } else if (saveOffset) {
            result.error = "Could not find " + path;
        }
        return result;
    }

    // Several files are taken without a check, in the multi-selection form with an empty folder.
    result.startAction = kStartSearchFiles + saveOffset;
    result.searchTarget.clear();
    for (const auto& word : words) {
        result.searchTarget.push_back('\0');
        result.searchTarget += Absolute(word, probe);
    }
    result.searchTarget.push_back('\0');
    return result;
}

void ApplyCommandLine(const CommandLineResult& result, StartupState& state)
{
    state.textWindowMode = result.textWindowMode;
    state.secondaryWindow = result.secondaryWindow;
    state.startFileKind = result.startFileKind;
    state.startFile = result.startFile;
    state.startAction = result.startAction;
    state.startWords = result.startWords;
    state.searchTarget = result.searchTarget;
    state.handoffKind = result.handoffKind;
    state.handoffText = result.handoffText;
    if (result.hasWindowRect)
        state.windowRect = result.windowRect;
    state.saveOutputPath = result.saveOutputPath;
    state.saveCsv = result.saveCsv;
    state.threads = result.threads;
}

} // namespace lt
