// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_jobs.h"

#include <cstdint>
#include <ctime>
#include <memory>

#include "core/app_state.h"
#include "core/messages.h"
#include "core/progress.h"
#include "core/search_caption.h"
#include "core/window_messages.h"
#include "list/list_kind.h"
#include "search/filter_date.h"
#include "search/item_kind.h"
#include "search/masks.h"
#include "search/scan_pool.h"

namespace lt {

namespace {

constexpr long kDomainCaptionLimit = 200;

void ClearRowTexts(AppState& app)
{
    for (auto& text : app.listState.rowTexts)
        text.clear();
}

std::string BaseName(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Up to three names in double quotes, " ..." when there are more.
std::string NamesCaption(const std::vector<std::string>& paths)
{
    if (paths.size() == 1)
        return paths.front();
    std::string caption;
    for (std::size_t i = 0; i < paths.size() && i < 3; ++i) {
        if (i > 0)
            caption.push_back(' ');
        caption += '"' + BaseName(paths[i]) + '"';
    }
    if (paths.size() > 3)
        caption += " ...";
    return caption;
}

// A pool of scan workers for the job, or none when the search scans on the job's thread: one
// worker asked for, a scan of the caller's own (tests), fewer than two files, or a file list.
std::unique_ptr<ScanPool> PoolFor(AppState& app, const FileScan& scan, std::size_t files = SIZE_MAX)
{
    const int workers = SearchWorkerCount(app);
    if (scan || workers < 2 || files < 2 || app.listState.kind == kListFileList)
        return nullptr;
    return std::make_unique<ScanPool>(app, workers);
}

bool StartWorker(AppState& app, int32_t code, JobEntry entry)
{
    if (app.jobs.Running())
        return false;
    return StartJob(app, code, std::move(entry));
}

} // namespace

std::string SearchCaption(const std::string& folder, int fileTypeMode, const std::string& maskText,
                          bool fileList)
{
    if (fileTypeMode == 1)
        return folder + " without " + maskText;
    if (fileTypeMode == 2 && !fileList)
        return folder + " non binary files";
    return folder + ' ' + (fileTypeMode == 2 ? std::string("*.*") : maskText);
}

std::string StoredMaskText(const std::string& text)
{
    std::vector<std::string> masks;
    ParseMasks(text, masks);
    return HasAllFilesMask(masks) ? std::string("*.*") : JoinMasks(masks);
}

void SetupFolderSearch(AppState& app, const std::string& folder)
{
    SearchState& search = app.search;
    const SearchSettings& s = app.settings;
    const WalkOptions options = WalkOptionsFromSettings(app, folder);
    search.source = options.source;
    search.folder = options.root;
    search.masks = options.masks;
    search.allFiles = options.allFiles;
    search.severalFiles = true;
    search.severalTargets = false;

    std::string maskText;
    if (s.fileTypeMode == 0)
        maskText = options.allFiles ? std::string("*.*") : JoinMasks(options.masks);
    else if (s.fileTypeMode == 1)
        maskText = StoredMaskText(s.excludeMasks);
    std::string shown = folder;
    while (shown.size() > 1 && shown.back() == '/')
        shown.pop_back();
    search.searchCaption =
        SearchCaption(shown, s.fileTypeMode, maskText, app.listState.kind == kListFileList);
    search.targetText = shown;
    search.singleTargetText = shown;
    search.description = search.searchCaption;
}

bool StartFolderSearch(AppState& app, FileScan scan)
{
    if (app.jobs.Running() || !PrepareScan(app))
        return false;
    // Only the folder search stops reading a file at its first control byte.
    app.scan.nonBinaryOnly = app.settings.fileTypeMode == 2;
    app.search.fileSizeFlag = true;
    app.search.hitCount = 0;
    std::string folder =
        app.search.source == kSourceAllDrives ? std::string("My Computer") : app.search.folder;
    WalkOptions options = WalkOptionsFromSettings(app, folder);
    ShowSearchCaption(app);
    return StartWorker(app, kJobFolderSearch,
                       [options = std::move(options), scan = std::move(scan)](AppState& a) {
                           FolderSearchJob(a, options, scan);
                       });
}

void FinishSearch(AppState& app, bool allowDomainRebuild)
{
    const long hits = app.search.hitCount.load();
    const bool stopped = app.jobs.Code() == 0;
    const bool rebuild = allowDomainRebuild && app.options.rebuildDomainsAfterSearch;
    if (hits > 0 && !(rebuild && hits >= kDomainCaptionLimit))
        app.status.SetStatusText(app.search.searchCaption, 0);
    if (!stopped) {
        app.jobs.jobCode.store(0);
        if (hits > 0 && rebuild)
            app.ui.Post(kMsgRebuildDomains, hits, 0);
        else
            ReportResult(app, hits, false);
    }
    if (app.list.FocusedRow() < 0 && app.list.RowCount() > 0) {
        app.list.SetFocusedRow(0);
        app.ui.Post(kMsgFocusList, 0, 0);
    }
    app.search.fileSizeFlag = false;
    app.ui.Post(kMsgRestoreCursor, 0, 0);
    app.ui.Post(kMsgSearchDone, hits, 0);
}

void FolderSearchJob(AppState& app, const WalkOptions& options, FileScan scan)
{
    app.ui.SetWaitCursor(true);
    ClearRowTexts(app);
    std::unique_ptr<ScanPool> pool = options.fileList ? nullptr : PoolFor(app, scan);
    if (!scan && !pool && !options.fileList)
        scan = DefaultFileScan(app);
    FolderWalk walk(app, options, std::move(scan));
    walk.UsePool(pool.get());
    walk.Run();
    if (pool)
        pool->Drain();
    pool.reset();
    FinishSearch(app, true);
}

void RecentFilesJob(AppState& app, const WalkOptions& options)
{
    FolderSearchJob(app, options, {});
}

std::vector<std::string> SelectionPaths(const std::string& selection)
{
    std::vector<std::string> paths;
    const auto firstNul = selection.find('\0');
    if (firstNul == std::string::npos) {
        if (!selection.empty())
            paths.push_back(selection);
        return paths;
    }
    std::string folder = selection.substr(0, firstNul);
    if (!folder.empty() && folder.back() != '/')
        folder.push_back('/');
    std::size_t pos = firstNul + 1;
    while (pos < selection.size()) {
        auto end = selection.find('\0', pos);
        if (end == std::string::npos)
            end = selection.size();
        if (end == pos)
            break; // the empty name ends the list
        std::string name = selection.substr(pos, end - pos);
        paths.push_back(name.front() == '/' || folder.empty() ? name : folder + name);
        pos = end + 1;
    }
    return paths;
}

void PickedFilesJob(AppState& app, const std::vector<std::string>& paths, FileScan scan)
{
    app.ui.SetWaitCursor(true);
    ClearRowTexts(app);
    if (std::unique_ptr<ScanPool> pool = PoolFor(app, scan, paths.size())) {
        for (const auto& path : paths) {
            if (app.jobs.Code() == 0)
                break;
            pool->Submit(path, {}, app.listState.rowTexts);
        }
        pool->Drain();
        pool.reset();
        FinishSearch(app, true);
        return;
    }
    if (!scan)
        scan = DefaultFileScan(app);
    for (const auto& path : paths) {
        if (app.jobs.Code() == 0)
            break;
        const int opened = scan(path, {});
        if (!opened && paths.size() == 1) {
            ShowMessage(app, "Could not open " + path + " ", "LinkTrawl");
            app.jobs.jobCode.store(0);
            app.search.fileSizeFlag = false;
            app.ui.Post(kMsgRestoreCursor, 0, 0);
            app.ui.Post(kMsgSearchDone, 0, 0);
            return;
        }
    }
    FinishSearch(app, true);
}

bool SearchPickedFilesCommand(AppState& app, const std::string& selection, FileScan scan)
{
    std::vector<std::string> paths = SelectionPaths(selection);
    if (paths.empty() || app.jobs.Running() || !PrepareScan(app))
        return false;
    app.scan.nonBinaryOnly = false;
    app.search.hitCount = 0;
    app.search.severalFiles = paths.size() > 1;
    app.search.severalTargets = paths.size() > 1;
    app.search.searchCaption = NamesCaption(paths);
    app.search.targetText = app.search.searchCaption;
    app.search.description = app.search.searchCaption;
    app.search.singleTargetText = paths.size() == 1 ? paths.front() : std::string();
    ShowSearchCaption(app);
    return StartWorker(app, kJobPickedFiles, [paths = std::move(paths), scan = std::move(scan)](AppState& a) {
        PickedFilesJob(a, paths, scan);
    });
}

void FileListJob(AppState& app, FileScan scan)
{
    app.ui.SetWaitCursor(true);
    ClearRowTexts(app);
    std::vector<std::string> paths;
    paths.reserve(app.secondList.RowCount());
    app.secondList.ForEachRow([&](std::size_t, const ResultRow& row) { paths.push_back(row.Cell(0)); });
    Progress progress = Progress::ForRows(app, paths.size());
    if (std::unique_ptr<ScanPool> pool = PoolFor(app, scan, paths.size())) {
        // The bar moves as each file's rows reach the list, as it does when one thread scans.
        std::size_t replayed = 0;
        for (const auto& path : paths) {
            if (app.jobs.Code() == 0)
                break;
            pool->Submit(path, {}, app.listState.rowTexts, [&](int) { progress.Advance(++replayed); });
        }
        pool->Drain();
    } else {
        if (!scan)
            scan = DefaultFileScan(app);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (app.jobs.Code() == 0)
                break;
            scan(paths[i], {});
            progress.Advance(i + 1);
        }
    }
    progress.End();
    FinishSearch(app, false);
    app.status.ShowRowCount(static_cast<long>(app.list.RowCount()));
    app.secondList.ClearRows();
}

bool SearchFileListCommand(AppState& app, FileScan scan)
{
    if (app.jobs.Running())
        return false;
    if (app.listState.kind != kListFileList || app.list.RowCount() == 0) {
        ShowMessage(app, "Please first create or load a File List !", "LinkTrawl");
        return false;
    }
    app.secondList.ClearRows();
    app.secondList.SetAutoSort(AutoSort::Off);
    long counter = 0;
    app.list.ForEachRow([&](std::size_t, const ResultRow& row) {
        ResultRow copy;
        copy.cells.push_back(row.Cell(0));
        copy.param = static_cast<uint32_t>(counter++);
        app.secondList.InsertRow(std::move(copy));
    });
    SwitchListKind(app, kListFileSearch);
    if (!PrepareScan(app)) {
        app.secondList.ClearRows();
        return false;
    }
    app.scan.nonBinaryOnly = false;
    app.search.hitCount = 0;
    app.search.severalFiles = true;
    return StartWorker(app, kJobFileList, [scan = std::move(scan)](AppState& a) { FileListJob(a, scan); });
}

bool RecentFilesCommand(AppState& app, bool ieCache, const std::string& ieCacheFolder,
                        std::vector<std::string> drives)
{
    if (app.jobs.Running())
        return false;
    if (ieCache && ieCacheFolder.size() < 4)
        return false;
    SwitchListKind(app, kListFileList);
    app.search.hitCount = 0;
    if (!PrepareScan(app))
        return false;

    WalkOptions options;
    options.itemKind = app.scan.itemKind;
    options.fileList = true;
    options.fileTypeMode = 2;
    options.allFiles = true;
    options.dateOpenEnd = true;
    options.dateField = 1;
    const std::time_t now = std::time(nullptr);
    SetRecentDate(options.dateFrom, ieCache ? 60 : 8, now);
    SetRecentDate(options.dateTo, kRecentNow, now);
    if (ieCache) {
        options.source = kSourceRecursive;
        options.root = ieCacheFolder;
        if (options.root.back() != '/')
            options.root.push_back('/');
        options.relativePaths = true;
        app.search.searchCaption = "IE Cache Files < 1 hour";
    } else {
        options.source = kSourceAllDrives;
        options.recursiveDrives = true;
        options.drives = std::move(drives);
        app.search.searchCaption = "Files < 8 Minutes";
    }
    app.search.source = options.source;
    app.search.relativePaths = options.relativePaths;
    app.search.targetText = app.search.searchCaption;
    app.search.allFiles = true;
    app.search.masks.clear();
    app.search.fileSizeFlag = true;
    return StartWorker(app, kJobFolderSearch,
                       [options = std::move(options)](AppState& a) { RecentFilesJob(a, options); });
}

} // namespace lt
