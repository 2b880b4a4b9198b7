// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace lt {

struct StartupState;

// What the command-line reader may ask of the file system.
struct PathProbe
{
    std::function<bool(const std::string&)> isFile;
    std::function<bool(const std::string&)> isFolder;
    std::string currentFolder; // for relative paths
};

// The probe of the real file system and the process's current folder.
PathProbe SystemPathProbe();

// What the command line asks for. Arguments arrive split and unquoted; where a rule needs one
// string they are joined with blanks.
struct CommandLineResult
{
    int textWindowMode = 0;
    bool secondaryWindow = false;
    int startFileKind = 0; // 2 settings, 3 session, 4 job
    std::string startFile;
    int startAction = 0;
    int startWords = 0;
    // One path, or for several files "" NUL path NUL path ... NUL (the multi-selection form).
    std::string searchTarget;
    int handoffKind = 0;
    std::string handoffText;
    std::array<int, 4> windowRect{}; // left, top, right, bottom
    bool hasWindowRect = false;
    std::string saveOutputPath;
    bool saveCsv = false; // "-savec2": the text actions save CSV instead
    int threads = -1;     // "--threads N" before the save option: scan workers; -1 not given
    // Set when the command line cannot be carried out as asked (a save option without a path,
    // or without anything to search); the program reports it instead of starting.
    std::string error;
};

// Reads the arguments after the program name. `textWindowMode` is the mode chosen before
// (10 from the INI file); any argument resets it unless one is "txt_pane".
CommandLineResult ReadCommandLine(const std::vector<std::string>& args, const PathProbe& probe,
                                  int textWindowMode = 0);

// Copies the result into the start-up state.
void ApplyCommandLine(const CommandLineResult& result, StartupState& state);

// The hand-over string " WP:l:t:r:b[:LS1:payload:LS2:]" of another instance, already trimmed.
void ReadHandoff(const std::string& text, CommandLineResult& result);

} // namespace lt
