// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/crawl_runner.h"

#include "core/app_state.h"
#include "inet/inet_slot.h"

namespace lt {

CrawlRunner::CrawlRunner(AppState& app, InetSlot& slot) : m_app(app), m_slot(slot) {}

CrawlRunner::~CrawlRunner()
{
    if (Running())
        Cancel();
    Join();
}

bool CrawlRunner::Start(CrawlSettings settings, FetchSettings fetch, CrawlQueue& queue, CrawlObserver& observer,
                        std::function<void(const CrawlResult&)> done)
{
    if (m_running.load())
        return false;
    Join();
    m_slot.stopped = false;
    m_slot.skipped = false;
    m_slot.state = kSlotRunning;
    m_app.jobs.jobCode = kJobConnecting;
    m_running = true;
    m_thread = std::thread([this, settings = std::move(settings), fetch = std::move(fetch), &queue, &observer,
                            done = std::move(done)] {
        m_app.jobs.jobCode = kJobInetRead;
        const CrawlResult result = CrawlJob(m_app, m_slot, settings, fetch, queue, observer);
        // The main window may be closing: then the slot says so and stays as it is.
        uint32_t state = m_slot.state.load();
        if (state != kSlotClosing)
            m_slot.state = kSlotIdle;
        int32_t code = m_app.jobs.Code();
        if (code == kJobInetRead || code == kJobInetStop || code == kJobConnecting)
            m_app.jobs.jobCode = kJobCrawlIdle;
        m_running = false;
        if (done)
            done(result);
    });
    return true;
}

void CrawlRunner::Skip()
{
    if (m_running.load())
        m_slot.RequestSkip();
}

void CrawlRunner::Cancel()
{
    if (m_running.load())
        m_slot.RequestCancel();
}

bool CrawlRunner::Running() const { return m_running.load(); }

void CrawlRunner::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace lt
