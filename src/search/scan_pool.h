// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "list/result_list.h"
#include "search/block_reader.h"

namespace lt {

struct AppState;

// The number of scan workers a search uses: `SEARCH`/`THREADS`, 0 for every processor the
// process may run on; at most kMaxScanWorkers.
inline constexpr int kMaxScanWorkers = 64;
int SearchWorkerCount(const AppState& app);

// Scans the files of one search on several threads with the result of one scanner taking them in
// turn. Each worker scans with a scanner of its own over a copy of the search state; what a file
// yields (rows, a later title, status texts, its progress bar) is recorded and replayed on the
// thread that queues the files (the job's worker), which alone touches the list, the counters and
// the status bar, file by file in the order they were queued. So duplicates, counters and messages
// are those of a single scanner. Skip ends the file being replayed (the one the status bar names);
// a stop drops every file in flight. What waits behind an earlier file is bounded: a worker whose
// file is not the one replayed waits while the recorded bytes exceed the limit, and the queue of
// files is short, so that a slow or huge file makes the walk wait.
class ScanPool
{
public:
    using RowTexts = std::array<std::string, kMaxColumns>;
    // Called on the queuing thread once a file's record has been replayed, with the scan's result
    // (1 read, 0 could not be opened).
    using Done = std::function<void(int result)>;

    static constexpr std::size_t kDefaultMaxBuffered = 8u << 20;

    // The search state (settings, scan parameters, list kind) is copied now: later changes do not
    // reach the workers. Uses the link scanner for kinds 0 to 3, the item scanner otherwise.
    ScanPool(AppState& app, int workers, std::size_t maxBuffered = kDefaultMaxBuffered);
    // Drops what was not replayed and ends the workers.
    ~ScanPool();
    ScanPool(const ScanPool&) = delete;
    ScanPool& operator=(const ScanPool&) = delete;

    // Queues a file: `path`, opened as `file` (which the pool then owns and closes; fd -1 to have it
    // opened by the scan) with the row texts the walk set for it. Replays what is ready first and
    // waits while the queue is full. After a stop the file is closed and forgotten.
    void Submit(const std::string& path, OpenedFile file, const RowTexts& texts, Done done = {});
    // Replays every queued file; returns when none is left (at once after a stop).
    void Drain();

    // The most bytes of records that waited at one time (tests).
    std::size_t PeakBufferedBytes() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace lt
