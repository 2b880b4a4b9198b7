// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "sources/byte_source.h"

namespace lt {

// The kinds of index file the "MSIE Index file" dialog offers.
enum IndexFileKind : int {
    kIndexMainHistory = 1,
    kIndexSubHistory = 2,
    kIndexTempFiles = 3,
    kIndexCookies = 4,
};

inline constexpr uint64_t kIndexRecordArea = 20480;
inline constexpr uint64_t kIndexBlock = 128;

// One listed record.
struct IndexRow
{
    uint64_t offset = 0; // of the record in the file
    std::string url, user, hits, date1, date2;
    std::string textFile; // cookie reader: the text file name, "**" + name when it is missing
};

struct IndexScanOptions
{
    bool cookieReader = false; // ReadCookieIndex's rules instead of ReadIndexFile's
    std::string label;
    int kind = kIndexMainHistory;
    // Cookie reader: whether a plain text-file name exists beside the index file.
    std::function<bool(const std::string& name)> textFileExists;
    // Asked before every record; false stops the scan.
    std::function<bool()> goOn;
};

struct IndexScanResult
{
    bool tooShort = false;     // under 20480 bytes: no records
    bool formatValid = true;   // cookie reader: false for a foreign header
    std::string versionText;   // the three characters at offset 24
    long rows = 0;
};

// Scans an index file for its URL records and hands each listed one to `onRow`.
IndexScanResult ScanIndexFile(ByteSource& source, const IndexScanOptions& options,
                              const std::function<void(const IndexRow&)>& onRow);

// A cookie text-file name that names a file in the index file's own folder and nothing else.
bool IsPlainFileName(const std::string& name);

// Blanks the record at `offset` in the index file bytes: its own 128-byte blocks, or (when the
// block count is 0 or runs past the file) its 16-byte lines up to the next structure. False when
// no record starts there.
bool BlankIndexRecord(std::string& bytes, uint64_t offset);

} // namespace lt
