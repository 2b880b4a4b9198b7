// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/list_kind.h"

#include <algorithm>

#include "core/app_state.h"
#include "list/column_fit.h"

namespace lt {

namespace {

// Kinds 0, 10 and 11 share one column layout; their widths are kept while the list shows others.
bool FileSearchFamily(int kind)
{
    return kind == kListFileSearch || kind == kListInetSaved || kind == kListInetRead;
}

std::vector<KindColumn> FileSearchBase(int itemKind)
{
    if (itemKind <= kItemTelnet)
        return {{"Url", kColText}, {"Title", kColTitle}, {"File", kColPath}};
    if (itemKind == kItemIp)
        return {{"Item", kColIp}, {"Context", kColTitle}, {"Line", kColLine}, {"Offset", kColOffset}, {"File", kColPath}};
    return {{"Item", kColText}, {"Line", kColLine}, {"Offset", kColOffset}, {"File", kColPath}};
}

// The remote-file lists: kind 10 has one column more than a plain file search of the first
// item kinds (4 or 5), kind 11 one fewer than kind 10; the last column names the remote file.
std::vector<KindColumn> InetColumns(int kind, int itemKind)
{
    std::vector<KindColumn> cols = FileSearchBase(itemKind);
    std::size_t count = itemKind >= kItemUser ? 5 : 4;
    if (kind == kListInetRead)
        --count;
    cols.resize(count);
    cols.back() = {"Remote File", kColPath};
    return cols;
}

int FlexibleMinimum(int kind)
{
    return kind == kListHistoryIndex || kind == kListCacheIndex ? 200 : 86;
}

} // namespace

std::vector<KindColumn> KindColumns(int kind, int itemKind, bool fileInfo, bool netscapeDetail)
{
    switch (kind) {
    case kListNetscapeTyped:
    case kListIeTyped: return {{"Url", kColText}};
    case kListAboutUrls: return {{"Url", kColText}, {"Title", kColTitle}};
    case kListHistoryIndex:
        return {{"Url", kColText},   {"User", kColUser},   {"Hits", kColHits},
                {"Date 1", kColDate}, {"Date 2", kColDate}, {"File", kColPath}};
    case kListCacheIndex:
        return {{"Url", kColText}, {"User", kColUser}, {"Hits", kColHits}, {"Date 1", kColDate}, {"Date 2", kColDate}};
    case kListNetscapeHistory:
        if (netscapeDetail)
            return {{"Url", kColText},
                    {"Title", kColTitle},
                    {"Hits", kColHits},
                    {"Last Access", kColDate},
                    {"First Access", kColDate}};
        return {{"Url", kColText}, {"Date", kColDate}};
    case kListOldSession: return {{"", kColText}, {"", kColTitle}};
    case kListCookieIndex:
        return {{"Url", kColText}, {"User", kColUser},   {"Text file", kColPath},
                {"Hits", kColHits}, {"Date 1", kColDate}, {"Date 2", kColDate}};
    case kListCookieFiles:
        return {{"File", kColText},    {"Domain", kColText}, {"Created", kColDate},
                {"Expires", kColDate}, {"Name", kColText},   {"Data", kColText}};
    case kListInetSaved:
    case kListInetRead: return InetColumns(kind, itemKind);
    case kListFilesInUse:
        return {{"File", kColText}, {"A", kColHits}, {"B", kColHits}, {"C", kColHits}, {"Type", kColTitle}};
    case kListRasAutodial: return {{"Url", kColText}, {"Last modified", kColTitle}};
    case kListFavorites: return {{"Url", kColText}, {"Title", kColTitle}, {"File", kColPath}, {"Date", kColDate}};
    case kListFileList:
        return {{"File", kColPath}, {"Modified", kColDate}, {"Created", kColDate}, {"Accessed", kColDate}, {"Size", kColSize}};
    case kListRecentLinks:
        return {{"Link", kColPath}, {"File", kColPath}, {"Modified", kColDate}, {"Created", kColDate}, {"Accessed", kColDate}};
    case kListParsedText:
        return {{"A", kColParsed}, {"B", kColParsed}, {"C", kColParsed},
                {"D", kColParsed}, {"E", kColParsed}, {"F", kColParsed}};
    default: break;
    }
    std::vector<KindColumn> cols = FileSearchBase(itemKind);
    if (fileInfo && itemKind != kItemIp) {
        cols.push_back({"File Date", kColDate});
        cols.push_back({"File Size", kColSize});
    }
    return cols;
}

void ApplyListKind(AppState& app, int mode)
{
    ListState& ls = app.listState;
    ResultList& list = app.list;
    std::vector<ColumnState> cols = list.Columns();

    if (ls.pendingParseColumns > 0) {
        if (cols.size() > static_cast<std::size_t>(ls.pendingParseColumns))
            cols.resize(static_cast<std::size_t>(ls.pendingParseColumns));
        ls.pendingParseColumns = 0;
        list.SetColumns(cols);
    }

    const int kind = ls.kind;
    const int itemKind = app.settings.itemKind;
    ListState::Applied& was = ls.applied;
    const bool unchanged = was.kind == kind && was.previousKind == ls.previousKind && was.itemKind == itemKind &&
                           was.fileInfo == ls.fileInfoOption && was.netscapeDetail == ls.netscapeDetail &&
                           was.hitRateMode == ls.hitRateMode;
    if (unchanged && mode != 2)
        return;

    const std::vector<KindColumn> named = KindColumns(kind, itemKind, ls.fileInfoOption, ls.netscapeDetail);
    std::size_t count = named.size();
    if (ls.hitRateMode == 1)
        count = std::max<std::size_t>(cols.size(), 2);
    else if (ls.hitRateMode == 2)
        count = 2;

    // The file-search layout is kept while other kinds or the hit rates are shown.
    const bool wasApplied = was.kind >= 0;
    const bool leavingFamily = wasApplied && FileSearchFamily(was.kind) && !FileSearchFamily(kind);
    const bool returningFamily = wasApplied && !FileSearchFamily(was.kind) && FileSearchFamily(kind);
    const bool enteringHits = wasApplied && was.hitRateMode <= 0 && ls.hitRateMode != 0;
    const bool leavingHits = wasApplied && was.hitRateMode > 0 && ls.hitRateMode == 0;
    if ((leavingFamily && was.hitRateMode <= 0) || (enteringHits && !leavingFamily))
        ls.savedColumns = cols;
    const bool restore = (returningFamily || leavingHits) && !ls.savedColumns.empty();

    for (std::size_t i = 0; i < std::min<std::size_t>(4, cols.size()); ++i)
        cols[i].type = std::array<int, 4>{kColText, kColTitle, kColPath, kColDate}[i];

    // Surplus columns go from the right; missing ones come with the remembered widths.
    const std::size_t before = cols.size();
    cols.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        ColumnState& c = cols[i];
        if (restore && i < ls.savedColumns.size()) {
            c.width = ls.savedColumns[i].width;
            c.fitted = ls.savedColumns[i].fitted;
            c.savedWidth = ls.savedColumns[i].savedWidth;
        } else if (i >= before) {
            c = ColumnState{};
            c.header = " ";
            c.width = i < ls.initialWidths.size() ? ls.initialWidths[i] : 120;
        }
    }

    // Names and types; the old session kind keeps the headers it came with.
    for (std::size_t i = 0; i < count && i < named.size(); ++i) {
        if (kind != kListOldSession)
            cols[i].header = named[i].header;
        cols[i].type = named[i].type;
    }
    if (ls.hitRateMode != 0 && count >= 2) {
        cols[1].header = "Hits";
        cols[1].type = kColHits;
    }

    const int probe = ls.fontProbeWidth;
    auto standard = [&](const ColumnState& c) { return StandardColumnWidth(c.type, probe); };
    if (!FileSearchFamily(kind) && kind != kListOldSession && ls.hitRateMode == 0) {
        int others = 0;
        for (std::size_t i = 1; i < count; ++i) {
            cols[i].width = standard(cols[i]);
            others += cols[i].width;
        }
        if (kind == kListFileList || kind == kListRecentLinks) {
            // Every column at its standard width; the rest to column 0 (the recent-links list
            // gives it to column n - 2 and keeps 60 pixels free).
            cols[0].width = standard(cols[0]);
            const std::size_t takes = kind == kListRecentLinks && count >= 2 ? count - 2 : 0;
            int used = 0;
            for (std::size_t i = 0; i < count; ++i)
                if (i != takes)
                    used += cols[i].width;
            const int rest = ls.clientWidth - used - (kind == kListRecentLinks ? 60 : 0);
            cols[takes].width = std::max(kMinColumnWidth, rest);
        } else {
            const int reserve = kind == kListHistoryIndex ? 60 : 0;
            cols[0].width = std::max(FlexibleMinimum(kind), ls.clientWidth - others - reserve);
        }
    }

    if (was.kind == kListFilesInUse && kind != kListFilesInUse)
        ls.addedIconCount = 0;

    for (auto& c : cols) {
        c.directionFlag = c.type == kColLine || c.type == kColOffset || c.type == kColSize;
        if (kind == kListFileSearch && itemKind >= kItemUser && (c.type == kColLine || c.type == kColOffset))
            c.width = standard(c);
    }

    // A file-search list of three columns takes its file date in a fourth column when the
    // option comes on; larger sets carry their file-info columns in their own set already.
    const bool fileInfoNew = ls.fileInfoOption && !was.fileInfo;
    if (fileInfoNew && ls.hitRateMode == 0 && count == 3 &&
        (kind == kListInetRead || kind == kListFileSearch || kind == kListFavorites)) {
        ColumnState date;
        date.header = "File Date";
        date.type = kColDate;
        date.width = 120;
        cols.push_back(date);
    }

    list.SetColumns(cols);
    FitColumns(app, -2, 0);

    was.kind = kind;
    was.previousKind = ls.previousKind;
    was.itemKind = itemKind;
    was.hitRateMode = ls.hitRateMode;
    was.fileInfo = ls.fileInfoOption;
    was.netscapeDetail = ls.netscapeDetail;
}

void ClearResultList(AppState& app, int mode)
{
    if (app.startup.textWindowMode != 0)
        return;
    ListState& ls = app.listState;
    app.search.targetText.clear();
    app.search.droppedCaption.clear();
    app.search.singleTargetText.clear();
    ls.hitRateMode = 0;
    if (ls.onClear)
        ls.onClear(mode);

    app.list.ClearRows();
    ls.rowSerial = -1;
    ls.paramCounter = -1;
    ls.lastAddedRow = -1;

    // Mode 2 keeps the columns as they are; otherwise a pending kind change is applied now.
    if (mode != 2)
        ApplyListKind(app, 0);
    app.status.ClearStatus(-1);
    std::vector<ColumnState> cols = app.list.Columns();
    for (auto& c : cols)
        c.directionFlag = false;
    app.list.SetColumns(std::move(cols));
}

void SwitchListKind(AppState& app, int kind)
{
    ListState& ls = app.listState;
    ls.previousKind = ls.kind;
    ls.kind = kind;
    ClearResultList(app);
}

ContextActions ContextActionTexts(const AppState& app)
{
    const int itemKind = app.settings.itemKind;
    switch (app.listState.kind) {
    case kListFileSearch:
    case kListInetSaved:
        if (itemKind == kItemJavascript)
            return {"&View Source", "&Download Url(s)"};
        if (itemKind == kItemUser || itemKind == kItemIp)
            return {"&View Context", "&Download Url(s)"};
        return {"Launch in &Browser", "&Download Url(s)"};
    case kListAboutUrls: return {"&Add new list item", "Save &to Internet Explorer"};
    case kListCookieIndex: return {"View &Text file", "&Download Url(s)"};
    case kListCookieFiles: return {"View &Text file", "&Delete File(s) from Disk"};
    case kListFilesInUse: return {"&Sort by Ending", ""};
    case kListFileList: return {"&Delete File(s) from Disk", "&Compare to Disk Files"};
    case kListRecentLinks: return {"&Delete Link(s) from Disk", ""};
    case kListParsedText: return {"Delete &empty Lines", "&Download Url(s)"};
    default: return {"Launch in &Browser", "&Download Url(s)"};
    }
}

} // namespace lt
