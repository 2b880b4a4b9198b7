// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/download_runner.h"

#include "inet/inet_slot.h"

namespace lt {

DownloadRunner::DownloadRunner(InetSlot& slot, const DelayClock* clock)
    : m_slot(slot), m_clock(clock ? *clock : m_steady)
{
}

DownloadRunner::~DownloadRunner()
{
    if (Running())
        Cancel();
    Join();
}

bool DownloadRunner::Launch(std::function<DownloadResult(DownloadJob&)> run, FetchSettings fetch,
                            DownloadObserver& observer, Done done)
{
    if (m_running.load())
        return false;
    Join();
    m_slot.stopped = false;
    m_slot.skipped = false;
    m_slot.retrieved = 0;
    m_slot.state = kSlotRunning;
    m_gate.Close();
    m_running = true;
    m_thread = std::thread([this, run = std::move(run), fetch = std::move(fetch), &observer,
                            done = std::move(done)]() mutable {
        DownloadJob job(m_slot, std::move(fetch), observer, m_clock, m_gate);
        const DownloadResult result = run(job);
        // The main window may be closing: then the slot says so and stays as it is.
        if (m_slot.state.load() != kSlotClosing)
            m_slot.state = kSlotIdle;
        m_running = false;
        if (done)
            done(result);
    });
    return true;
}

bool DownloadRunner::StartBatch(DownloadList& list, DownloadSettings settings, FetchSettings fetch,
                                std::size_t startRow, DownloadObserver& observer, Done done)
{
    return Launch([&list, settings = std::move(settings), startRow](
                      DownloadJob& job) { return job.RunBatch(list, settings, startRow); },
                  std::move(fetch), observer, std::move(done));
}

bool DownloadRunner::StartSingle(SingleDownload download, FetchSettings fetch, DownloadObserver& observer, Done done)
{
    return Launch([download = std::move(download)](DownloadJob& job) { return job.RunSingle(download); },
                  std::move(fetch), observer, std::move(done));
}

void DownloadRunner::Skip()
{
    if (m_running.load())
        m_slot.RequestSkip();
}

void DownloadRunner::Cancel()
{
    if (!m_running.load())
        return;
    m_slot.RequestCancel();
    m_gate.Open();
}

void DownloadRunner::EndDelay() { m_gate.Open(); }

bool DownloadRunner::Running() const { return m_running.load(); }

void DownloadRunner::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace lt
