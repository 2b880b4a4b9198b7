// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "search/block_reader.h"
#include "search/row_sink.h"

namespace lt {

struct AppState;
struct PageRecord;

// Finds the items of kinds 4 to 7 (user strings, Javascript functions, e-mail and IP addresses).
// One scanner object per search; it runs on the worker thread and adds rows with AddResultRow.
class ItemScanner
{
public:
    explicit ItemScanner(AppState& app);
    ~ItemScanner();
    // Scans one file; 1 when it was read (with or without hits), 0 when it could not be opened.
    // With an open `file` (the caller closes it) the path only names it.
    int ScanFile(const std::string& path, const OpenedFile& file = {});
    // Scans one window of a page held in memory (the crawler). The row's file text is left as the
    // caller put it into the row texts.
    int ScanBuffer(const char* data, std::size_t length, uint64_t baseOffset, PageRecord& page);
    // Reads every byte through the matching loop instead of skipping to the anchor's first byte;
    // both give the same rows (the tests compare them).
    void SetReferencePath(bool on);
    // Where the accepted items go instead of the result list (AddResultRow when unset).
    void SetRowSink(RowSink sink);

private:
    struct Impl;
    Impl* m_impl;
};

} // namespace lt
