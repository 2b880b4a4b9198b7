// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "inet/fetch.h"
#include "inet/word_filter.h"

namespace lt {

struct AppState;
struct InetOptions;
struct InetSlot;

// One row of the crawl queue (the job window's list): "Links", "Level", "Parent", "Status".
struct CrawlRow
{
    std::string url;
    int level = 0;
    std::string parent;
    std::string status;
};

// The queue of a crawl: the ordered rows still to read and every URL ever queued (a hash set
// keyed by the folded URL, so that a large crawl is not quadratic).
class CrawlQueue
{
public:
    // Adds `url` unless it was queued before (ignoring case). True when it was new.
    bool Add(const std::string& url, int level, const std::string& parent);
    // Marks `url` as seen without queuing it (a followed redirect's target). True when it was new.
    bool MarkSeen(const std::string& url);
    bool Seen(const std::string& url) const;
    std::vector<CrawlRow>& Rows() { return m_rows; }
    const std::vector<CrawlRow>& Rows() const { return m_rows; }

private:
    static std::string Key(const std::string& url);
    std::vector<CrawlRow> m_rows;
    std::unordered_set<std::string> m_seen;
};

// The settings a crawl runs with (the dialog's, or the INI file's in unattended runs).
struct CrawlSettings
{
    bool followLinks = true;   // crawl; false reads the list without following
    int level = 1;             // pages below this level yield links
    int retries = 0;
    bool saveToDisk = false;
    std::string saveDir;
    bool saveOnly = false;
    bool enumerativeNames = false;
    std::string baseFileName;
    WordFilter followFilter;
    WordFilter saveFilter;
};

CrawlSettings CrawlSettingsFrom(const InetOptions& options);

// What the crawl tells its window; the default does nothing (unattended runs).
class CrawlObserver
{
public:
    virtual ~CrawlObserver() = default;
    virtual void RowStatus(std::size_t /*row*/, const std::string& /*status*/) {}
    virtual void RowRemoved(std::size_t /*row*/) {}
    virtual void RowAdded(const CrawlRow& /*row*/) {}
    virtual void UrlLine(const std::string& /*url*/) {}
    virtual void SaveLine(const std::string& /*path*/) {}
    virtual void StateLine(int /*stateIndex*/) {}
    virtual void CounterLine(const std::string& /*text*/) {}
    // The row at this index is requested next.
    virtual void RowStarted(std::size_t /*row*/) {}
    // A redirect (506 inside the URL, 507 elsewhere) to `target`: false ends the row unread.
    virtual bool TakeRedirect(int /*status*/, const std::string& /*target*/) { return true; }
};

// The end of a crawl.
struct CrawlResult
{
    long retrieved = 0;
    long failed = 0;      // rows left with a status
    bool cancelled = false;
    bool declined = false; // a redirect was not taken (TakeRedirect)
    int retriesLeft = 0;  // what the Retries count came down to
    uint64_t bytesRead = 0;
    std::string pageTitle; // of the last page read
    std::string error;    // a failure that ended the whole job ("Can not create/open directory ...")
};

// The largest page that is scanned; the rest of a bigger page fails it.
inline constexpr uint64_t kMaxScannedPage = 64ull << 20;

// True when the text looks like HTML (the first "<" and what follows it).
bool IsHtmlPage(const char* data, std::size_t length);

// Runs the crawl over `queue` on the calling thread (the job thread) with `slot` (state running):
// each row is requested, redirects are taken as the crawl takes them (at most 10 per row), a
// page is scanned for the chosen item kind into the result list (prepared by the caller), its
// links are queued one level deeper and it is saved when asked; rows that fail keep their status
// and Retries passes go over them again. A cancel or skip through the slot ends the current
// transfer within about 100 ms.
CrawlResult CrawlJob(AppState& app, InetSlot& slot, const CrawlSettings& settings, const FetchSettings& fetch,
                     CrawlQueue& queue, CrawlObserver& observer);

} // namespace lt
