// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/crawl_window_report.h"

#include <ctime>

#include "core/window_messages.h"
#include "inet/inet_texts.h"
#include "inet/job_window_port.h"

namespace lt {

namespace {

constexpr int kStatusColumn = 3;

// A failure text becomes one caption line.
std::string CaptionLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    std::string out;
    for (char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ')
            out.push_back(c);
    return out;
}

} // namespace

void LocalClock(int& hours, int& minutes)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    hours = local.tm_hour;
    minutes = local.tm_min;
}

std::vector<std::string> CrawlListHeaders(bool crawl)
{
    if (crawl)
        return {"Links", "Level", "Parent", "Status"};
    return {"Remote File"};
}

std::vector<std::string> CrawlRowCells(const CrawlRow& row, bool crawl)
{
    if (!crawl)
        return {row.url};
    return {row.url, std::to_string(row.level), row.parent, row.status};
}

CrawlWindowReport::CrawlWindowReport(JobWindowPort& port, bool crawl, ClockReading clock)
    : m_port(port), m_crawl(crawl), m_clock(std::move(clock))
{
}

void CrawlWindowReport::RowStatus(std::size_t row, const std::string& status)
{
    // A list read has no Status column: its failed rows simply stay.
    if (m_crawl)
        m_port.SetCell(row, kStatusColumn, status);
}

void CrawlWindowReport::RowRemoved(std::size_t row) { m_port.RemoveRow(row); }

void CrawlWindowReport::RowAdded(const CrawlRow& row) { m_port.AddRow(CrawlRowCells(row, m_crawl)); }

void CrawlWindowReport::RowStarted(std::size_t row) { m_port.ShowRow(row); }

void CrawlWindowReport::UrlLine(const std::string& url)
{
    m_port.SetCaption("Read Internet Files");
    m_port.SetUrlLine(url);
}

void CrawlWindowReport::SaveLine(const std::string& path) { m_port.SetSaveLine(path); }

void CrawlWindowReport::StateLine(int stateIndex)
{
    int hours = 0, minutes = 0;
    if (stateIndex == 0 && m_clock)
        m_clock(hours, minutes);
    m_port.SetStatusLine(JobStateText(stateIndex, hours, minutes));
}

void CrawlWindowReport::CounterLine(const std::string& text) { m_port.SetCounterLine(text); }

void CrawlWindowReport::JobEnded(const CrawlResult& result)
{
    if (!result.error.empty())
        m_port.SetCaption(CaptionLine(result.error));
    StateLine(0);
    m_port.Post(kMsgCloseIfIdle, result.retrieved > 0 ? 1 : 0);
}

} // namespace lt
