// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/page_item_scanner.h"

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "recording_ui_port.h"
#include "search/item_kind.h"

namespace lt {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>; // item, title

class PageItemScannerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.jobs.jobCode = kJobInetRead;
        app.list.SetColumns({{"Url", kColText}, {"Title", kColTitle}, {"Remote File", kColPath}});
        app.list.SetAutoSort(AutoSort::Off);
        app.settings.duplicatesPolicy = 0;
        app.settings.minimalLength = 6;
    }
    Rows Scan(const std::string& bytes, bool caseSensitive = false, bool html = true,
              const std::string& url = "http://h.example/d/page.htm")
    {
        app.settings.itemKind = 0;
        app.settings.caseSensitive = caseSensitive;
        SelectItemKind(app);
        EXPECT_TRUE(PrepareScan(app));
        app.list.ClearRows();
        PageItemScanner scanner(app);
        ScannedPage page;
        page.pageUrl = url;
        page.baseUrl = "http://h.example/d/";
        page.isHtml = html;
        page.cells = {url};
        scanner.NewPage(page);
        scanner.ScanBuffer(bytes.data(), bytes.size(), 1024, true, page);
        Rows rows;
        for (std::size_t r = 0; r < app.list.RowCount(); ++r) {
            rows.emplace_back(app.list.GetCell(r, 0), app.list.GetCell(r, 1));
            EXPECT_EQ(app.list.GetCell(r, 2), url);
        }
        return rows;
    }
    RecordingUiPort ui;
    AppState app{ui};
};

TEST_F(PageItemScannerTest, ItemsOfPages)
{
    EXPECT_EQ(Scan("<a href=\"x.htm\">The &amp; page</a>"), (Rows{{"http://h.example/d/x.htm", "The & page"}}));
    EXPECT_EQ(Scan("<a href=\"javascript:open('a')\">go</a>"), (Rows{{"javascript:open('a')", "go"}}));
    EXPECT_EQ(Scan("hidden http&#58;//enc.example/p here"), (Rows{{"http://enc.example/p", ""}}));
    // Case-sensitive: upper-case prefixes are not the item, upper-case attributes still are.
    EXPECT_EQ(Scan("HTTP://caps.example/ <A HREF=\"y.htm\">y</A>", true),
              (Rows{{"http://h.example/d/y.htm", "y"}}));
    // Not HTML: only addresses written out.
    EXPECT_EQ(Scan("<a href=\"x.htm\"> http://plain.example/q", false, false),
              (Rows{{"http://plain.example/q", ""}}));
    // A control byte: the page is binary from there; attributes stop, addresses go on.
    EXPECT_EQ(Scan(std::string("<a href=\"a.htm\">a</a>\x02<a href=\"b.htm\">b</a> http://after.example/z")),
              (Rows{{"http://h.example/d/a.htm", "a"}, {"http://after.example/z", ""}}));
}

} // namespace
} // namespace lt
