// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include "search/block_reader.h"
#include "search/row_sink.h"

namespace lt {

struct AppState;

// Finds the URLs of kinds 0 to 3 with their link titles. One scanner object per search; worker thread.
class LinkScanner
{
public:
    explicit LinkScanner(AppState& app);
    ~LinkScanner();
    // Scans one file; 1 when it was read, 0 when it could not be opened (or, for the favorites
    // list, when it is not an Internet shortcut). With an open `file` (the caller closes it) the
    // path only names it.
    int ScanLinks(const std::string& path, const OpenedFile& file = {});
    // Scans bytes held in memory as if they were the file `path` (which is not opened); always 1,
    // or 0 for a favorites list when `path` names no Internet shortcut.
    int ScanLinksInMemory(const char* data, std::size_t length, const std::string& path);
    // Where the accepted URLs go instead of the result list (AddResultRow when unset).
    void SetRowSink(RowSink sink);
    // Where a later title of the last added row goes instead of the list.
    void SetTitleSink(TitleSink sink);

private:
    struct Impl;
    Impl* m_impl;
};

} // namespace lt
