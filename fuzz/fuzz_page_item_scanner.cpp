// SPDX-License-Identifier: GPL-3.0-or-later
// The page item scanner over one page buffer with the case, duplicate and HTML settings drawn
// from the first byte; every row it adds fits a list cell.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/app_state.h"
#include "fuzz_support.h"
#include "search/item_kind.h"
#include "search/page_item_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static lt::fuzz::QuietApp quiet;
    lt::AppState& app = quiet.app;
    static bool columns = [&] {
        app.list.SetColumns({{"Url", lt::kColText}, {"Title", lt::kColTitle}, {"Remote File", lt::kColPath}});
        return true;
    }();
    (void)columns;
    if (size < 1)
        return 0;
    const uint8_t flags = data[0];
    ++data;
    --size;
    app.jobs.jobCode = lt::kJobInetRead;
    app.settings.itemKind = (flags & 1) ? 0 : (flags >> 1) & 3;
    app.settings.caseSensitive = (flags & 8) != 0;
    app.settings.duplicatesPolicy = (flags >> 4) & 3;
    lt::SelectItemKind(app);
    if (!lt::PrepareScan(app))
        return 0;
    app.list.ClearRows();
    lt::PageItemScanner scanner(app);
    lt::ScannedPage page;
    page.pageUrl = "http://h.example/d/page.htm";
    page.baseUrl = "http://h.example/d/";
    page.isHtml = (flags & 64) != 0;
    page.cells = {page.pageUrl};
    scanner.NewPage(page);
    scanner.ScanBuffer(reinterpret_cast<const char*>(data), size, 1024, (flags & 128) != 0, page);
    for (std::size_t r = 0; r < app.list.RowCount(); ++r)
        lt::fuzz::Check(app.list.GetCell(r, 0).size() <= lt::fuzz::kMaxCell);
    return 0;
}
