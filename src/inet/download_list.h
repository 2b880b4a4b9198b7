// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lt {

// One row of the batch download's list: the remote file and the second column, which shows the
// file's size once its transfer starts, or "Error ..." after a failure.
struct DownloadRow
{
    std::string url;
    std::string info;
};

// The batch download's list. The window fills it while idle; while a job runs the job thread alone
// changes it (and tells the window what it changed).
using DownloadList = std::vector<DownloadRow>;

// Adds the URLs in order, each once: an empty one or one equal to the URL before it is skipped.
void AddDownloadRows(DownloadList& list, const std::vector<std::string>& urls);

// Reads a text file of URLs (one a line, trimmed, at most 150000 lines; only URL texts, each once).
// Returns the number of rows added, -1 with `error` when the file cannot be read.
long ReadDownloadListFile(DownloadList& list, const std::string& path, std::string& error);

// The size text of a file: " 5000 Bytes ", " 14.0 K (15000 Bytes) ", " 2.05 M (2097152 Bytes) ".
std::string DownloadSizeText(uint64_t bytes);

// The log of successful downloads in a save directory.
inline constexpr const char* kDownloadLogName = "linktrawl.log";

// Appends `url` and "\r\n" to "linktrawl.log" in `directory` in one write. False when the log
// could not be written.
bool AppendDownloadLog(const std::string& directory, const std::string& url);

} // namespace lt
