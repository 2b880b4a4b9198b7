// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "search/folder_walk.h"

namespace lt {

struct AppState;

// The caption of a folder search: "%s %s" with the include masks (mode 0), "%s without %s" with the
// exclude masks (mode 1), "%s non binary files" (mode 2; a file list shows "%s *.*" instead).
std::string SearchCaption(const std::string& folder, int fileTypeMode, const std::string& maskText,
                          bool fileList = false);

// The stored form of a mask list: the parsed masks joined with single blanks, "*.*" when one of
// them is "*.*".
std::string StoredMaskText(const std::string& text);

// Fills the search state for a search of `folder` ("My Computer" for every local file system)
// from the settings: source (recursive with "Include subdirectories"), masks, caption and the
// description written above text exports. Window thread.
void SetupFolderSearch(AppState& app, const std::string& folder);

// Prepares the scan and starts FolderSearchJob (job code 2) on the folder set up before.
// False when the scan cannot be prepared or a job runs. `scan` replaces the scanners (tests).
bool StartFolderSearch(AppState& app, FileScan scan = {});

// Worker entries. Each walks or scans, then reports the end of the search and posts
// kMsgSearchDone.
void FolderSearchJob(AppState& app, const WalkOptions& options, FileScan scan);
void PickedFilesJob(AppState& app, const std::vector<std::string>& paths, FileScan scan);
void FileListJob(AppState& app, FileScan scan);
void RecentFilesJob(AppState& app, const WalkOptions& options);

// The paths of a selection: one path, or a folder followed by NUL-separated names that end in an
// empty name (a name that is itself a full path is taken as it is).
std::vector<std::string> SelectionPaths(const std::string& selection);

// Searches picked, dropped or command-line files (job code 1).
bool SearchPickedFilesCommand(AppState& app, const std::string& selection, FileScan scan = {});
// Searches every file of the current file list (job code 3); needs a file list with rows.
bool SearchFileListCommand(AppState& app, FileScan scan = {});
// "Files < &8 Minutes" (ieCache false, every local file system) and "&IE Cache Files < 1 hour"
// (the cache folder, rows relative to it): file lists of recently written files.
bool RecentFilesCommand(AppState& app, bool ieCache, const std::string& ieCacheFolder = {},
                        std::vector<std::string> drives = {});

// The end of a search job: caption, count message or domain rebuild, first row focused,
// kMsgRestoreCursor and kMsgSearchDone posted. Worker thread.
void FinishSearch(AppState& app, bool allowDomainRebuild);

} // namespace lt
