// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "search/row_sink.h"

namespace lt {

struct AppState;

// The page whose chunks the item scanner receives.
struct ScannedPage
{
    std::string pageUrl;
    std::string baseUrl;               // base folder of the page (ends in "/")
    bool isHtml = false;               // cleared when the page turns out to be binary
    bool followLinks = true;           // cleared with it in a crawl
    bool crawl = false;                // never reduce hits to their host during a crawl
    std::vector<std::string> cells;    // row texts from column 2 on (saved file, remote file)
};

// Finds the items of the URL kinds 0 to 3 in the chunks of a fetched page and adds them as rows
// with their link titles. One scanner per job; job thread.
class PageItemScanner
{
public:
    explicit PageItemScanner(AppState& app);
    // Starts a page: arms the binary guard, the attributes and the repeat memory anew.
    void NewPage(const ScannedPage& page);
    // Scans the chunk `data[0, chunkLength)` with the bytes behind it as look-ahead (the whole
    // buffer when `lastBuffer`). Returns the rows added.
    int ScanBuffer(const char* data, std::size_t length, std::size_t chunkLength, bool lastBuffer, ScannedPage& page);
    // Where accepted items go instead of AddResultRow.
    void SetRowSink(RowSink sink) { m_sink = std::move(sink); }

private:
    AppState& m_app;
    RowSink m_sink;
    bool m_guardArmed = true;
    bool m_attributes = true;
    bool m_pageDone = false;
    std::string m_last[2];
};

} // namespace lt
