// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lt {

enum ItemKind : int {
    kItemHttpFtp = 0,
    kItemMailtoNews = 1,
    kItemGopherWais = 2,
    kItemTelnet = 3,
    kItemUser = 4,
    kItemJavascript = 5,
    kItemEmail = 6,
    kItemIp = 7,
};

inline constexpr int kHistorySize = 7;
using History = std::array<std::string, kHistorySize>;

// A date of the folder dialog's date fields.
struct FilterDate
{
    int year = 1990, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    uint8_t flag1 = 0, flag2 = 0;
    std::string text; // the formatted date, at most 29 characters
};

struct SizeLimit
{
    bool on = false;
    uint64_t bytes = 0; // 64-bit: files of 4 GiB and more are compared correctly
};

// The one process-wide record of search options; edited by the options pages and dialogs,
// stored in the INI and settings files, read by the scanners through ScanParams.
struct SearchSettings
{
    int itemKind = kItemHttpFtp;
    History userStrings{"Saved by Linktrawl from:"};
    bool userHex = false;
    bool userUrlLike = false;
    bool userEntireLine = true;
    bool userPrefix = false;
    bool caseSensitive = false;
    int minimalLength = 6;
    int previousMinimalLength = 6;
    int ipSumLimit = 10;
    int duplicatesPolicy = 1;
    bool onlyTopLevelDomains = false;
    bool restrictEnabled = false;
    std::string mustText;
    History mustHistory{};
    bool mustAll = false;
    std::string mustNotText;
    History mustNotHistory{};
    bool mustNotAll = false;
    int fileTypeMode = 2;
    std::string includeMasks;
    std::string excludeMasks;
    History includeMaskHistory{};
    History excludeMaskHistory{};
    History folders{};
    bool includeSubdirectories = false;
    bool dateFilter = false;
    int dateField = 1;
    FilterDate dateFrom;
    FilterDate dateTo;
    SizeLimit sizeAbove;
    SizeLimit sizeBelow;
    // "https://" found by the URL scan of kind 0 beside "http://" and "ftp://".
    bool findHttps = true;
    // The other flags of "R12" (positions 3, 4, 6, 7), kept so that they are written back.
    std::string r12 = "0000010";
    // Scan workers of a file search ("THREADS"): 0 one per processor the process may use, 1 the
    // search scans one file at a time on its own thread.
    int threads = 0;
};

} // namespace lt
