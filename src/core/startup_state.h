// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

namespace lt {

// What the command line asks for once the window exists (and when a search ends).
enum StartActionCode : int {
    kStartNothing = 0,
    kStartSearchFiles = 2,
    kStartSearchFilesSaveText = 4,
    kStartSearchFilesSaveHtml = 6,
    kStartSearchFolder = 18,
    kStartSearchFolderSaveText = 20,
    kStartSearchFolderSaveHtml = 22,
    kStartJob = 34,
    kStartJobSaveText = 36,
    kStartJobSaveHtml = 38,
};

inline bool IsUnattendedAction(int action)
{
    return action == 4 || action == 6 || action == 20 || action == 22 || action == 36 || action == 38;
}

// Start-up state read from the command line and the environment.
struct StartupState
{
    std::string iniPath;
    std::string programFolder; // with a trailing '/'
    int textWindowMode = 0;    // 0 normal, 10 INI option, 11 hand-over URL, 12 "txt_pane"
    bool secondaryWindow = false;
    int startFileKind = 0;     // 0 none, 2 settings, 3 session, 4 job
    std::string startFile;
    int startAction = kStartNothing;
    int startWords = 0;
    std::string searchTarget;  // file, folder or list of files
    int handoffKind = 0;
    std::string handoffText;
    std::array<int, 4> windowRect{};
    std::string saveOutputPath; // "-save2" / "-saveh2" / "-savec2" path
    bool saveCsv = false;       // "-savec2"
    int threads = -1;           // "--threads N" of an unattended search; -1 when not given

    bool Unattended() const { return IsUnattendedAction(startAction); }
};

} // namespace lt
