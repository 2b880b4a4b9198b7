// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "inet/download_job.h"

namespace lt {

struct InetSlot;

// Runs a DownloadJob on a thread of its own for a window. The window thread calls Start*, Skip,
// Cancel, EndDelay and Join; the list and the observer belong to the job thread while it runs.
class DownloadRunner
{
public:
    // `clock` (kept by reference) times the delay and the transfer rate; null: the steady clock.
    explicit DownloadRunner(InetSlot& slot, const DelayClock* clock = nullptr);
    // Cancels a running job and waits for its thread.
    ~DownloadRunner();
    DownloadRunner(const DownloadRunner&) = delete;
    DownloadRunner& operator=(const DownloadRunner&) = delete;

    using Done = std::function<void(const DownloadResult&)>;
    // Start a job; false while one runs. `done` is called on the job thread as its last act, after
    // the slot went back to idle (unless the main window is closing).
    bool StartBatch(DownloadList& list, DownloadSettings settings, FetchSettings fetch, std::size_t startRow,
                    DownloadObserver& observer, Done done = {});
    bool StartSingle(SingleDownload download, FetchSettings fetch, DownloadObserver& observer, Done done = {});
    // The current file is abandoned (what arrived stays) and the job goes on.
    void Skip();
    // The job ends within about 100 ms; a delay ends first.
    void Cancel();
    // "&OK" during a delay: the next pass starts now.
    void EndDelay();
    bool Running() const;
    void Join();

private:
    bool Launch(std::function<DownloadResult(DownloadJob&)> run, FetchSettings fetch, DownloadObserver& observer,
                Done done);

    InetSlot& m_slot;
    DelayClock m_steady;
    const DelayClock& m_clock;
    DelayGate m_gate;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

} // namespace lt
