// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/favorites_search.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/search_caption.h"
#include "list/find_in_list.h"
#include "list/list_kind.h"
#include "platform/shell_folders.h"
#include "search/item_kind.h"
#include "search/search_jobs.h"
#include "sources/list_support.h"
#include "sources/netscape_profile.h"
#include "sources/windows_registry.h"

namespace lt {

namespace {

constexpr std::size_t kMaxSearchText = 259;
constexpr int kFileColumn = 2;

// The settings a favorites search replaces for its run.
struct SavedRestriction
{
    int itemKind = kItemHttpFtp;
    bool restrictEnabled = false;
    bool mustAll = false;
    std::string mustText, mustNotText;
    FilterWords words;
};

SavedRestriction Save(const AppState& app)
{
    const SearchSettings& s = app.settings;
    return {s.itemKind, s.restrictEnabled, s.mustAll, s.mustText, s.mustNotText, app.filterWords};
}

void Restore(AppState& app, const SavedRestriction& saved)
{
    SearchSettings& s = app.settings;
    s.itemKind = saved.itemKind;
    s.restrictEnabled = saved.restrictEnabled;
    s.mustAll = saved.mustAll;
    s.mustText = saved.mustText;
    s.mustNotText = saved.mustNotText;
    app.filterWords = saved.words;
    SelectItemKind(app);
}

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string RealPath(const std::string& path)
{
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

} // namespace

std::string FavoritesFolder(const AppState& app)
{
    const std::string prefix = ProfilePrefix(app);
    if (!prefix.empty()) {
        const std::string wine = ShellFolderPath(prefix, ShellFolder::Favorites);
        struct stat st
        {
        };
        if (!wine.empty() && ::stat(wine.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return wine;
    }
    return WithoutTrailingSlash(ProfilePath(app, app.options.msieFavorites));
}

bool SearchFavorites(AppState& app, const std::string& text, FileScan scan)
{
    if (app.jobs.Running())
        return false;
    const std::string search = text.substr(0, kMaxSearchText);
    AddToHistory(app.find.findHistory, search);
    const std::string folder = FavoritesFolder(app);
    if (folder.size() < 4)
        return false;

    SavedRestriction saved = Save(app);
    SearchSettings& s = app.settings;
    s.itemKind = kItemHttpFtp;
    s.restrictEnabled = !search.empty();
    s.mustAll = false;
    s.mustText = search;
    s.mustNotText.clear();
    // The text is one include string, blanks and commas included.
    app.filterWords.must = search.empty() ? std::vector<std::string>{} : std::vector<std::string>{search};
    app.filterWords.mustNot.clear();

    SwitchListKind(app, kListFavorites);
    app.search.hitCount = 0;
    app.search.favoritesFolder = folder;
    SetupFolderSearch(app, folder + "/");
    if (!PrepareScan(app)) {
        Restore(app, saved);
        return false;
    }
    // Shortcuts hold "http" URLs in any form ("https://", "http:\\"): the anchor is the word alone.
    app.scan.anchor1 = "http";
    app.scan.anchorLen = 4;
    app.scan.anchor3.clear();
    app.scan.nonBinaryOnly = false;
    app.search.fileSizeFlag = false;

    WalkOptions options;
    options.source = kSourceRecursive;
    options.root = folder + "/";
    options.itemKind = kItemHttpFtp;
    options.fileTypeMode = 2;
    options.allFiles = true;
    options.fileSizeCells = false;
    ShowSearchCaption(app);
    const bool started = StartJob(app, kJobFolderSearch, [options, scan](AppState& a) {
        a.ui.SetWaitCursor(true);
        for (auto& cell : a.listState.rowTexts)
            cell.clear();
        FolderWalk walk(a, options, scan ? scan : DefaultFileScan(a));
        walk.Run();
        FinishSearch(a, false);
    });
    // The settings come back on the window thread, which reads them while the walk runs.
    if (started)
        app.jobs.afterJob = [saved](AppState& a) { Restore(a, saved); };
    else
        Restore(app, saved);
    return started;
}

std::string FavoritePath(const std::string& folder, const std::string& fileColumn)
{
    std::string file = fileColumn;
    for (char& c : file)
        if (c == '\\')
            c = '/';
    if (folder.empty() || file.empty() || file.front() == '/' || file.size() <= 4 ||
        !Cp1252EqualsNoCase(std::string_view(file).substr(file.size() - 4), ".url"))
        return {};
    std::size_t pos = 0;
    while (pos <= file.size()) {
        std::size_t end = file.find('/', pos);
        if (end == std::string::npos)
            end = file.size();
        const std::string_view part = std::string_view(file).substr(pos, end - pos);
        if (part == ".." || part == "." || part.empty())
            return {};
        pos = end + 1;
    }
    return WithoutTrailingSlash(folder) + "/" + file;
}

long DeleteFavoriteFiles(AppState& app)
{
    const std::vector<std::size_t> selected = app.list.SelectedRows();
    if (selected.empty() || app.jobs.Running())
        return 0;
    if (!AskYesNo(app, "Delete selected Url File(s) from Favorites ?"))
        return 0;
    const std::string folder =
        app.search.favoritesFolder.empty() ? FavoritesFolder(app) : WithoutTrailingSlash(app.search.favoritesFolder);
    const std::string realFolder = RealPath(folder);
    long deleted = 0;
    for (std::size_t row : selected) {
        if (app.list.Icon(row) == kIconDeleted)
            continue;
        const std::string file = app.list.GetCell(row, kFileColumn);
        const std::string path = FavoritePath(folder, file);
        if (path.empty() || realFolder.empty())
            continue;
        // Only a regular file whose real folder lies inside the favorites folder: a linked
        // sub-folder must not lead the delete elsewhere.
        const std::size_t slash = path.rfind('/');
        const std::string realParent = RealPath(path.substr(0, slash));
        struct stat st
        {
        };
        if (realParent.empty() || (realParent != realFolder && realParent.compare(0, realFolder.size() + 1, realFolder + "/") != 0) ||
            ::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || ::unlink(path.c_str()) != 0)
            continue;
        ++deleted;
        app.list.Modify([&file](std::vector<ResultRow>& rows) {
            for (ResultRow& r : rows)
                if (r.Cell(kFileColumn) == file)
                    r.icon = kIconDeleted;
        });
    }
    app.status.ShowRowCount(static_cast<long>(app.list.RowCount()));
    if (deleted > 0)
        ShowInformation(app, std::to_string(deleted) + " File(s) deleted !");
    return deleted;
}

} // namespace lt
