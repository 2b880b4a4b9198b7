// SPDX-License-Identifier: GPL-3.0-or-later
// The link scanner over arbitrary files with the kind and options drawn from the input's first
// bytes, plus the title, page-title and base-address readers over the same bytes in memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/app_state.h"
#include "search/block_reader.h"
#include "search/filter_words.h"
#include "search/item_kind.h"
#include "search/link_scanner.h"
#include "search/link_title.h"

namespace {

class QuietUiPort : public lt::UiPort
{
public:
    void SetPaneText(int, const std::string&) override {}
    void SetPaneIcon(int, lt::StatusIcon) override {}
    void ArmTimer(int, int) override {}
    void KillTimer(int) override {}
    void ProgressBegin() override {}
    void ProgressStep() override {}
    void ProgressEnd() override {}
    lt::MsgAnswer ShowMessage(const std::string&, const std::string&, lt::MsgStyle) override
    {
        return lt::MsgAnswer::Ok;
    }
    void SetWaitCursor(bool) override {}
    void SetClipboardText(const std::string&) override {}
    std::string ClipboardText() override { return {}; }
    void Post(int, std::intptr_t, std::intptr_t) override {}
};

struct Fixture
{
    QuietUiPort ui;
    lt::AppState app{ui};
    std::string folder;

    Fixture()
    {
        std::string pattern = "/tmp/lt-fuzz-links-XXXXXX";
        folder = mkdtemp(pattern.data());
        app.list.SetColumns({{"Url", lt::kColText}, {"Title", lt::kColTitle}, {"File", lt::kColPath}});
    }
};

void WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        std::abort();
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0)
            std::abort();
        done += static_cast<size_t>(n);
    }
    ::close(fd);
}

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
    app.search.favoritesFolder = fixture.folder;
    lt::BuildFilterWords(app.settings, app.filterWords);
    lt::SelectItemKind(app);
    if (!lt::PrepareScan(app))
        return 0;
    app.scan.nonBinaryOnly = (c & 2) != 0;
    app.jobs.jobCode = lt::kJobFolderSearch;
    app.list.ClearRows();

    const std::string path = fixture.folder + ((c & 4) ? "/Site.url" : "/page.htm");
    lt::LinkScanner scanner(app);
    if (c & 16) {
        WriteFile(path, data, size); // now and then through the file reader
        scanner.ScanLinks(path);
    } else {
        scanner.ScanLinksInMemory(reinterpret_cast<const char*>(data), size, path);
    }
    for (size_t r = 0; r < app.list.RowCount(); ++r)
        for (int col = 0; col < 3; ++col)
            if (app.list.GetCell(r, col).size() > 259)
                std::abort();
    if (c & 16)
        ::unlink(path.c_str());

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
    if (title.text.size() > 259 || (title.resume != lt::LinkTitle::kNoResume && (title.resume < start || title.resume >= size)))
        std::abort();
    std::string text;
    lt::ReadPageTitle("", reinterpret_cast<const char*>(data), size, true, text);
    if (text.size() > 259)
        std::abort();
    lt::ReadBaseHref(reinterpret_cast<const char*>(data), size, text);
    if (text.size() > 259)
        std::abort();
    return 0;
}
