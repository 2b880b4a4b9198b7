// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>

#include "inet/fetch.h"
#include "inet/pass_delay.h"

namespace lt {

struct InetSlot;
class StatusList;

// How a status test runs.
struct StatusTestSettings
{
    int retries = 0;     // further passes over the rows that did not finish
    int parallel = 8;    // requests open at once; 1 tests one row after the other
    int perHost = 4;     // requests open at once to one host
    FetchSettings fetch; // connect 10 s, send 40 s, the time-out seconds
};

// What the window and the job share while a test runs: the window writes, the job reads.
struct StatusTestControls
{
    std::atomic<bool> selectedNext{false}; // "Selected item next": the job takes it and clears it
    std::atomic<int> delayMinutes{0};      // "Delay (min)"
    std::atomic<bool> delaying{false};     // the job waits between passes (written by the job)
    DelayEvent delayEvent;                 // ends that wait early
};

// What the test tells its window. Calls come on the job thread: a window posts them to itself.
class StatusTestObserver
{
public:
    virtual ~StatusTestObserver() = default;
    virtual void Caption(const std::string& /*text*/, bool /*error*/) {}
    virtual void UrlLine(const std::string& /*url*/) {}
    virtual void StateLine(const std::string& /*text*/) {}
    virtual void CounterLine(const std::string& /*text*/) {}
    // The row's status cell has just been written.
    virtual void RowStatus(std::size_t /*row*/, const std::string& /*status*/) {}
    // A new pass begins: "Retries" shows what is left.
    virtual void RetriesLeft(int /*retries*/) {}
    // "Selected item next" was taken for `row` (the window clears its check).
    virtual void SelectedNextTaken(std::size_t /*row*/) {}
};

struct StatusTestResult
{
    bool cancelled = false;
    std::string error; // a failure that ended the job ("Can not connect to Internet !")
    long tested = 0;   // rows that got a status in this run
};

// Tests the rows of `rows` from the slot's start row on (slot state running): each URL is asked
// once with a GET that stops at the end of the headers; redirects between http and https are
// taken (at most 10 per row); each row gets its status text, "Ok" rows count into the slot's
// `retrieved` and rows whose status is final are passed over. After a pass, Retries further
// passes follow, each after "Delay (min)" counted on `clock`. Up to `parallel` rows are asked at
// once; the statuses and counts are those of one row after the other. A skip abandons the oldest
// pending row (it keeps its former status); a cancel ends the job within about 100 ms.
StatusTestResult StatusTestJob(InetSlot& slot, StatusList& rows, StatusTestControls& controls,
                               const StatusTestSettings& settings, PassClock& clock, StatusTestObserver& observer);

// Runs StatusTestJob on a thread of its own for one window and its slot. Start, Skip, Cancel and
// Join are called on the window thread.
class StatusTestRunner
{
public:
    explicit StatusTestRunner(InetSlot& slot);
    ~StatusTestRunner(); // cancels a running test and waits for its thread
    StatusTestRunner(const StatusTestRunner&) = delete;
    StatusTestRunner& operator=(const StatusTestRunner&) = delete;

    // Starts the test; false while one runs. `done` is called on the job thread as its last act,
    // after the slot went back to idle (unless the main window is closing).
    bool Start(StatusList& rows, StatusTestControls& controls, StatusTestSettings settings, PassClock& clock,
               StatusTestObserver& observer, std::function<void(const StatusTestResult&)> done = {});
    // "&OK" while running: ends a delay between passes, else abandons the pending row.
    void Skip();
    // "&Cancel" while running: the test ends (a delay first).
    void Cancel();
    bool Running() const { return m_running.load(); }
    void Join();

private:
    InetSlot& m_slot;
    StatusTestControls* m_controls = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

} // namespace lt
