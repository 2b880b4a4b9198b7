// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/command_table.h"

#include <algorithm>
#include <unordered_map>

#include "core/app_state.h"
#include "core/command_ids.h"

namespace lt {

namespace {

constexpr unsigned B = kGuardB;
constexpr unsigned L = kGuardL;
constexpr unsigned D = kGuardD;
constexpr unsigned E = kGuardE;
constexpr unsigned kMenu = kPlaceMenu;
constexpr unsigned kTool = kPlaceToolbar;
constexpr unsigned kCtx = kPlaceContext;

std::vector<CommandInfo> BuildTable()
{
    std::vector<CommandInfo> t;
    auto add = [&t](int id, std::string text, std::string shownKey, std::string appKey, unsigned guards,
                    unsigned places = kMenu, std::string tooltip = {}) {
        CommandInfo c;
        c.id = id;
        c.text = std::move(text);
        c.shownKey = std::move(shownKey);
        c.appKey = std::move(appKey);
        c.guards = guards;
        c.places = places;
        c.tooltip = std::move(tooltip);
        t.push_back(std::move(c));
    };
    // Search sources.
    add(kCmdSelectFiles, "Select &Files", "Ctrl+O", "Ctrl+O", B, kMenu | kTool, "Select Files");
    for (int id = kCmdReopenFirst; id <= kCmdReopenLast; ++id)
        add(id, "", "", "", B);
    add(kCmdSelectDirectory, "Select &Directory", "Shift+O", "Shift+O", B, kMenu | kTool, "Select Directory");
    add(kCmdSearchFavorites, "Search Fa&vorites", "", "", B | L, kMenu | kTool, "Search IE Favorites");
    add(kCmdReadClipboard, "Read from &Clipboard", "Ctrl+B", "Ctrl+B", kGuardNone, kMenu | kTool,
        "Read Clipboard");
    add(kCmdReadInternetFile, "Read &Internet File", "Ctrl+I", "Ctrl+I", kGuardNone, kMenu | kTool,
        "Read Internet File");
    add(kCmdExtractByBaseUrl, "&Extract by base Url", "", "", B, kMenu | kTool, "Extract by base Url");
    add(kCmdFilesLast8Minutes, "Files < &8 Minutes", "", "", B | L);
    add(kCmdIeCacheLastHour, "&IE Cache Files < 1 hour", "", "", B | L, kMenu | kTool,
        "IE Cache files < 1 hour");
    add(kCmdRecentLinks, "&Recent Links", "", "", B | L);
    add(kCmdSearchOptions, "Search &Options", "Ctrl+T", "Ctrl+T", B, kMenu | kTool, "Search Options");
    add(kCmdStop, "S&top Search", "Ctrl+Q", "Ctrl+Q", kGuardNone, kMenu | kTool, "Stop Search");
    add(kCmdSkipFile, "S&kip File", "Shift+Q", "Shift+Q", kGuardNone, kMenu | kTool, "Skip file");
    add(kCmdNewWindow, "New &window", "", "", kGuardNone, kMenu | kTool, "New window");
    add(kCmdTextWindow, "Te&xt window", "", "", kGuardNone, kMenu | kTool, "Text window");
    add(kCmdExit, "E&xit", "", "", kGuardNone, kMenu | kTool, "Exit");
    // The list and its export.
    add(kCmdSaveListAs, "S&ave List as", "Ctrl+S", "Ctrl+S", B | L | D | E, kMenu | kTool,
        "Save list as Text file");
    add(kCmdSaveListHtml, "Save List as &Html file", "", "", B, kMenu | kTool, "Save list as Html file");
    add(kCmdCopyList, "&Copy List to Clipboard", "", "", B | L | D, kMenu | kTool, "Copy list to Clipboard");
    add(kCmdPrintList, "&Print List", "Ctrl+P", "Ctrl+P", B | L | E, kMenu | kTool, "Print list");
    add(kCmdPrinterFont, "Printer &Font", "", "", B | L);
    add(kCmdListBookmarksIe, "&Internet Explorer", "", "", B | L);
    add(kCmdListBookmarksNetscape, "Netscape 4.x", "", "", B | L);
    add(kCmdListBookmarksOpera, "Opera", "", "", B | L);
    add(kCmdResizeColumns, "R&esize List columns", "Ctrl+Num+", "Ctrl+Num++", kGuardNone, kMenu | kTool,
        "Resize list columns");
    // Edits and finding.
    add(kCmdFind, "&Find in list", "Ctrl+F", "Alt+F3", kGuardNone, kMenu | kTool, "Find in list");
    add(kCmdFindNext, "Find &next", "F3", "F3", kGuardNone);
    add(kCmdFindPrevious, "Find pre&vious", "F4", "F4", kGuardNone);
    add(kCmdReplaceText, "Replace &Text", "", "Ctrl+H", B | L);
    add(kCmdRemoveDupes, "&Remove Dupes", "Ctrl+R", "Ctrl+R", B | L);
    add(kCmdUnescapeUrls, "&Unescape Urls", "", "", B);
    add(kCmdCutParameters, "Cut off Para&meters", "", "", B);
    add(kCmdClearResults, "C&lear Results", "Ctrl+L", "Ctrl+L", B | L, kMenu | kTool, "Clear results");
    // Sorting and hit rates.
    add(kCmdSortLength, "&Length", "", "", B | L);
    add(kCmdSortEnding, "&Ending", "", "", B | L);
    add(kCmdSortSymbol, "&Symbol", "", "", B | L);
    add(kCmdSortFileNumber, "trailing &File number", "", "", B | L);
    add(kCmdSortRemoteNumber, "trailing &Remote File number", "F2", "F2", B | L);
    add(kCmdHitRatesOverAll, "&Over all", "", "", B | D | kGuardHitRates);
    for (int id = kCmdHitRatesColumnFirst; id <= kCmdHitRatesColumnLast; ++id)
        add(id, "", "", "", B | D | kGuardHitRates);
    // The domain tree.
    add(kCmdBuildDomains, "&Build domains", "Ctrl+M", "Ctrl+M", B | E | kGuardHttpKind | kGuardDomainKind);
    add(kCmdToggleView, "&Toggle View", "Ctrl+Tab", "Ctrl+Tab", B | kGuardDomainKind);
    add(kCmdRebuildDomainsAfterSearch, "&Rebuild domains after search", "", "", kGuardDomainKind);
    add(kCmdCopyFolder, "&Copy folder to Clipboard", "", "", B | L, kCtx);
    add(kCmdSaveFolder, "&Save folder as...", "", "", B | L, kCtx);
    add(kCmdBuildOrToggleDomains, "Build Domains / Toggle View", "", "", B | kGuardDomainKind, kTool,
        "Build Domains");
    // File lists and parsing.
    add(kCmdCreateFileList, "&Create File List", "", "", B);
    add(kCmdFileListFromText, "&Read from Text File", "", "", B);
    add(kCmdSearchFileList, "&Search Files from List", "", "", B | D);
    add(kCmdCompareListToDisk, "Compare &List to Disk Files", "", "", B | D);
    add(kCmdMultiunzipBatch, "Create &Multiunzip Batch File", "", "", B | D);
    add(kCmdParseTextFiles, "&Parse Text Files", "", "", B | L, kMenu | kTool, "Parse Text files");
    // Internet.
    add(kCmdGenerateUrls, "&Generate Urls", "", "", B | L);
    add(kCmdDownloadFile, "&Download File", "", "", kGuardNone, kMenu | kCtx);
    add(kCmdBatchDownload, "&Batch Download", "", "", kGuardNone, kMenu | kCtx);
    add(kCmdReadInternetFiles, "&Read Internet Files", "", "", B, kMenu | kCtx);
    add(kCmdTestUrlStatus, "&Test Url Status", "", "", kGuardNone, kMenu | kCtx);
    // Browser data and tools.
    add(kCmdTypedUrlsIe, "&Internet Explorer", "", "", B | L);
    add(kCmdTypedUrlsNetscape, "Netscape 4.x", "", "", B | L);
    add(kCmdHistoryIe, "&Internet Explorer", "", "", B | L);
    add(kCmdHistoryNetscape, "Netscape 4.x", "", "", B | L);
    add(kCmdEditAboutUrls, "Edit &AboutURLs", "", "", B | L);
    add(kCmdRasAutodial, "&RAS Autodial Addresses", "", "", B | L);
    add(kCmdCookiesIndexFile, "&Index file", "", "", B | L);
    add(kCmdCookiesTextFiles, "&Text files", "", "", B | L);
    add(kCmdHistoryIndexFile, "&Index file", "", "", B | L);
    add(kCmdNetscapeHistoryFile, "&Netscape 4.x history file", "", "", B | L);
    add(kCmdJoinIeDownloads, "&Join IE Download files", "", "", B | L);
    add(kCmdReduceHtmlFiles, "&Reduce Html files", "", "", B | L);
    add(kCmdFilesInUse, "Files in &use", "", "", B | L);
    // Options, settings, sessions, help.
    add(kCmdEditOptions, "&Edit Options", "", "", B | L, kMenu | kTool, "Options");
    add(kCmdSettingsSaveAs, "Save &as", "", "", B | L);
    add(kCmdSettingsSaveNow, "&Save now", "", "", B | L);
    add(kCmdSettingsLoad, "&Load", "", "", B | L);
    add(kCmdSessionSaveAs, "&Save as", "", "", B | L | E);
    add(kCmdSessionLoad, "&Load", "", "", B | L);
    add(kCmdSessionAppend, "&Append", "", "", B | L);
    add(kCmdHelp, "&Help", "F1", "F1", B | L);
    add(kCmdAbout, "&About", "", "", B | L);
    // The row context menu.
    add(kCmdLaunchRow, "Launch in &Browser", "", "", kGuardNone, kCtx);
    add(kCmdSaveToIeTyped, "Save &to Internet Explorer", "", "", B | L, kCtx);
    add(kCmdSaveToNetscapeTyped, "Save to &Netscape", "", "", B | L, kCtx);
    add(kCmdCopySelected, "&Copy to Clipboard", "", "", B | L, kCtx);
    add(kCmdSaveSelectedText, "Save as &Text file", "", "", B | L, kCtx);
    add(kCmdSaveSelectedHtml, "Save as &HTML table", "", "", B | L, kCtx);
    add(kCmdPrintSelected, "&Print", "", "", B | L, kCtx);
    add(kCmdOpenInNewWindow, "Open in new &Window", "", "", kGuardNone, kCtx);
    add(kCmdSelectedBookmarksIe, "&Internet Explorer", "", "", B | L, kCtx);
    add(kCmdSelectedBookmarksNetscape, "Netscape 4.x", "", "", B | L, kCtx);
    add(kCmdSelectedBookmarksOpera, "Opera", "", "", B | L, kCtx);
    add(kCmdUnescapeSelected, "&Unescape Urls", "", "", B, kCtx);
    add(kCmdCutParametersSelected, "Cut off Para&meters", "", "", B, kCtx);
    add(kCmdDeleteUrlFiles, "Delete Url &File(s)", "", "", B | L, kCtx);
    add(kCmdDeleteFromIndexFile, "Delete from &File", "", "", B | L, kCtx);
    add(kCmdDeleteFromRegistry, "Delete from &Registry", "", "", B | L, kCtx);
    add(kCmdSelectAllWith, "&Select all with...", "", "", B | L, kCtx);
    add(kCmdSelectAll, "Select &all", "", "", kGuardNone, kCtx);
    add(kCmdDeleteAllWith, "De&lete all with...", "", "", B | L, kCtx);
    add(kCmdAssociatedViewer, "Associated Viewer", "", "", kGuardNone, kCtx);
    for (int id = kCmdSendToFirst; id <= kCmdSendToLast; ++id)
        add(id, "", "", "", kGuardNone, kCtx);
    add(kCmdCopyFilesTo, "&Copy File(s) to", "", "", B | L, kCtx);
    add(kCmdCopyFilesWithPathTo, "Copy File(s)+&Path to", "", "", B | L, kCtx);
    add(kCmdEditListEntry, "&Edit List entry", "", "", B | L, kCtx);
    add(kCmdSaveSelectedCsv, "S&ave as CSV file", "", "", B | L, kCtx);
    add(kCmdReadInNewWindow, "Read in &New Window", "", "", kGuardNone, kCtx);
    add(kCmdLoadSource, "&Load Source", "", "", kGuardNone, kCtx);
    return t;
}

} // namespace

const std::vector<CommandInfo>& CommandTable()
{
    static const std::vector<CommandInfo> kTable = BuildTable();
    return kTable;
}

const CommandInfo* FindCommand(int id)
{
    static const std::unordered_map<int, std::size_t> kIndex = [] {
        std::unordered_map<int, std::size_t> index;
        const auto& table = CommandTable();
        for (std::size_t i = 0; i < table.size(); ++i)
            index.emplace(table[i].id, i);
        return index;
    }();
    const auto it = kIndex.find(id);
    return it == kIndex.end() ? nullptr : &CommandTable()[it->second];
}

std::string MenuText(const CommandInfo& command)
{
    if (command.shownKey.empty())
        return command.text;
    return command.text + "\t" + command.shownKey;
}

bool DomainCommandsApply(const AppState& app)
{
    const int kind = app.listState.kind;
    const bool kindFits = kind == kListFileSearch || kind == kListOldSession || kind == kListInetSaved ||
                          kind == kListInetRead || kind == kListFavorites;
    if (!kindFits || app.settings.itemKind != kItemHttpFtp)
        return false;
    // A search list sorted by another column no longer holds its URLs in tree order; the way back
    // from the domain view stays open.
    return kind != kListFileSearch || app.sorting.mainSortedByUrl.load() || app.domain.viewShown;
}

bool GuardsAllow(const AppState& app, unsigned guards)
{
    if ((guards & kGuardB) && app.jobs.Running())
        return false;
    if ((guards & kGuardL) && app.jobs.listBusy.load(std::memory_order_relaxed))
        return false;
    if ((guards & kGuardD) && app.domain.viewShown)
        return false;
    if ((guards & kGuardE) && app.list.RowCount() == 0)
        return false;
    if ((guards & kGuardHttpKind) && app.settings.itemKind != kItemHttpFtp)
        return false;
    if ((guards & kGuardHitRates) && app.listState.hitRateMode != 0)
        return false;
    if ((guards & kGuardDomainKind) && !DomainCommandsApply(app))
        return false;
    return true;
}

bool CommandAllowed(const AppState& app, int id)
{
    const CommandInfo* command = FindCommand(id);
    if (command == nullptr)
        return false;
    if (id >= kCmdReopenFirst && id <= kCmdReopenLast) {
        const std::size_t n = static_cast<std::size_t>(id - kCmdReopenFirst);
        if (n >= app.options.rfHistory.size() || app.options.rfHistory[n].empty())
            return false;
    }
    return GuardsAllow(app, command->guards);
}

const std::vector<int>& ToolbarLayout()
{
    static const std::vector<int> kLayout = {kCmdSelectFiles,
                                             kCmdSelectDirectory,
                                             kCmdReadInternetFile,
                                             kCmdIeCacheLastHour,
                                             kCmdSearchFavorites,
                                             kCmdReadClipboard,
                                             kCmdExtractByBaseUrl,
                                             kCmdParseTextFiles,
                                             0,
                                             kCmdSearchOptions,
                                             0,
                                             kCmdSaveListAs,
                                             kCmdCopyList,
                                             kCmdPrintList,
                                             kCmdSaveListHtml,
                                             0,
                                             kCmdFind,
                                             0,
                                             kCmdBuildOrToggleDomains,
                                             0,
                                             kCmdResizeColumns,
                                             0,
                                             kCmdEditOptions,
                                             0,
                                             kCmdNewWindow,
                                             kCmdTextWindow,
                                             0,
                                             kCmdClearResults,
                                             kCmdStop,
                                             kCmdSkipFile,
                                             0,
                                             kCmdExit};
    return kLayout;
}

std::string StopTooltip(int jobCode)
{
    return jobCode >= 3 ? "Stop current Process" : "Stop Search";
}

std::string ToolbarTooltip(const AppState& app, int id)
{
    const bool domainView = app.domain.viewShown;
    switch (id) {
    case kCmdSaveListAs:
        if (domainView)
            return "Save folder to file";
        break;
    case kCmdCopyList:
        if (domainView)
            return "Copy folder to Clipboard";
        break;
    case kCmdPrintList:
        if (domainView)
            return "Print folder";
        break;
    case kCmdBuildOrToggleDomains:
        return domainView ? "Toggle View" : "Build Domains";
    case kCmdStop:
        return StopTooltip(app.jobs.Code());
    default:
        break;
    }
    const CommandInfo* command = FindCommand(id);
    return command ? command->tooltip : std::string();
}

} // namespace lt
