// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_info.h"
#include "search/block_reader.h"
#include "search/search_settings.h"
#include "search/search_state.h"

namespace lt {

struct AppState;
class ScanPool;

inline constexpr int kMaxWalkDepth = 15;
inline constexpr std::size_t kMaxFolderPath = 259;

// What one walk needs, fixed when the search starts so that the dialogs may change the
// settings while it runs.
struct WalkOptions
{
    int source = kSourceOneFolder;
    std::string root; // the folder, ending in '/' (unused for all drives)
    int itemKind = kItemHttpFtp;
    int fileTypeMode = 2;           // 0 files of type, 1 all except, 2 non binary
    std::vector<std::string> masks; // lower case
    bool allFiles = true;
    SizeLimit sizeAbove;
    SizeLimit sizeBelow;
    bool dateFilter = false;
    int dateField = 1; // 0 created, 1 modified, 2 accessed
    FilterDate dateFrom;
    FilterDate dateTo;
    // Recent-files lists keep every file written at or after dateFrom, also after dateTo.
    bool dateOpenEnd = false;
    bool fileList = false;           // add file rows (ListKind 15) instead of scanning
    bool relativePaths = false;      // file rows relative to the walk's root
    bool fileSizeCells = true;       // the size cell of search rows
    bool recursiveDrives = false;    // the all-drives walk enters subfolders
    std::vector<std::string> drives; // the all-drives walk's roots; empty: the local file systems
};

// The walk's options from the search settings: masks by file-type mode, dates, sizes and the
// source (1, or 2 with "Include subdirectories"; 17 for "My Computer").
WalkOptions WalkOptionsFromSettings(const AppState& app, const std::string& folder);

// Scans one file; 1 when it was read, 0 when it could not be opened. With an open `file` (which
// the walk closes afterwards) the scan reads that instead of opening the path.
using FileScan = std::function<int(const std::string& path, const OpenedFile& file)>;

// The scanner of the current kind (link scanner for kinds 0 to 3, item scanner for 4 to 7), one
// scanner object shared by every file of the search.
FileScan DefaultFileScan(AppState& app);

// The file sequence of a folder search and the decision for each file. Runs on the worker thread;
// stops between files when the job code becomes 0. Only regular files are decided on (a link to
// a file counts as one); links to folders are not followed; folders that cannot be read are
// passed over.
class FolderWalk
{
public:
    FolderWalk(AppState& app, WalkOptions options, FileScan scan);

    // Walks the source of the options.
    void Run();
    // The one-folder (recursive false) or recursive walk of one root.
    void WalkRoot(const std::string& root, bool recursive);

    // The decision for one file with its facts: filters, row cells, masks, then the scan or the
    // file-list row. True when the file was scanned or listed.
    bool DecideFile(const std::string& path, const std::string& name, const FileFacts& facts,
                    const OpenedFile& file = {});

    uint64_t FilesTaken() const { return m_filesTaken; }

    // Hands the files to `pool` instead of scanning them here (not for file lists). The walk
    // drains it before a text of its own reaches the status bar, so that texts keep their order.
    void UsePool(ScanPool* pool) { m_pool = pool; }

private:
    void WalkFolder(int dirFd, const std::string& folder, int depth, bool recursive, uint64_t device);
    bool Stopped() const;
    bool PassesDate(const FileFacts& facts) const;
    void AddFileListRow(const std::string& path, const FileFacts& facts);
    bool NameTaken(const std::string& name) const;
    // The file passed every test: its row cells, then the scan or the file-list row. True when
    // the pool took the open file over (it closes it then).
    bool TakeFile(const std::string& path, const FileFacts& facts, const OpenedFile& file);
    bool OpenedAndDecided(int dirFd, const std::string& folder, const char* name);

    AppState& m_app;
    WalkOptions m_options;
    FileScan m_scan;
    ScanPool* m_pool = nullptr;
    std::string m_currentRoot;
    bool m_sameDevice = false;
    // Without size and date filters a file is opened before its facts are read, so that one
    // open relative to its folder and a stat of the open file are all the walk costs.
    bool m_openFirst = false;
    bool m_factsShown = false; // the list has the date and size columns
    uint64_t m_filesTaken = 0;
};

} // namespace lt
