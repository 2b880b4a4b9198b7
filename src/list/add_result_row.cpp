// SPDX-License-Identifier: GPL-3.0-or-later
#include "list/add_result_row.h"

#include <algorithm>
#include <exception>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/messages.h"

namespace lt {

namespace {

// List kinds whose rows are whole-list deduplicated under "Omit &all duplicates".
bool KindDeduplicates(int kind)
{
    return kind == kListFileSearch || kind == kListOldSession || kind == kListInetSaved || kind == kListInetRead ||
           kind == kListFavorites;
}

void ReportAddFailure(AppState& app, const std::string& text)
{
    app.jobs.jobCode.store(kJobIdle);
    ShowMessage(app, "Error adding item " + text + " to list", "Error", {MsgButtons::Ok, MsgIcon::Warning});
}

struct Ending
{
    const char* text;
    int icon;
};

constexpr Ending kEndings[] = {
    {"doc", 2},  {"diz", 2},  {"faq", 2},  {"ini", 2},   {"nfo", 2},  {"pdf", 2},  {"txt", 2},
    {"ace", 3},  {"arc", 3},  {"arj", 3},  {"cab", 3},   {"gz", 3},   {"gzip", 3}, {"jar", 3},
    {"rar", 3},  {"rpm", 3},  {"tar", 3},  {"tgz", 3},   {"z", 3},    {"zip", 3},  {"exe", 4},
    {"gif", 5},  {"ico", 5},  {"js", 6},   {"avi", 7},   {"mp4", 7},  {"mpeg", 7}, {"mpg", 7},
    {"ogg", 7},  {"ogm", 7},  {"wmv", 7},  {"aif", 8},   {"aifc", 8}, {"aiff", 8}, {"au", 8},
    {"mid", 8},  {"midi", 8}, {"mp3", 8},  {"snd", 8},   {"wav", 8},  {"bin", 9},  {"iso", 9},
    {"fon", 10}, {"ttf", 10}, {"dll", 11}, {"drv", 11},  {"asp", 13}, {"php", 13}, {"bat", 14},
    {"cgi", 14}, {"sh", 14},  {"vbs", 14}, {"jpeg", 15}, {"jpg", 15}, {"bmp", 16}, {"png", 16},
    {"tif", 16}, {"tiff", 16}, {"bas", 17}, {"c", 17},   {"cpp", 17}, {"pas", 17}, {"rc", 17},
};

} // namespace

int IconForText(const AppState& app, const std::string& text)
{
    constexpr int kDefault = 1;
    if (app.listState.kind == kListFileSearch) {
        const int item = app.settings.itemKind;
        const bool looked = item == kItemHttpFtp || item == kItemGopherWais || item == kItemTelnet ||
                            (item == kItemUser && app.settings.userPrefix);
        if (!looked)
            return kDefault;
    }
    const auto dot = text.rfind('.');
    if (dot == std::string::npos)
        return kDefault;
    const std::string_view ending = std::string_view(text).substr(dot + 1);
    if (ending.empty() || ending.size() > 4)
        return kDefault;
    if ((ending[0] == 'h' || ending[0] == 'H') && ending.size() >= 2)
        return kDefault;
    for (const Ending& e : kEndings)
        if (Cp1252EqualsNoCase(ending, e.text))
            return e.icon;
    return kDefault;
}

long AddResultRow(AppState& app, const std::string& text)
{
    ListState& ls = app.listState;
    ResultList& list = app.list;
    const int columns = list.ColumnCount();
    const bool dedupe = app.settings.duplicatesPolicy == 2 && KindDeduplicates(ls.kind) && ls.hitRateMode == 0 &&
                        columns >= 3;

    ResultRow row;
    row.cells.resize(static_cast<std::size_t>(std::max(1, std::min(columns, 6))));
    row.cells[0] = text;
    for (std::size_t c = 1; c < row.cells.size(); ++c)
        if (!ls.rowTexts[c].empty())
            row.cells[c] = ls.rowTexts[c];

    const bool indexRecord = (ls.kind == kListHistoryIndex || ls.kind == kListCookieIndex) && ls.indexFileNumber != 0;
    const long savedCounter = ls.paramCounter;
    if (indexRecord) {
        // The reader has put the record's file offset into the counter.
        const auto offset = static_cast<uint64_t>(ls.paramCounter);
        const auto number = static_cast<uint32_t>(ls.indexFileNumber) & 0xFF;
        ls.paramCounter += static_cast<long>(number) << 24;
        // The packed form keeps the offset to its 24 bits so that a large offset never changes
        // the file number; the full values travel in their own fields.
        row.param = static_cast<uint32_t>(offset & 0xFFFFFF) | (number << 24);
        row.recordOffset = offset;
        row.fileNumber = number;
    } else {
        ++ls.paramCounter;
        row.param = static_cast<uint32_t>(ls.paramCounter);
    }
    row.icon = app.jobs.Code() == kJobOwnIcons ? ls.lastIcon : IconForText(app, text);

    long index;
    try {
        if (dedupe) {
            index = list.InsertRowUnlessDuplicate(std::move(row), app.settings.caseSensitive);
            if (index < 0) {
                ls.paramCounter = savedCounter; // a refused row changes nothing
                return -1;
            }
        } else {
            index = static_cast<long>(list.InsertRow(std::move(row)));
        }
    } catch (const std::exception&) {
        ls.paramCounter = savedCounter;
        ReportAddFailure(app, text);
        return -1;
    }
    ++ls.rowSerial;
    ls.lastAddedRow = index;
    return index;
}

long AddRow(ResultList& list, long& counter, const std::string& text, const std::array<std::string, 8>& cells,
            int icon, uint32_t param)
{
    const int columns = std::max(1, list.ColumnCount());
    ResultRow row;
    row.cells.resize(static_cast<std::size_t>(columns));
    row.cells[0] = text;
    for (int c = 1; c < columns && c <= 8; ++c)
        if (!cells[static_cast<std::size_t>(c - 1)].empty())
            row.cells[static_cast<std::size_t>(c)] = cells[static_cast<std::size_t>(c - 1)];
    row.icon = icon;
    row.param = param;
    ++counter;
    try {
        return static_cast<long>(list.InsertRow(std::move(row)));
    } catch (const std::exception&) {
        --counter;
        return -1;
    }
}

} // namespace lt
