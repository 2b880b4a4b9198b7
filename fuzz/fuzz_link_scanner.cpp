// SPDX-License-Identifier: GPL-3.0-or-later
// The link scanner over arbitrary files with the kind and options drawn from the input's first
// bytes, plus the title, page-title and base-address readers over the same bytes in memory.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unistd.h>

#include "core/app_state.h"
#include "fuzz_support.h"
#include "search/block_reader.h"
#include "search/filter_words.h"
#include "search/item_kind.h"
#include "search/link_scanner.h"
#include "search/link_title.h"

namespace {

// A folder of this process's own, removed (empty) when the object goes.
struct ScratchFolder
{
    std::string path;

    ScratchFolder()
    {
        std::string pattern = lt::fuzz::ScratchPath("lt-fuzz-links") + "-XXXXXX";
        lt::fuzz::Check(::mkdtemp(pattern.data()) != nullptr);
        path = pattern;
    }
    ~ScratchFolder() { ::rmdir(path.c_str()); }
};

struct Fixture
{
    lt::fuzz::QuietApp quiet;
    lt::AppState& app = quiet.app;
    ScratchFolder folder;
    lt::fuzz::ScratchFile shortcut{folder.path + "/Site.url"};
    lt::fuzz::ScratchFile page{folder.path + "/page.htm"};
    // One scanner for each setting that selects its anchors: a scanner keeps its anchor finder
    // while they stay the same, and building a finder costs more than scanning most inputs.
    std::array<std::unique_ptr<lt::LinkScanner>, 32> scanners;

    Fixture() { app.list.SetColumns({{"Url", lt::kColText}, {"Title", lt::kColTitle}, {"File", lt::kColPath}}); }

    lt::LinkScanner& Scanner(std::size_t index)
    {
        if (!scanners[index])
            scanners[index] = std::make_unique<lt::LinkScanner>(app);
        return *scanners[index];
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fixture fixture;
    if (size < 3)
        return 0;
    lt::AppState& app = fixture.app;
    const uint8_t a = data[0], b = data[1], c = data[2];
    data += 3;
    size -= 3;

    app.settings.itemKind = a & 3;
    app.settings.caseSensitive = (a & 4) != 0;
    app.settings.findHttps = (a & 8) != 0;
    app.settings.onlyTopLevelDomains = (a & 16) != 0;
    app.settings.duplicatesPolicy = (a >> 5) & 3;
    app.settings.minimalLength = 1 + (b & 15);
    app.settings.restrictEnabled = (b & 16) != 0;
    app.settings.mustText = (b & 32) ? "example org" : "";
    app.settings.mustNotText = (b & 64) ? "private" : "";
    app.settings.mustAll = (b & 128) != 0;
    app.listState.kind = (c & 1) ? lt::kListFavorites : lt::kListFileSearch;
    app.search.favoritesFolder = fixture.folder.path;
    lt::BuildFilterWords(app.settings, app.filterWords);
    lt::SelectItemKind(app);
    if (!lt::PrepareScan(app))
        return 0;
    app.scan.nonBinaryOnly = (c & 2) != 0;
    app.jobs.jobCode = lt::kJobFolderSearch;
    if (app.list.RowCount() > 0)
        app.list.ClearRows();

    lt::fuzz::ScratchFile& file = (c & 4) ? fixture.shortcut : fixture.page;
    lt::LinkScanner& scanner = fixture.Scanner((a & 15) | (c & 2) << 3);
    if (c & 16) {
        // Now and then through the file reader.
        lt::fuzz::Check(file.Write(data, size));
        scanner.ScanLinks(file.Path());
    } else {
        scanner.ScanLinksInMemory(reinterpret_cast<const char*>(data), size, file.Path());
    }
    lt::fuzz::CheckCells(app.list);

    lt::BlockReader reader;
    reader.Attach(reinterpret_cast<const char*>(data), size);
    lt::LinkTitleContext context;
    context.url = "http://www.example.org/";
    context.quotedHref = (c & 8) != 0;
    context.recordResume = true;
    context.anchorFirst1 = 'h';
    context.anchorFirst2 = 'f';
    lt::LinkTitle title;
    const uint64_t start = size > 0 ? c % size : 0;
    lt::ReadLinkTitle(reader, start, size, context, title);
    lt::fuzz::Check(title.text.size() <= lt::fuzz::kMaxCell);
    lt::fuzz::Check(title.resume == lt::LinkTitle::kNoResume || (title.resume >= start && title.resume < size));
    std::string text;
    lt::ReadPageTitle("", reinterpret_cast<const char*>(data), size, true, text);
    lt::fuzz::Check(text.size() <= lt::fuzz::kMaxCell);
    lt::ReadBaseHref(reinterpret_cast<const char*>(data), size, text);
    lt::fuzz::Check(text.size() <= lt::fuzz::kMaxCell);
    return 0;
}
