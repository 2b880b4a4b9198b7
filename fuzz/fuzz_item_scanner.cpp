// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the item scanner with every kind and option drawn from the input's first bytes, over the
// rest of the input as one buffer, as crawler windows and, for a quarter of the inputs, as a file.
// Checks that no cell exceeds 259 bytes and that skipping to the anchor gives the rows of byte-by-byte
// reading.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "fuzz_support.h"
#include "search/item_kind.h"
#include "search/item_scanner.h"
#include "search/page_record.h"

namespace {

struct Harness
{
    lt::fuzz::QuietApp quiet;
    lt::AppState& app = quiet.app;
    lt::fuzz::ScratchFile file{lt::fuzz::ScratchPath("fuzz_item_scanner")};
    lt::ItemScanner scanner{app};

    Harness()
    {
        app.list.SetColumns(std::vector<lt::ColumnState>(6));
        app.list.SetAutoSort(lt::AutoSort::Off);
    }

    // Every scan starts from an empty list: "omit all duplicates" compares with the whole list,
    // and a list kept across inputs would grow without bound.
    void Clear()
    {
        if (app.list.RowCount() > 0)
            app.list.ClearRows();
        app.listState.rowSerial = -1;
        app.listState.paramCounter = -1;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static Harness h;
    if (size < 6)
        return 0;
    lt::AppState& app = h.app;
    lt::SearchSettings& s = app.settings;
    const uint8_t kindByte = data[0];
    const uint8_t flags = data[1];
    const uint8_t more = data[2];
    const std::size_t userLen = data[3] % 40;
    s.itemKind = 4 + kindByte % 4;
    s.userHex = flags & 1;
    s.userPrefix = flags & 2;
    s.userEntireLine = flags & 4;
    s.userUrlLike = flags & 8;
    s.caseSensitive = flags & 16;
    s.duplicatesPolicy = (flags >> 5) & 3;
    s.minimalLength = 1 + more % 12;
    s.ipSumLimit = (more >> 4) * 64;
    s.fileTypeMode = (kindByte >> 2) % 3;
    s.restrictEnabled = kindByte & 0x80;
    app.filterWords.must.clear();
    app.filterWords.mustNot.clear();
    if (s.restrictEnabled) {
        app.filterWords.mustNot.push_back(std::string(1, static_cast<char>('a' + data[4] % 26)));
        if (data[4] & 0x80)
            app.filterWords.must.push_back(".");
    }
    app.tables.SetUrlLike(s.userUrlLike);

    std::size_t at = 5;
    const std::size_t take = std::min(userLen, size - at);
    std::string user(reinterpret_cast<const char*>(data + at), take);
    at += take;
    if (s.userHex) {
        // Hex mode types hex text; make some of it valid.
        static const char kDigits[] = "0123456789abcdefABCDEF";
        for (char& c : user)
            c = kDigits[static_cast<uint8_t>(c) % 22];
    }
    if (user.empty())
        user = "x";
    s.userStrings[0] = user;
    if (!lt::PrepareScan(app))
        return 0;
    app.scan.nonBinaryOnly = s.fileTypeMode == 2;
    app.jobs.jobCode.store(lt::kJobFolderSearch);

    const char* body = reinterpret_cast<const char*>(data + at);
    const std::size_t bodyLen = size - at;

    lt::ItemScanner& scanner = h.scanner;
    scanner.SetReferencePath(false);
    if ((data[4] & 0x60) == 0x40) {
        // A quarter of the inputs also go through the file reader: a file written and read per
        // input was a third of the work of every input.
        lt::fuzz::Check(h.file.Write(body, bodyLen));
        h.Clear();
        scanner.ScanFile(h.file.Path());
        lt::fuzz::CheckCells(app.list);
    }

    // One buffer read with skipping and byte by byte, then crawler windows of 1024 bytes.
    lt::PageRecord page;
    page.lastBuffer = true;
    page.binaryTest = flags & 0x80;
    h.Clear();
    scanner.ScanBuffer(body, bodyLen, 0, page);
    const auto fast = lt::fuzz::RowsFrom(app.list);
    h.Clear();
    scanner.SetReferencePath(true);
    page.newPage = true;
    scanner.ScanBuffer(body, bodyLen, 0, page);
    const auto slow = lt::fuzz::RowsFrom(app.list);
    lt::fuzz::Check(fast == slow);
    scanner.SetReferencePath(false);

    // A body of one window is scanned as the one buffer above was.
    if (bodyLen <= 1024)
        return 0;
    h.Clear();
    lt::PageRecord windows;
    for (std::size_t w = 0; w < bodyLen; w += 1024) {
        windows.lastBuffer = w + 1024 >= bodyLen;
        scanner.ScanBuffer(body + w, bodyLen - w, w, windows);
        if (windows.lastBuffer)
            break;
    }
    lt::fuzz::CheckCells(app.list);
    return 0;
}
