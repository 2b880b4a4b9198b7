// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/status_test_job.h"

#include <ctime>
#include <deque>
#include <vector>

#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/redirect.h"
#include "inet/status_list.h"
#include "inet/status_texts.h"
#include "inet/transfer_pool.h"

namespace lt {
namespace {

constexpr int kMaxHops = 10;
constexpr int kWaitMs = 100;
// How far past a row waiting for its host the job looks for a row of another host.
constexpr std::size_t kLookAhead = 256;

class StatusTest
{
public:
    StatusTest(InetSlot& slot, StatusList& rows, StatusTestControls& controls, const StatusTestSettings& settings,
               PassClock& clock, StatusTestObserver& observer)
        : m_slot(slot), m_rows(rows), m_controls(controls), m_settings(settings), m_clock(clock),
          m_observer(observer), m_session(slot, settings.fetch),
          m_pool(m_session, settings.parallel, settings.perHost, true)
    {
    }

    StatusTestResult Run()
    {
        StatusTestResult result;
        const std::size_t count = m_rows.Count();
        m_cursor = m_slot.startIndex;
        if (m_cursor >= count || TrimmedUrl(m_rows.Url(m_cursor)).empty()) {
            result.error = "Invalid Parameters !";
            return result;
        }
        if (!m_session.IsOpen()) {
            result.error = "Can not connect to Internet !";
            return result;
        }
        m_observer.Caption(std::string(InetStateWord(8)), false);
        m_started.assign(count, false);
        m_hops.assign(count, 0);
        m_current.assign(count, std::string());
        int retries = m_settings.retries;
        for (;;) {
            if (Stopped()) {
                m_pool.FinishAll();
                result.cancelled = true;
                break;
            }
            if (m_slot.state.load() == kSlotSkip || m_slot.skipped.load())
                SkipOldest();
            StartRows();
            if (m_pool.Size() == 0 && m_waitingHops.empty()) {
                if (!PassOver())
                    continue;
                // Passes end when nothing is left that a further one would ask again.
                if (retries >= 1 && count > 0 && AnyUnfinished()) {
                    if (!Delay() || Stopped()) {
                        result.cancelled = Stopped();
                        break;
                    }
                    --retries;
                    m_observer.RetriesLeft(retries);
                    m_cursor = 0;
                    m_started.assign(count, false);
                    continue;
                }
                break;
            }
            for (const TransferPool::Ended& ended : m_pool.Wait(kWaitMs))
                if (!Stopped())
                    Handle(static_cast<std::size_t>(ended.tag), ended.result);
        }
        result.tested = m_tested;
        return result;
    }

private:
    bool Stopped() const
    {
        const uint32_t state = m_slot.state.load();
        return m_slot.stopped.load() || state == kSlotCancel || state == kSlotClosing || state == kSlotFree;
    }

    bool Finished(std::size_t row) const { return IsFinishedStatus(m_rows.Status(row)); }

    // The pass is over when every row from the cursor on was started or is final.
    bool PassOver()
    {
        while (m_cursor < m_started.size() && (m_started[m_cursor] || Finished(m_cursor)))
            ++m_cursor;
        return m_cursor >= m_started.size();
    }

    bool AnyUnfinished() const
    {
        for (std::size_t i = 0; i < m_started.size(); ++i)
            if (!Finished(i))
                return true;
        return false;
    }

    void SkipOldest()
    {
        // The skip is meant for the row the URL line shows: the oldest pending one.
        const std::vector<uint64_t> tags = m_pool.Tags();
        if (!tags.empty())
            m_pool.Finish(tags.front());
        m_slot.skipped = false;
        uint32_t expected = kSlotSkip;
        m_slot.state.compare_exchange_strong(expected, kSlotRunning);
        ShowOldest();
    }

    void ShowOldest()
    {
        const std::vector<uint64_t> tags = m_pool.Tags();
        if (tags.empty())
            return;
        const std::size_t row = static_cast<std::size_t>(tags.front());
        if (row == m_shownRow)
            return;
        m_shownRow = row;
        m_slot.currentUrl = m_rows.Url(row);
        m_observer.UrlLine(m_slot.currentUrl);
        m_observer.StateLine(JobStateText(1, 0, 0));
    }

    // Fills the pool: redirect hops that waited for their host first, then rows in order.
    void StartRows()
    {
        for (auto it = m_waitingHops.begin(); it != m_waitingHops.end() && m_pool.HasRoom();) {
            if (m_pool.CanStart(m_current[*it])) {
                m_pool.Start(*it, m_current[*it]);
                it = m_waitingHops.erase(it);
            } else {
                ++it;
            }
        }
        while (m_pool.HasRoom()) {
            if (m_controls.selectedNext.exchange(false)) {
                const std::vector<std::size_t> selected = m_rows.Rows().SelectedRows();
                if (!selected.empty() && selected.front() < m_started.size()) {
                    m_cursor = selected.front();
                    m_observer.SelectedNextTaken(m_cursor);
                }
            }
            if (PassOver())
                break;
            std::size_t pick = m_started.size();
            for (std::size_t i = m_cursor; i < m_started.size() && i < m_cursor + kLookAhead; ++i) {
                if (m_started[i] || Finished(i))
                    continue;
                if (m_pool.CanStart(TrimmedUrl(m_rows.Url(i)))) {
                    pick = i;
                    break;
                }
            }
            if (pick == m_started.size())
                break;
            m_started[pick] = true;
            m_hops[pick] = 0;
            m_current[pick] = TrimmedUrl(m_rows.Url(pick));
            m_slot.timedOut = false;
            m_pool.Start(pick, m_current[pick]);
        }
        ShowOldest();
    }

    void Handle(std::size_t row, OpenResult result)
    {
        InetRequest* request = m_pool.Request(row);
        std::string text;
        if (result == OpenResult::Opened && request) {
            std::string answer;
            const int status = request->QueryUrlStatus(answer);
            const std::string& url = m_current[row];
            if ((status == kStatusRedirectInside || status == kStatusRedirectElsewhere) && IsHttpUrl(answer) &&
                StatusAnswerText(status, url, answer) != kStatusOkText && m_hops[row] < kMaxHops) {
                ++m_hops[row];
                m_current[row] = answer;
                if (!m_pool.Hop(row, answer))
                    m_waitingHops.push_back(row);
                return;
            }
            text = StatusAnswerText(status, url, answer);
        } else if (result == OpenResult::TimedOut) {
            text = kStatusTimedOutText;
        } else {
            text = StatusErrorText(request ? request->ErrorNumber() : 12004);
        }
        m_pool.Finish(row);
        if (m_shownRow == row)
            m_shownRow = static_cast<std::size_t>(-1);
        m_rows.SetStatus(row, text);
        ++m_tested;
        m_observer.RowStatus(row, text);
        if (IsOkStatus(text)) {
            const uint32_t ok = m_slot.retrieved.fetch_add(1) + 1;
            m_observer.CounterLine(CounterText(static_cast<long>(m_started.size()), static_cast<long>(ok), 2));
        }
    }

    // The wait between passes; false when it was broken off by a cancel or a closing window.
    bool Delay()
    {
        const int minutes = m_controls.delayMinutes.load();
        if (minutes <= 0)
            return true;
        m_controls.delayEvent.Reset();
        m_controls.delaying = true;
        m_observer.StateLine(JobStateText(3, 0, 0));
        WaitPassDelay(
            m_clock, m_controls.delayEvent, minutes,
            [this] {
                const uint32_t state = m_slot.state.load();
                return (state == kSlotRunning || state == kSlotSkip) && !m_slot.stopped.load();
            },
            [this](int m, int s) {
                m_observer.StateLine(JobStateText(3, 0, 0) + " " + std::to_string(m) + ":" + std::to_string(s));
            });
        m_controls.delaying = false;
        // "&OK" during the wait only ends the wait.
        m_slot.skipped = false;
        uint32_t expected = kSlotSkip;
        m_slot.state.compare_exchange_strong(expected, kSlotRunning);
        return !Stopped();
    }

    InetSlot& m_slot;
    StatusList& m_rows;
    StatusTestControls& m_controls;
    const StatusTestSettings& m_settings;
    PassClock& m_clock;
    StatusTestObserver& m_observer;
    InetSession m_session;
    TransferPool m_pool;
    std::size_t m_cursor = 0;
    std::vector<bool> m_started;      // rows asked in this pass
    std::vector<int> m_hops;          // redirects taken by a row
    std::vector<std::string> m_current; // the URL a row's request asks now
    std::deque<std::size_t> m_waitingHops;
    std::size_t m_shownRow = static_cast<std::size_t>(-1);
    long m_tested = 0;
};

} // namespace

StatusTestResult StatusTestJob(InetSlot& slot, StatusList& rows, StatusTestControls& controls,
                               const StatusTestSettings& settings, PassClock& clock, StatusTestObserver& observer)
{
    StatusTest test(slot, rows, controls, settings, clock, observer);
    return test.Run();
}

StatusTestRunner::StatusTestRunner(InetSlot& slot) : m_slot(slot) {}

StatusTestRunner::~StatusTestRunner()
{
    if (Running())
        Cancel();
    Join();
}

bool StatusTestRunner::Start(StatusList& rows, StatusTestControls& controls, StatusTestSettings settings,
                             PassClock& clock, StatusTestObserver& observer,
                             std::function<void(const StatusTestResult&)> done)
{
    if (m_running.load())
        return false;
    Join();
    m_controls = &controls;
    m_slot.stopped = false;
    m_slot.skipped = false;
    m_slot.timedOut = false;
    m_slot.state = kSlotRunning;
    m_running = true;
    m_thread = std::thread([this, &rows, &controls, settings = std::move(settings), &clock, &observer,
                            done = std::move(done)] {
        const StatusTestResult result = StatusTestJob(m_slot, rows, controls, settings, clock, observer);
        // A closing main window keeps its mark on the slot.
        uint32_t state = m_slot.state.load();
        if (state != kSlotClosing && state != kSlotFree)
            m_slot.state = kSlotIdle;
        m_running = false;
        if (done)
            done(result);
    });
    return true;
}

void StatusTestRunner::Skip()
{
    if (!m_running.load())
        return;
    if (m_controls && m_controls->delaying.load())
        m_controls->delayEvent.Set();
    else
        m_slot.RequestSkip();
}

void StatusTestRunner::Cancel()
{
    if (!m_running.load())
        return;
    m_slot.RequestCancel();
    if (m_controls)
        m_controls->delayEvent.Set();
}

void StatusTestRunner::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace lt
