// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/command_table.h"

#include <algorithm>
#include <unordered_map>

#include "core/app_state.h"

namespace lt {

namespace {

constexpr unsigned B = kGuardB;
constexpr unsigned L = kGuardL;
constexpr unsigned D = kGuardD;
constexpr unsigned E = kGuardE;
constexpr unsigned kMenu = kPlaceMenu;
constexpr unsigned kTool = kPlaceToolbar;
constexpr unsigned kCtx = kPlaceContext;

// Commands whose performer exists in this build; the others are shown disabled.
bool IsConnected(int id)
{
    static const int kConnected[] = {
        1400, 1405, 1420, 1422, 1445, 1452, 1460, 1465, 1471, 1500, 1415, 1456, 1474, 1478,
        1542, 1545, 4221, 5201, 4190, 4170, 4222, 4216, 4160, 1551, 1552, 1553, 1554, 1555, 5400,
        1440, 1515, 1516, 1439, 1480, 1544, 1453,
    };
    if ((id >= 1600 && id <= 1606) || (id >= 5800 && id <= 5808))
        return true;
    return std::find(std::begin(kConnected), std::end(kConnected), id) != std::end(kConnected);
}

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
        c.connected = IsConnected(id);
        c.tooltip = std::move(tooltip);
        t.push_back(std::move(c));
    };
    // Search sources.
    add(1400, "Select &Files", "Ctrl+O", "Ctrl+O", B, kMenu | kTool, "Select Files");
    for (int id = 1600; id <= 1606; ++id)
        add(id, "", "", "", B);
    add(1405, "Select &Directory", "Shift+O", "Shift+O", B, kMenu | kTool, "Select Directory");
    add(1454, "Search Fa&vorites", "", "", B | L, kMenu | kTool, "Search IE Favorites");
    add(1410, "Read from &Clipboard", "Ctrl+B", "Ctrl+B", kGuardNone, kMenu | kTool, "Read Clipboard");
    add(1412, "Read &Internet File", "Ctrl+I", "Ctrl+I", kGuardNone, kMenu | kTool, "Read Internet File");
    add(1414, "&Extract by base Url", "", "", B, kMenu | kTool, "Extract by base Url");
    add(5201, "Files < &8 Minutes", "", "", B | L);
    add(1455, "&IE Cache Files < 1 hour", "", "", B | L, kMenu | kTool, "IE Cache files < 1 hour");
    add(5202, "&Recent Links", "", "", B | L);
    add(1415, "Search &Options", "Ctrl+T", "Ctrl+T", B, kMenu | kTool, "Search Options");
    add(1460, "S&top Search", "Ctrl+Q", "Ctrl+Q", kGuardNone, kMenu | kTool, "Stop Search");
    add(1465, "S&kip File", "Shift+Q", "Shift+Q", kGuardNone, kMenu | kTool, "Skip file");
    add(1450, "New &window", "", "", kGuardNone, kMenu | kTool, "New window");
    add(1451, "Te&xt window", "", "", kGuardNone, kMenu | kTool, "Text window");
    add(1471, "E&xit", "", "", kGuardNone, kMenu | kTool, "Exit");
    // The list and its export.
    add(1420, "S&ave List as", "Ctrl+S", "Ctrl+S", B | L | D | E, kMenu | kTool, "Save list as Text file");
    add(4221, "Save List as &Html file", "", "", B, kMenu | kTool, "Save list as Html file");
    add(1422, "&Copy List to Clipboard", "", "", B | L | D, kMenu | kTool, "Copy list to Clipboard");
    add(1434, "&Print List", "Ctrl+P", "Ctrl+P", B | L | E, kMenu | kTool, "Print list");
    add(1435, "Printer &Font", "", "", B | L);
    add(1512, "&Internet Explorer", "", "", B | L);
    add(1511, "Netscape 4.x", "", "", B | L);
    add(1513, "Opera", "", "", B | L);
    add(1445, "R&esize List columns", "Ctrl+Num+", "Ctrl+Num++", kGuardNone, kMenu | kTool,
        "Resize list columns");
    // Edits and finding.
    add(1440, "&Find in list", "Ctrl+F", "Alt+F3", kGuardNone, kMenu | kTool, "Find in list");
    add(1515, "Find &next", "F3", "F3", kGuardNone);
    add(1516, "Find pre&vious", "F4", "F4", kGuardNone);
    add(1501, "Replace &Text", "", "Ctrl+H", B | L);
    add(1500, "&Remove Dupes", "Ctrl+R", "Ctrl+R", B | L);
    add(4223, "&Unescape Urls", "", "", B);
    add(4225, "Cut off Para&meters", "", "", B);
    add(1452, "C&lear Results", "Ctrl+L", "Ctrl+L", B | L, kMenu | kTool, "Clear results");
    // Sorting and hit rates.
    add(1551, "&Length", "", "", B | L);
    add(1552, "&Ending", "", "", B | L);
    add(1555, "&Symbol", "", "", B | L);
    add(1553, "trailing &File number", "", "", B | L);
    add(1554, "trailing &Remote File number", "F2", "F2", B | L);
    add(1439, "&Over all", "", "", B | D | kGuardHitRates);
    for (int id = 5800; id <= 5808; ++id)
        add(id, "", "", "", B | D | kGuardHitRates);
    // The domain tree.
    add(1480, "&Build domains", "Ctrl+M", "Ctrl+M", B | E | kGuardHttpKind | kGuardDomainKind);
    add(1544, "&Toggle View", "Ctrl+Tab", "Ctrl+Tab", B | kGuardDomainKind);
    add(1545, "&Rebuild domains after search", "", "", kGuardDomainKind);
    add(1453, "Build Domains / Toggle View", "", "", B | kGuardDomainKind, kTool, "Build Domains");
    // File lists and parsing.
    add(1474, "&Create File List", "", "", B);
    add(1477, "&Read from Text File", "", "", B);
    add(1478, "&Search Files from List", "", "", B | D);
    add(1475, "Compare &List to Disk Files", "", "", B | D);
    add(1476, "Create &Multiunzip Batch File", "", "", B | D);
    add(1502, "&Parse Text Files", "", "", B | L, kMenu | kTool, "Parse Text files");
    // Internet.
    add(1503, "&Generate Urls", "", "", B | L);
    add(2100, "&Download File", "", "", kGuardNone, kMenu | kCtx);
    add(2110, "&Batch Download", "", "", kGuardNone, kMenu | kCtx);
    add(2112, "&Read Internet Files", "", "", B, kMenu | kCtx);
    add(2114, "&Test Url Status", "", "", kGuardNone, kMenu | kCtx);
    // Browser data and tools.
    add(1490, "&Internet Explorer", "", "", B | L);
    add(1494, "Netscape 4.x", "", "", B | L);
    add(5100, "&Internet Explorer", "", "", B | L);
    add(5140, "Netscape 4.x", "", "", B | L);
    add(1492, "Edit &AboutURLs", "", "", B | L);
    add(1493, "&RAS Autodial Addresses", "", "", B | L);
    add(5190, "&Index file", "", "", B | L);
    add(5191, "&Text files", "", "", B | L);
    add(5180, "&Index file", "", "", B | L);
    add(5160, "&Netscape 4.x history file", "", "", B | L);
    add(5194, "&Join IE Download files", "", "", B | L);
    add(5196, "&Reduce Html files", "", "", B | L);
    add(5200, "Files in &use", "", "", B | L);
    // Options, settings, sessions, help.
    add(1456, "&Edit Options", "", "", B | L, kMenu | kTool, "Options");
    add(5410, "Save &as", "", "", B | L);
    add(5400, "&Save now", "", "", B | L);
    add(5420, "&Load", "", "", B | L);
    add(1530, "&Save as", "", "", B | L | E);
    add(1531, "&Load", "", "", B | L);
    add(1532, "&Append", "", "", B | L);
    add(1540, "&Help", "F1", "F1", B | L);
    add(1542, "&About", "", "", B | L);
    // The row context menu.
    add(4210, "Launch in &Browser", "", "", kGuardNone, kCtx);
    add(4202, "Save &to Internet Explorer", "", "", B | L, kCtx);
    add(4206, "Save to &Netscape", "", "", B | L, kCtx);
    add(4190, "&Copy to Clipboard", "", "", B | L, kCtx);
    add(4170, "Save as &Text file", "", "", B | L, kCtx);
    add(4222, "Save as &HTML table", "", "", B | L, kCtx);
    add(4180, "&Print", "", "", B | L, kCtx);
    add(4122, "Open in new &Window", "", "", kGuardNone, kCtx);
    add(4240, "&Internet Explorer", "", "", B | L, kCtx);
    add(4230, "Netscape 4.x", "", "", B | L, kCtx);
    add(4250, "Opera", "", "", B | L, kCtx);
    add(4224, "&Unescape Urls", "", "", B, kCtx);
    add(4226, "Cut off Para&meters", "", "", B, kCtx);
    add(4138, "Delete Url &File(s)", "", "", B | L, kCtx);
    add(4134, "Delete from &File", "", "", B | L, kCtx);
    add(4136, "Delete from &Registry", "", "", B | L, kCtx);
    add(4150, "&Select all with...", "", "", B | L, kCtx);
    add(4160, "Select &all", "", "", kGuardNone, kCtx);
    add(4132, "De&lete all with...", "", "", B | L, kCtx);
    add(4220, "Associated Viewer", "", "", kGuardNone, kCtx);
    for (int id = 4300; id <= 4318; ++id)
        add(id, "", "", "", kGuardNone, kCtx);
    add(5460, "&Copy File(s) to", "", "", B | L, kCtx);
    add(5462, "Copy File(s)+&Path to", "", "", B | L, kCtx);
    add(4120, "&Edit List entry", "", "", B | L, kCtx);
    add(4216, "S&ave as CSV file", "", "", B | L, kCtx);
    add(1703, "Read in &New Window", "", "", kGuardNone, kCtx);
    add(1704, "&Load Source", "", "", kGuardNone, kCtx);
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

bool CommandEnabled(const AppState& app, int id)
{
    const CommandInfo* command = FindCommand(id);
    return command != nullptr && command->connected && CommandAllowed(app, id);
}

bool CommandAllowed(const AppState& app, int id)
{
    const CommandInfo* command = FindCommand(id);
    if (command == nullptr)
        return false;
    if (id >= 1600 && id <= 1606) {
        const std::size_t n = static_cast<std::size_t>(id - 1600);
        if (n >= app.options.rfHistory.size() || app.options.rfHistory[n].empty())
            return false;
    }
    return GuardsAllow(app, command->guards);
}

const std::vector<int>& ToolbarLayout()
{
    static const std::vector<int> kLayout = {1400, 1405, 1412, 1455, 1454, 1410, 1414, 1502, 0,    1415, 0,
                                             1420, 1422, 1434, 4221, 0,    1440, 0,    1453, 0,    1445, 0,
                                             1456, 0,    1450, 1451, 0,    1452, 1460, 1465, 0,    1471};
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
    case 1420:
        if (domainView)
            return "Save folder to file";
        break;
    case 1422:
        if (domainView)
            return "Copy folder to Clipboard";
        break;
    case 1434:
        if (domainView)
            return "Print folder";
        break;
    case 1453:
        return domainView ? "Toggle View" : "Build Domains";
    case 1460:
        return StopTooltip(app.jobs.Code());
    default:
        break;
    }
    const CommandInfo* command = FindCommand(id);
    return command ? command->tooltip : std::string();
}

} // namespace lt
