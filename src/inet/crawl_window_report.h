// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "inet/crawl_job.h"

namespace lt {

class JobWindowPort;

// The hours and minutes the idle status line shows.
using ClockReading = std::function<void(int& hours, int& minutes)>;
// The local time of day.
void LocalClock(int& hours, int& minutes);

// The columns of the "Read Internet Files" window's list: "Links", "Level", "Parent", "Status"
// while crawling, the one "Remote File" while reading a list.
std::vector<std::string> CrawlListHeaders(bool crawl);
// The cells a queued row shows.
std::vector<std::string> CrawlRowCells(const CrawlRow& row, bool crawl);

// What a crawl shows in its window: turns the crawl's events into the window's texts and rows.
class CrawlWindowReport : public CrawlObserver
{
public:
    CrawlWindowReport(JobWindowPort& port, bool crawl, ClockReading clock = LocalClock);

    void RowStatus(std::size_t row, const std::string& status) override;
    void RowRemoved(std::size_t row) override;
    void RowAdded(const CrawlRow& row) override;
    void RowStarted(std::size_t row) override;
    void UrlLine(const std::string& url) override;
    void SaveLine(const std::string& path) override;
    void StateLine(int stateIndex) override;
    void CounterLine(const std::string& text) override;

    // The job's end: the caption shows a failure that ended it, the status line is idle again and
    // message 2391 tells the window whether anything was retrieved.
    void JobEnded(const CrawlResult& result);

private:
    JobWindowPort& m_port;
    bool m_crawl;
    ClockReading m_clock;
};

} // namespace lt
