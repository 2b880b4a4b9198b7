// SPDX-License-Identifier: GPL-3.0-or-later
// The batch download with several files arriving at once over the session's one multi handle, on
// the job thread. Each row ends as it would one after the other (the same names, statuses, log
// lines and counters); the window's lines follow the oldest file in flight.
#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

#include "inet/download_job.h"
#include "inet/download_texts.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/redirect.h"
#include "inet/save_names.h"
#include "inet/save_target.h"
#include "inet/transfer_pool.h"

namespace lt {

namespace {

constexpr int kMaxHops = 10;
constexpr int kWaitMs = 100;
// How far past a row waiting for its host the job looks for a row of another host.
constexpr std::size_t kLookAhead = 256;
constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);

double SecondsBetween(DelayClock::TimePoint from, DelayClock::TimePoint to)
{
    return std::chrono::duration<double>(to - from).count();
}

} // namespace

class ParallelBatch
{
public:
    ParallelBatch(DownloadJob& job, InetSession& session, DownloadList& list, const DownloadSettings& settings)
        : m_job(job), m_slot(job.m_slot), m_observer(job.m_observer), m_clock(job.m_clock), m_list(list),
          m_settings(settings), m_pool(session, settings.parallel, settings.perHost, false),
          m_total(static_cast<long>(list.size()))
    {
        // Rows move up as others leave the list: a file in flight names its row by an id.
        for (std::size_t i = 0; i < list.size(); ++i)
            m_ids.push_back(i);
        m_tried.assign(list.size(), false);
    }

    DownloadResult Run(std::size_t startRow)
    {
        m_cursor = startRow;
        int retries = m_settings.retries;
        for (;;) {
            if (m_job.Stopped()) {
                Abandon(true);
                m_result.cancelled = true;
                break;
            }
            if (m_slot.state.load() == kSlotSkip || m_slot.skipped.load())
                SkipOldest();
            StartRows();
            if (!m_result.error.empty()) {
                Abandon(false);
                break;
            }
            if (m_active.empty()) {
                if (!PassOver())
                    continue;
                if (retries >= 1 && !m_list.empty()) {
                    if (m_settings.delayMinutes > 0 && !m_job.WaitDelay(m_settings.delayMinutes)) {
                        m_result.cancelled = true;
                        break;
                    }
                    --retries;
                    m_observer.RetriesLeft(retries);
                    m_cursor = 0;
                    m_tried.assign(m_list.size(), false);
                    continue;
                }
                break;
            }
            for (const TransferPool::Ended& ended : m_pool.Wait(kWaitMs))
                if (!m_job.Stopped())
                    Opened(ended.tag, ended.result);
            if (!m_job.Stopped())
                ReadBodies();
        }
        m_pool.FinishAll();
        m_slot.saveFileOpen = false;
        m_result.failed = static_cast<long>(m_list.size());
        return m_result;
    }

private:
    struct Active
    {
        uint64_t id = 0;
        std::string url;     // the row's URL (for the log)
        std::string current; // the URL asked now (redirects change it)
        std::string target;
        int hops = 0;
        bool reading = false;
        int64_t size = -1;
        DelayClock::TimePoint start{};
        std::unique_ptr<DownloadFile> file;
    };

    std::size_t IndexOf(uint64_t id) const
    {
        const auto it = std::find(m_ids.begin(), m_ids.end(), id);
        return it == m_ids.end() ? kNoRow : static_cast<std::size_t>(it - m_ids.begin());
    }

    Active* Find(uint64_t id)
    {
        for (Active& a : m_active)
            if (a.id == id)
                return &a;
        return nullptr;
    }

    bool IsActive(std::size_t row) const
    {
        return std::any_of(m_active.begin(), m_active.end(), [&](const Active& a) { return a.id == m_ids[row]; });
    }

    // The pass is over when every row from the cursor on was started.
    bool PassOver()
    {
        while (m_cursor < m_list.size() && m_tried[m_cursor])
            ++m_cursor;
        return m_cursor >= m_list.size();
    }

    void TakeSelectedNext()
    {
        std::string picked;
        if (!m_observer.TakeSelectedNext(picked))
            return;
        for (std::size_t i = 0; i < m_list.size(); ++i) {
            if (m_list[i].url == picked) {
                m_cursor = i;
                if (!IsActive(i))
                    m_tried[i] = false;
                return;
            }
        }
    }

    // Fills the pool: redirect hops that waited for their host first, then rows in order.
    void StartRows()
    {
        for (auto it = m_waitingHops.begin(); it != m_waitingHops.end() && m_pool.HasRoom();) {
            Active* a = Find(*it);
            if (!a) {
                it = m_waitingHops.erase(it);
            } else if (m_pool.CanStart(a->current)) {
                m_pool.Start(a->id, a->current);
                it = m_waitingHops.erase(it);
            } else {
                ++it;
            }
        }
        while (m_pool.HasRoom() && m_result.error.empty()) {
            TakeSelectedNext();
            if (PassOver())
                break;
            std::size_t pick = kNoRow;
            for (std::size_t i = m_cursor; i < m_list.size() && i < m_cursor + kLookAhead; ++i) {
                if (m_tried[i])
                    continue;
                const std::string url = TrimmedUrl(m_list[i].url);
                // A URL too short to be one ends the pass, as it does one row after the other.
                if (url.size() < 5) {
                    if (i == m_cursor)
                        m_cursor = m_list.size();
                    break;
                }
                if (m_pool.CanStart(url)) {
                    pick = i;
                    break;
                }
            }
            if (pick == kNoRow)
                break;
            StartRow(pick);
        }
        ShowOldest();
    }

    void StartRow(std::size_t row)
    {
        m_tried[row] = true;
        const std::string url = TrimmedUrl(m_list[row].url);
        std::string target = MakeSaveName(m_settings.saveDir, url, kDownloadNameLimit);
        if (target.empty()) {
            SetRowInfo(row, kDownloadNoFileName);
            return;
        }
        auto file = std::make_unique<DownloadFile>();
        // Created before the request: two rows of one name take two names, as one after the other.
        if (!file->Create(target, true, false)) {
            m_observer.Message(CannotCreateFileText(target), "Error");
            m_observer.Caption("Download Urls", false);
            m_result.error = CannotCreateFileText(target);
            return;
        }
        Active a;
        a.id = m_ids[row];
        a.url = url;
        a.current = url;
        a.target = target;
        a.file = std::move(file);
        m_active.push_back(std::move(a));
        m_slot.saveFileOpen = true;
        m_slot.timedOut = false;
        m_pool.Start(m_ids[row], url);
    }

    // The window's lines show the oldest file in flight.
    void ShowOldest()
    {
        if (m_active.empty() || m_active.front().id == m_shownId)
            return;
        const Active& a = m_active.front();
        m_shownId = a.id;
        m_slot.currentUrl = a.url;
        m_slot.url = a.current;
        m_slot.savePath = a.target;
        m_observer.Caption("Download Urls", false);
        m_observer.UrlLine(a.url);
        m_observer.SaveLine(a.target);
        m_observer.StateLine(JobStateText(a.reading ? 2 : 1, 0, 0));
        m_shownAt = m_clock.Now();
    }

    bool Shown(const Active& a) const { return a.id == m_shownId; }

    void SetRowInfo(std::size_t row, const std::string& info)
    {
        if (row == kNoRow || info.empty())
            return;
        m_list[row].info = info;
        m_observer.RowInfo(row, info);
    }

    // Ends the file of `id`: it leaves the pool and the files in flight.
    void Drop(uint64_t id)
    {
        m_pool.Finish(id);
        m_waitingHops.erase(std::remove(m_waitingHops.begin(), m_waitingHops.end(), id), m_waitingHops.end());
        m_active.erase(std::remove_if(m_active.begin(), m_active.end(), [id](const Active& a) { return a.id == id; }),
                       m_active.end());
        if (m_shownId == id)
            m_shownId = kNoId;
    }

    void Fail(Active& a, const std::string& info, const std::string& caption)
    {
        a.file->Discard();
        if (Shown(a) && !caption.empty())
            m_observer.Caption(caption, true);
        const uint64_t id = a.id;
        SetRowInfo(IndexOf(id), info);
        Drop(id);
    }

    void Opened(uint64_t id, OpenResult result)
    {
        Active* a = Find(id);
        InetRequest* request = m_pool.Request(id);
        if (!a || !request)
            return;
        if (result != OpenResult::Opened) {
            const std::string text = InetErrorText(result == OpenResult::TimedOut ? 12002 : request->ErrorNumber());
            Fail(*a, "Error " + text, std::string(kDownloadCannotOpenUrl) + " (Error " + text + ")");
            return;
        }
        std::string answer;
        const int status = request->QueryUrlStatus(answer);
        if (status == kStatusRedirectInside || status == kStatusRedirectElsewhere) {
            if (a->hops >= kMaxHops) {
                Fail(*a, kDownloadTooManyRedirects,
                     std::string(kDownloadCannotOpenUrl) + " (" + kDownloadTooManyRedirects + ")");
                return;
            }
            ++a->hops;
            a->current = answer;
            if (Shown(*a))
                m_slot.url = answer;
            if (!m_pool.Hop(id, answer))
                m_waitingHops.push_back(id);
            return;
        }
        if (status != kStatusOk) {
            const std::string text = DownloadStatusText(status);
            Fail(*a, "Error " + text, std::string(kDownloadCannotOpenUrl) + " (Error " + text + ")");
            return;
        }
        a->size = request->ContentLength();
        const std::size_t row = IndexOf(id);
        if (row != kNoRow)
            m_observer.RowInfo(row, a->size >= 0 ? DownloadSizeText(static_cast<uint64_t>(a->size)) : std::string());
        a->reading = true;
        a->start = m_clock.Now();
        m_pool.Claim(id);
        if (Shown(*a))
            m_observer.StateLine(JobStateText(2, 0, 0));
    }

    void ReadBodies()
    {
        std::vector<uint64_t> reading;
        for (const Active& a : m_active)
            if (a.reading)
                reading.push_back(a.id);
        for (const uint64_t id : reading)
            ReadBody(*Find(id));
        if (!m_active.empty() && m_active.front().reading && Shown(m_active.front())) {
            const Active& a = m_active.front();
            const DelayClock::TimePoint now = m_clock.Now();
            if (now - m_shownAt >= std::chrono::seconds(1)) {
                m_shownAt = now;
                m_observer.Caption(FormatTransferText(SecondsBetween(a.start, now), a.file->Bytes(), kTransferPlain),
                                   false);
            }
        }
    }

    void ReadBody(Active& a)
    {
        InetRequest* request = m_pool.Request(a.id);
        char block[1024];
        for (;;) {
            const long n = request->ReadAvailable(block, sizeof block);
            if (n == InetRequest::kNothingYet)
                return;
            // A body cut short (a reset, fewer bytes than announced, a stall) is no download.
            if (n < 0 || (n == 0 && a.size >= 0 && a.file->Bytes() != static_cast<uint64_t>(a.size))) {
                Fail(a, kDownloadReadError, kDownloadReadError);
                return;
            }
            if (n == 0) {
                Complete(a);
                return;
            }
            if (!a.file->Add(block, static_cast<std::size_t>(n))) {
                const std::string text = DownloadWriteErrorText(a.file->WriteError());
                Fail(a, text, text);
                return;
            }
        }
    }

    void Complete(Active& a)
    {
        m_pool.Finish(a.id);
        if (!a.file->Complete()) {
            const std::string text = DownloadWriteErrorText(a.file->WriteError());
            Fail(a, text, text);
            return;
        }
        if (Shown(a))
            m_observer.Caption(
                FormatTransferText(SecondsBetween(a.start, m_clock.Now()), a.file->Bytes(), kTransferDone), false);
        if (m_settings.logUrl && !AppendDownloadLog(m_settings.saveDir, a.url))
            m_observer.Message(CannotCreateFileText(m_settings.saveDir + "/" + kDownloadLogName), "Error");
        const uint64_t id = a.id;
        const std::size_t row = IndexOf(id);
        Drop(id);
        if (row == kNoRow)
            return;
        m_list.erase(m_list.begin() + static_cast<std::ptrdiff_t>(row));
        m_ids.erase(m_ids.begin() + static_cast<std::ptrdiff_t>(row));
        m_tried.erase(m_tried.begin() + static_cast<std::ptrdiff_t>(row));
        if (m_cursor > row)
            --m_cursor;
        m_observer.RowRemoved(row);
        ++m_result.retrieved;
        m_slot.retrieved = static_cast<uint32_t>(m_result.retrieved);
        m_observer.CounterLine(CounterText(m_total, m_result.retrieved, 0));
    }

    // Ends a file that was skipped or cancelled: what arrived stays; a file still opening goes.
    void Leave(Active& a, int mode)
    {
        if (!a.reading) {
            a.file->Discard();
            return;
        }
        const bool kept = a.file->Keep();
        if (Shown(a))
            m_observer.Caption(FormatTransferText(SecondsBetween(a.start, m_clock.Now()), a.file->Bytes(), mode),
                               false);
        if (!kept)
            SetRowInfo(IndexOf(a.id), DownloadWriteErrorText(a.file->WriteError()));
    }

    void SkipOldest()
    {
        // The skip is meant for the file the window's lines show: the oldest in flight.
        if (!m_active.empty()) {
            Active& a = m_active.front();
            Leave(a, kTransferSkipped);
            Drop(a.id);
        }
        m_slot.skipped = false;
        uint32_t expected = kSlotSkip;
        m_slot.state.compare_exchange_strong(expected, kSlotRunning);
    }

    // The job ends with files in flight: on a cancel they keep what arrived; after a job error they go.
    void Abandon(bool cancelled)
    {
        for (Active& a : m_active) {
            if (cancelled)
                Leave(a, kTransferCancelled);
            else
                a.file->Discard();
        }
        m_active.clear();
        m_waitingHops.clear();
        m_pool.FinishAll();
    }

    static constexpr uint64_t kNoId = static_cast<uint64_t>(-1);

    DownloadJob& m_job;
    InetSlot& m_slot;
    DownloadObserver& m_observer;
    const DelayClock& m_clock;
    DownloadList& m_list;
    const DownloadSettings& m_settings;
    TransferPool m_pool;
    const long m_total;
    std::vector<uint64_t> m_ids; // the id of each row of the list
    std::vector<bool> m_tried;   // rows started in this pass
    std::size_t m_cursor = 0;
    std::vector<Active> m_active; // files in flight, the oldest first
    std::deque<uint64_t> m_waitingHops;
    uint64_t m_shownId = kNoId;
    DelayClock::TimePoint m_shownAt{};
    DownloadResult m_result;
};

DownloadResult DownloadJob::RunBatchParallel(InetSession& session, DownloadList& list,
                                             const DownloadSettings& settings, std::size_t startRow)
{
    ParallelBatch batch(*this, session, list, settings);
    return batch.Run(startRow);
}

} // namespace lt
