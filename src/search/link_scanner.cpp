// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/link_scanner.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "core/progress.h"
#include "list/add_result_row.h"
#include "search/anchor_finder.h"
#include "search/block_reader.h"
#include "search/entities.h"
#include "search/filter_words.h"
#include "search/link_title.h"

namespace lt {

namespace {

constexpr std::size_t kMaxUrl = 259;
constexpr uint64_t kProgressMinimum = 809000;
// The stop and skip flags are looked at after at most this many bytes.
constexpr uint64_t kCheckInterval = 64 * 1024;

bool IsShortcutName(std::string_view name)
{
    return name.size() >= 4 && Cp1252EqualsNoCase(name.substr(name.size() - 4), ".url");
}

bool HrefBefore(BlockReader& data, uint64_t start)
{
    std::string before;
    for (uint64_t p = start - 6; p < start; ++p) {
        const int c = data.At(p);
        if (c < 0)
            return false;
        before.push_back(static_cast<char>(c));
    }
    std::size_t b = 0;
    while (b < before.size() && (before[b] == ' ' || before[b] == '\t'))
        ++b;
    return Cp1252EqualsNoCase(std::string_view(before).substr(b, std::min<std::size_t>(5, before.size() - b)),
                              "href=");
}

} // namespace

struct LinkScanner::Impl
{
    explicit Impl(AppState& state) : app(state) {}

    // The outcome of one URL: where the scan goes on and whether the file ends.
    struct Step
    {
        uint64_t resume = 0;
        bool fileEnds = false;
    };

    Step ReadUrl(const AnchorEvent& anchor);
    void Accept(const std::string& url, const std::string& title, bool updateMode, Step& step);
    AnchorFinder& Finder();
    int Scan(const std::string& path, const char* data, std::size_t length, bool inMemory, const OpenedFile& file);

    AppState& app;
    BlockReader reader;
    std::unique_ptr<AnchorFinder> finder;
    ScanParams finderFrom; // what the finder was made from

    std::string fileText;
    std::string shortcutTitle;
    bool isShortcut = false;
    bool shortcutTitleGiven = false;
    std::string lastHit;
    std::string prevHit;
    std::string lastTitle;
    bool lastHitAdded = false;
    RowSink sink;
    TitleSink titleSink;
};

AnchorFinder& LinkScanner::Impl::Finder()
{
    // Made again only when the search changed: a folder search scans many files alike.
    const ScanParams& scan = app.scan;
    const ScanParams& made = finderFrom;
    if (!finder || made.itemKind != scan.itemKind || made.anchor1 != scan.anchor1 ||
        made.anchor2 != scan.anchor2 || made.anchor3 != scan.anchor3 || made.foldCase != scan.foldCase ||
        made.nonBinaryOnly != scan.nonBinaryOnly) {
        finder = std::make_unique<AnchorFinder>(scan, app.tables, scan.nonBinaryOnly);
        finderFrom = scan;
    }
    return *finder;
}

LinkScanner::Impl::Step LinkScanner::Impl::ReadUrl(const AnchorEvent& anchor)
{
    const ScanParams& scan = app.scan;
    const SearchSettings& settings = app.settings;
    const int policy = settings.duplicatesPolicy;
    const uint64_t start = anchor.pos;

    bool href = start >= 6 && !isShortcut && HrefBefore(reader, start);
    const int before = start > 0 ? reader.At(start - 1) : -1;
    const bool quotedHref = start >= 2 && before == '"' && reader.At(start - 2) == '=';

    // The URL: printable bytes, up to an apostrophe when one opened it; the stopping byte is used up.
    std::string url;
    uint64_t p = start;
    int stop = -1;
    while (url.size() < kMaxUrl) {
        const int c = reader.At(p);
        if (c < 0)
            break;
        ++p;
        if (!app.tables.printableUrlChars[static_cast<uint8_t>(c)] || (before == '\'' && c == '\'')) {
            stop = c;
            break;
        }
        url.push_back(static_cast<char>(c));
    }
    Step step;
    // A ">" that ends an href URL is left for the title reader.
    step.resume = (href && stop == '>') ? p - 1 : p;

    if (anchor.entity)
        DecodeNumericRefs(url);
    const auto lengthFails = [&] {
        return url.size() < static_cast<std::size_t>(std::max(scan.minLength, 0)) ||
               (policy != 0 && url.size() < static_cast<std::size_t>(scan.anchorLen) + 4);
    };
    if (lengthFails())
        return step;
    if (scan.topLevelOnly) {
        const std::size_t full = url.size();
        url = CutToHost(url);
        if (full - url.size() > 1)
            href = false; // the link text would not describe the shortened URL
    }
    CleanUrl(url, 0, scan.itemKind);
    while (!url.empty()) {
        const auto last = static_cast<uint8_t>(url.back());
        const bool unmatchedBracket = (last == ']' && url.find('[') == std::string::npos) ||
                                      (last == '}' && url.find('{') == std::string::npos);
        if (!unmatchedBracket && app.tables.tailTrimMap[last] != 0)
            break;
        url.pop_back();
    }
    if (lengthFails())
        return step;
    if (scan.itemKind == 0 && policy != 0 &&
        (Cp1252EqualsNoCase(url, "http://") || Cp1252EqualsNoCase(url, "ftp://") ||
         Cp1252EqualsNoCase(url, "https://")))
        return step;

    bool updateMode = false;
    if (policy != 0) {
        if (Cp1252EqualsNoCase(url, lastHit)) {
            if (!lastTitle.empty() || !href)
                return step;
            updateMode = true;
        }
        if (Cp1252EqualsNoCase(url, prevHit))
            return step;
    }
    if (settings.restrictEnabled && !MustNotPasses(app, url))
        return step;

    std::string title;
    if (isShortcut) {
        if (!shortcutTitleGiven) {
            title = shortcutTitle;
            shortcutTitleGiven = true;
        }
    } else if (href) {
        LinkTitleContext context;
        context.url = url;
        context.quotedHref = quotedHref;
        context.recordResume = true;
        context.anchorFirst1 = scan.anchor1.empty() ? 0 : static_cast<uint8_t>(scan.anchor1[0]);
        context.anchorFirst2 = scan.anchor2.empty() ? 0 : static_cast<uint8_t>(scan.anchor2[0]);
        context.caseSensitive = !scan.foldCase;
        LinkTitle read;
        ReadLinkTitle(reader, step.resume, reader.Size(), context, read);
        title = std::move(read.text);
        if (read.resume != LinkTitle::kNoResume)
            step.resume = std::max(step.resume, read.resume);
    }
    if (updateMode && title.empty())
        return step;
    if (settings.restrictEnabled) {
        if (!title.empty() && !MustNotPasses(app, title))
            return step;
        if (!MustPassesWithTitle(app, url, title))
            return step;
    }
    Accept(url, title, updateMode, step);
    return step;
}

void LinkScanner::Impl::Accept(const std::string& url, const std::string& title, bool updateMode, Step& step)
{
    const int policy = app.settings.duplicatesPolicy;
    if (policy != 0) {
        prevHit = lastHit;
        lastHit = url;
        lastTitle = title;
    }
    if (updateMode) {
        // Only the row of the repeated URL may take the title; when that URL was refused as a
        // duplicate of the whole list, no row of this file stands for it.
        if (titleSink) {
            if (lastHitAdded)
                titleSink(app, title);
            return;
        }
        const long row = app.listState.lastAddedRow;
        if (lastHitAdded && row >= 0 && static_cast<std::size_t>(row) < app.list.RowCount())
            app.list.SetCell(static_cast<std::size_t>(row), 1, title);
        return;
    }
    app.listState.rowTexts[1] = title;
    app.listState.rowTexts[2] = fileText;
    const long row = sink ? sink(app, url) : AddResultRow(app, url);
    lastHitAdded = row >= 0;
    if (row < 0)
        return;
    const long hits = app.search.hitCount.fetch_add(1) + 1;
    app.status.ShowRowCount(hits);
    if (policy == 3)
        step.fileEnds = true;
}

LinkScanner::LinkScanner(AppState& app) : m_impl(new Impl(app)) {}

LinkScanner::~LinkScanner()
{
    delete m_impl;
}

void LinkScanner::SetRowSink(RowSink sink)
{
    m_impl->sink = std::move(sink);
}

void LinkScanner::SetTitleSink(TitleSink sink)
{
    m_impl->titleSink = std::move(sink);
}

int LinkScanner::ScanLinks(const std::string& path, const OpenedFile& file)
{
    return m_impl->Scan(path, nullptr, 0, false, file);
}

int LinkScanner::ScanLinksInMemory(const char* data, std::size_t length, const std::string& path)
{
    return m_impl->Scan(path, data, length, true, {});
}

int LinkScanner::Impl::Scan(const std::string& path, const char* data, std::size_t length, bool inMemory,
                            const OpenedFile& file)
{
    Impl& s = *this;
    s.lastHit.clear();
    s.prevHit.clear();
    s.lastTitle.clear();
    s.lastHitAdded = false;
    s.shortcutTitleGiven = false;
    app.jobs.skipRequested.store(false);

    const std::size_t slash = path.rfind('/');
    const std::string_view name =
        slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
    if (inMemory) {
        s.reader.Attach(data, length);
    } else if (file.fd >= 0) {
        s.reader.Borrow(file);
    } else if (!s.reader.Open(path)) {
        app.status.SetStatusText("Could not open " + std::string(name) + " ", 1);
        app.ui.ReportUnreadable("Could not open " + path + " ");
        return 0;
    }
    s.isShortcut = IsShortcutName(name);
    s.shortcutTitle.clear();
    if (s.isShortcut)
        s.shortcutTitle = name.substr(0, std::min<std::size_t>(name.size() - 4, kMaxUrl));
    s.fileText = path;
    if (app.listState.kind == kListFavorites) {
        if (!s.isShortcut) {
            s.reader.Close();
            return 0;
        }
        std::string root = app.search.favoritesFolder;
        while (root.size() > 1 && root.back() == '/')
            root.pop_back();
        if (!root.empty() && path.size() > root.size() + 1 && path.compare(0, root.size(), root) == 0 &&
            path[root.size()] == '/')
            s.fileText = path.substr(root.size() + 1);
    }
    if (app.search.severalFiles)
        app.status.SetStatusText(path, 1);

    AnchorFinder& finder = s.Finder();
    Progress progress(app, s.reader.Size(), s.reader.Size() >= kProgressMinimum);
    uint64_t pos = 0;
    uint64_t nextCheck = kCheckInterval;
    while (pos < s.reader.Size() && app.jobs.ScanGoesOn()) {
        const uint64_t limit = std::min(s.reader.Size(), pos + kCheckInterval);
        const AnchorEvent event = finder.Next(s.reader, pos, limit);
        if (event.kind == AnchorEvent::kBinary)
            break;
        if (event.kind == AnchorEvent::kNone) {
            pos = limit;
        } else {
            const Impl::Step step = s.ReadUrl(event);
            pos = std::max(step.resume, event.pos + 1);
            if (step.fileEnds)
                break;
        }
        if (pos >= nextCheck) {
            progress.Advance(pos);
            nextCheck = pos + kCheckInterval;
        }
    }
    progress.Advance(pos);
    s.reader.Close();
    return 1;
}

} // namespace lt
