// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/page_item_scanner.h"

#include <algorithm>
#include <cstring>

#include <strings.h>

#include "core/app_state.h"
#include "list/add_result_row.h"
#include "search/block_reader.h"
#include "search/entities.h"
#include "search/filter_words.h"
#include "search/link_title.h"
#include "search/page_links.h"

namespace lt {
namespace {

bool EndsNoCase(const std::string& text, const char* suffix)
{
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

bool SameNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace

PageItemScanner::PageItemScanner(AppState& app) : m_app(app) {}

void PageItemScanner::NewPage(const ScannedPage& page)
{
    m_guardArmed = true;
    m_pageDone = false;
    m_last[0].clear();
    m_last[1].clear();
    const bool scriptLike = EndsNoCase(page.pageUrl, ".js") || EndsNoCase(page.pageUrl, "css");
    m_attributes = m_app.scan.itemKind == 0 && (page.isHtml || scriptLike);
}

int PageItemScanner::ScanBuffer(const char* data, std::size_t length, std::size_t chunkLength, bool lastBuffer,
                                ScannedPage& page)
{
    if (m_pageDone)
        return 0;
    const ScanParams& scan = m_app.scan;
    const SearchSettings& settings = m_app.settings;
    PageLinkConfig config;
    config.prefixes = {scan.anchor1, scan.anchor2};
    if (!scan.anchor3.empty())
        config.prefixes.insert(config.prefixes.begin() + 1, scan.anchor3);
    config.caseSensitive = !scan.foldCase;
    config.encodedColon = scan.itemKind == 0;
    config.javascriptHref = true;
    config.cutFragment = false;
    config.repeatTest = false; // the duplicate policy below decides
    config.minLength = static_cast<std::size_t>(std::max(scan.minLength, 1));
    config.baseUrl = page.baseUrl;
    config.pageUrl = page.pageUrl;

    BlockReader reader;
    reader.Attach(data, length);
    int added = 0;
    const int policy = settings.duplicatesPolicy;
    auto onHit = [&](const PageLinkHit& hit) {
        std::string value = hit.value;
        if (scan.itemKind == 0 && (SameNoCase(value, "http://") || SameNoCase(value, "ftp://")))
            return true;
        if (policy != 0 && hit.keyword == PageKeyword::Href && value.size() < 11)
            return true;
        if (scan.topLevelOnly && !page.crawl)
            value = CutToHost(value);
        std::string title;
        if (hit.keyword == PageKeyword::Href || hit.keyword == PageKeyword::Prefix) {
            LinkTitleContext context;
            context.url = value;
            context.quotedHref = hit.quoted && hit.keyword == PageKeyword::Href;
            context.caseSensitive = !scan.foldCase;
            LinkTitle read;
            ReadLinkTitle(reader, hit.end, length, context, read);
            title = std::move(read.text);
        }
        if (policy != 0) {
            const bool repeatsLast = SameNoCase(value, m_last[0]) &&
                                     !(hit.keyword == PageKeyword::Href && title.empty());
            if (repeatsLast || SameNoCase(value, m_last[1]))
                return true;
            m_last[1] = std::move(m_last[0]);
            m_last[0] = value;
        }
        if (settings.restrictEnabled) {
            if (!title.empty() && !MustNotPasses(m_app, title))
                return true;
            if (!MustPassesWithTitle(m_app, value, title))
                return true;
        }
        m_app.listState.rowTexts[1] = title;
        for (std::size_t i = 0; i < page.cells.size() && i + 2 < m_app.listState.rowTexts.size(); ++i)
            m_app.listState.rowTexts[i + 2] = page.cells[i];
        const long row = m_sink ? m_sink(m_app, value) : AddResultRow(m_app, value);
        if (row < 0)
            return true;
        ++added;
        const long hits = m_app.search.hitCount.fetch_add(1) + 1;
        m_app.status.ShowRowCount(hits);
        if (policy == 3) {
            m_pageDone = true;
            return false;
        }
        return true;
    };

    std::size_t start = 0;
    for (;;) {
        config.attributes = m_attributes;
        config.binaryGuard = m_guardArmed;
        std::size_t stopped = 0;
        const bool clean = ReadPageLinks(m_app.tables, config, data, length, chunkLength, lastBuffer, onHit, start,
                                         &stopped);
        if (clean)
            break;
        // A control byte: the page is binary; only plain addresses are taken from here on.
        m_guardArmed = false;
        m_attributes = false;
        page.isHtml = false;
        if (page.crawl)
            page.followLinks = false;
        start = stopped + 1;
    }
    m_guardArmed = false; // armed at the first chunk of a page only
    return added;
}

} // namespace lt
