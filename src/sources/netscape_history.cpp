// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/netscape_history.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "list/add_result_row.h"
#include "list/list_kind.h"
#include "sources/entry_lookup.h"
#include "sources/file_time.h"

namespace lt {

namespace {

constexpr uint32_t kHashMagic = 0x061561;
constexpr std::size_t kMaxUrl = 259;
constexpr std::size_t kMaxTitle = 259;

uint32_t Read32(const uint8_t* p, bool big)
{
    return big ? (uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3])
               : (p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24);
}
uint16_t Read16(const uint8_t* p, bool big)
{
    return static_cast<uint16_t>(big ? (p[0] << 8 | p[1]) : (p[0] | p[1] << 8));
}

// Walks the entries of one bucket page; false when the page is not one.
template <typename OnEntry>
bool WalkPage(const uint8_t* page, uint32_t size, bool big, OnEntry&& onEntry)
{
    const uint32_t n = Read16(page, big);
    // A bitmap or big-item page read as a bucket page has a count that does not fit.
    if (n == 0 || n % 2 != 0 || 2 + 2 * n > size - 4)
        return false;
    const uint32_t tableEnd = 2 + 2 * n;
    uint32_t itemEnd = size; // items are packed from the page end down
    for (uint32_t i = 0; i + 1 < n; i += 2) {
        const uint32_t key = Read16(page + 2 + 2 * i, big);
        const uint32_t data = Read16(page + 4 + 2 * i, big);
        if (data < 4)
            continue; // an overflow or big-item marker, not an entry
        if (data < tableEnd || data > key || key >= itemEnd)
            return true; // the offset table is damaged: nothing after this pair can be trusted
        onEntry(page + key, itemEnd - key, page + data, key - data);
        itemEnd = data;
    }
    return true;
}

template <typename OnPage>
void WalkPages(ByteSource& source, OnPage&& onPage)
{
    const HashGeometry geometry = ReadHashGeometry(source);
    const uint64_t size = source.Size();
    std::vector<uint8_t> page(geometry.pageSize);
    // Page 0 is the header; only complete pages are read.
    for (uint64_t at = geometry.pageSize; at <= size && size - at >= geometry.pageSize; at += geometry.pageSize) {
        if (source.ReadAt(at, page.data(), page.size()) != page.size())
            break;
        if (!onPage(page.data(), geometry))
            break;
    }
}

bool DecodeEntry(const uint8_t* key, uint32_t keyLength, const uint8_t* data, uint32_t dataLength, bool big,
                 NetscapeEntry& entry)
{
    const auto* end = std::find(key, key + keyLength, uint8_t{0});
    if (end == key + keyLength || end == key)
        return false; // no zero byte inside the key, or an empty one
    entry.url.assign(reinterpret_cast<const char*>(key), std::min<std::size_t>(end - key, kMaxUrl));
    if (dataLength == 4) {
        entry.oneTime = true;
        entry.lastVisit = Read32(data, big);
        return true;
    }
    if (dataLength < 8)
        return true;
    entry.lastVisit = Read32(data, big);
    entry.firstVisit = Read32(data + 4, big);
    uint32_t titleAt = 0;
    unsigned hits = 0;
    const bool wide = dataLength >= 17 && data[9] == 0 && data[10] == 0 && data[11] == 0 && data[13] == 0 &&
                      data[14] == 0 && data[15] == 0;
    if (wide) {
        hits = Read32(data + 8, big);
        titleAt = 16;
    } else if (dataLength >= 9) {
        hits = data[8];
        titleAt = 9;
    }
    if (titleAt != 0) {
        char text[16];
        std::snprintf(text, sizeof text, "%3u", hits);
        entry.hits = text;
        for (uint32_t i = titleAt; i < dataLength && data[i] >= 32 && entry.title.size() < kMaxTitle; ++i)
            entry.title += static_cast<char>(data[i]);
    }
    return true;
}

} // namespace

HashGeometry ReadHashGeometry(ByteSource& source)
{
    HashGeometry geometry;
    uint8_t header[16];
    if (source.ReadAt(0, header, sizeof header) != sizeof header)
        return geometry;
    bool headerBig;
    if (Read32(header, true) == kHashMagic)
        headerBig = true;
    else if (Read32(header, false) == kHashMagic)
        headerBig = false;
    else
        return geometry;
    const uint32_t lorder = Read32(header + 8, headerBig);
    const uint32_t bsize = Read32(header + 12, headerBig);
    if (lorder != 1234 && lorder != 4321)
        return geometry;
    // A page size the library could have written: a power of two it accepts.
    if (bsize < 256 || bsize > 65536 || (bsize & (bsize - 1)) != 0)
        return geometry;
    geometry.pageSize = bsize;
    geometry.bigEndian = lorder == 4321;
    return geometry;
}

long ScanNetscapeHistory(ByteSource& source, const std::function<void(const NetscapeEntry&)>& onEntry)
{
    long count = 0;
    WalkPages(source, [&](const uint8_t* page, const HashGeometry& g) {
        WalkPage(page, g.pageSize, g.bigEndian,
                 [&](const uint8_t* key, uint32_t keyLength, const uint8_t* data, uint32_t dataLength) {
                     NetscapeEntry entry;
                     if (DecodeEntry(key, keyLength, data, dataLength, g.bigEndian, entry)) {
                         onEntry(entry);
                         ++count;
                     }
                 });
        return true;
    });
    return count;
}

int DetectNetscapeFormat(ByteSource& source)
{
    int format = -1;
    WalkPages(source, [&](const uint8_t* page, const HashGeometry& g) {
        WalkPage(page, g.pageSize, g.bigEndian, [&](const uint8_t*, uint32_t, const uint8_t*, uint32_t dataLength) {
            if (format < 0 && dataLength > 0)
                format = dataLength == 4 ? 1 : 0;
        });
        return format < 0;
    });
    return format;
}

bool FindNetscapeProfile(ByteSource& nsreg, std::string& folder)
{
    folder.clear();
    const uint64_t size = nsreg.Size();
    if (size == 0)
        return false;
    const uint64_t length = size > 2048 ? 2048 : size - 1;
    std::string tail(static_cast<std::size_t>(length), '\0');
    // A short file is read from its start, all but its last byte.
    tail.resize(nsreg.ReadAt(size > 2048 ? size - length : 0, tail.data(), tail.size()));
    constexpr std::string_view kKey = "ProfileLocation";
    for (std::size_t at = 0; at + kKey.size() <= tail.size(); ++at) {
        if (!Cp1252EqualsNoCase(std::string_view(tail).substr(at, kKey.size()), kKey))
            continue;
        const std::size_t matchEnd = at + kKey.size();
        if (matchEnd + 4 >= tail.size())
            return false;
        const std::size_t start = matchEnd + 1;
        std::size_t stop = tail.find('\0', start);
        if (stop == std::string::npos)
            stop = tail.size();
        folder = tail.substr(start, std::min<std::size_t>(stop - start, 260));
        return !folder.empty();
    }
    return false;
}

std::string NetscapeTimeText(int64_t seconds, bool oldFormat)
{
    if (seconds == 0)
        return {};
    if (oldFormat) {
        tzset();
        seconds += static_cast<int64_t>(timezone) - 28800;
    }
    LocalTime fields;
    if (!CalendarFields(seconds, true, fields))
        return {};
    return LocalTimeText(fields);
}

std::string NetscapeHistoryIn(const std::string& folder)
{
    std::string path = FindEntryNoCase(folder, "netscape.hst");
    if (path.empty())
        path = FindEntryNoCase(folder, "history.db");
    return path.empty() ? JoinPath(folder, "netscape.hst") : path;
}

bool ReadNetscapeHistory(AppState& app, const std::string& path, int format)
{
    ClearResultList(app);
    app.search.targetText = path;
    FileByteSource source;
    std::string error;
    if (!source.Open(path, error)) {
        ShowMessage(app, "Could not open " + path + " ", "LinkTrawl", {MsgButtons::Ok, MsgIcon::Warning});
        return false;
    }
    if (format < 0)
        format = std::max(0, DetectNetscapeFormat(source));
    const bool detail = format == 0;
    if (app.listState.kind != kListNetscapeHistory || app.listState.netscapeDetail != detail) {
        app.listState.netscapeDetail = detail;
        SwitchListKind(app, kListNetscapeHistory);
    }
    app.status.SetStatusText(path, 0);
    long found = 0;
    ScanNetscapeHistory(source, [&](const NetscapeEntry& e) {
        if (e.url.empty())
            return;
        ListState& ls = app.listState;
        for (auto& cell : ls.rowTexts)
            cell.clear();
        if (detail) {
            ls.rowTexts[1] = e.title;
            ls.rowTexts[2] = e.hits;
            ls.rowTexts[3] = NetscapeTimeText(e.lastVisit, e.oneTime);
            ls.rowTexts[4] = NetscapeTimeText(e.firstVisit, false);
        } else {
            ls.rowTexts[1] = NetscapeTimeText(e.lastVisit, e.oneTime);
        }
        AddResultRow(app, e.url);
        ShowRowCount(app, ++found);
    });
    if (found > 0) {
        app.list.SetSelectedRows({0});
        app.list.SetFocusedRow(0);
    } else {
        ShowMessage(app, "No items found !");
    }
    return true;
}

} // namespace lt
