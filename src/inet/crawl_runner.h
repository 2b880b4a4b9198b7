// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <thread>

#include "inet/crawl_job.h"

namespace lt {

struct AppState;
struct InetSlot;

// Runs CrawlJob on a thread of its own for a job window. The window thread calls Start, Skip,
// Cancel and Join; the queue and the observer belong to the job thread while it runs (the
// observer's calls arrive on that thread, so a window posts them to itself).
class CrawlRunner
{
public:
    CrawlRunner(AppState& app, InetSlot& slot);
    // Cancels a running crawl and waits for its thread.
    ~CrawlRunner();
    CrawlRunner(const CrawlRunner&) = delete;
    CrawlRunner& operator=(const CrawlRunner&) = delete;

    // Starts the crawl over `queue`; false while one runs. `done` is called on the job thread as
    // its last act, after the slot went back to idle.
    bool Start(CrawlSettings settings, FetchSettings fetch, CrawlQueue& queue, CrawlObserver& observer,
               std::function<void(const CrawlResult&)> done = {});
    // The current row is abandoned at once and the crawl goes on with the next one.
    void Skip();
    // The crawl ends within about 100 ms.
    void Cancel();
    bool Running() const;
    void Join();

private:
    AppState& m_app;
    InetSlot& m_slot;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

} // namespace lt
