// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace lt {

struct AppState;

// Values of the job code; 0 is idle.
enum JobCodeValue : int32_t {
    kJobIdle = 0,
    kJobPickedFiles = 1,
    kJobFolderSearch = 2,
    kJobFileList = 3,
    kJobRemoveDupes = 4,
    kJobListEdit = 5,
    kJobBookmarks = 6,
    kJobIndexReader = 7,
    kJobRegistry = 101,
    kJobOwnIcons = 110,
    kJobTempSort = 120,
    kJobConnecting = 200,
    kJobInetRead = 201,
    kJobColumnSort = 1101,
    kJobInetError = 1202,
    kJobInetStop = 1203,
    kJobCrawlIdle = 1220,
};

// The argument block handed to a numbered helper thread.
struct JobParam
{
    int32_t value = 0;
    int32_t slot = 0;
};

using JobEntry = std::function<void(AppState&)>;

// The process-wide job state: one list job at a time, stopped through the job code and asked to
// skip the current file through the skip flag. Loads in hot loops are relaxed.
struct JobControl
{
    std::atomic<int32_t> jobCode{0};
    std::atomic<bool> skipRequested{false};
    std::atomic<bool> listBusy{false};
    std::atomic<bool> closing{false};
    std::array<std::atomic<uint8_t>, 256> threadSlots{};
    std::atomic<int> numberedThreads{-1};
    JobParam jobParam;
    std::jthread worker; // the last list job started
    // Numbered helper threads still running or not yet joined, each with its end flag; joined
    // by JoinWorker (and so when AppState ends).
    std::vector<std::jthread> numbered;
    std::vector<std::shared_ptr<std::atomic<bool>>> numberedDone;
    // Set by the internet layer: aborts the open connection and closes its request and session
    // handles when "S&top Search" stops a job in state 200 or 201.
    std::function<void()> abortConnection;
    // Window-thread work a job leaves for its end, such as settings it replaced for its run: the
    // worker must not write what the window reads meanwhile. See RunAfterJob.
    JobEntry afterJob;

    int32_t Code() const { return jobCode.load(std::memory_order_relaxed); }
    bool Running() const { return Code() != 0; }
    // True while a scan loop should go on with the current file.
    bool ScanGoesOn() const
    {
        return jobCode.load(std::memory_order_relaxed) != 0 && !skipRequested.load(std::memory_order_relaxed);
    }
};

// Starts `entry` on the worker thread as the job `code`. Refuses (returns false) when a job runs.
// On a thread that cannot be started the job code goes back to 0 and false is returned.
bool StartJob(AppState& app, int32_t code, JobEntry entry);

// "S&top Search": asks or stops as the job code requires. Window thread.
void StopJob(AppState& app);
// Stops the running job at once (internet jobs go to 1203).
void StopCurrent(AppState& app);
// "S&kip File": sets the skip flag when a job runs.
void SkipFile(AppState& app);
// Waits for the last worker to end (used on close and by tests).
void JoinWorker(AppState& app);
// Runs and clears app.jobs.afterJob once no job runs. Window thread (or the one thread of an
// unattended run, after JoinWorker): on kMsgSearchDone, before the next job starts and on close.
void RunAfterJob(AppState& app);

using NumberedEntry = std::function<void(AppState&, JobParam)>;
// Starts a numbered helper thread (the domain tree); returns the slot number or -1.
int StartNumberedThread(AppState& app, NumberedEntry entry, int32_t value);

} // namespace lt
