// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/scan_pool.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

#include "core/app_state.h"
#include "list/add_result_row.h"
#include "platform/cpu_count.h"
#include "search/item_scanner.h"
#include "search/link_scanner.h"

namespace lt {

namespace {

// How often a waiting queuer looks at the stop and skip flags.
constexpr auto kControlInterval = std::chrono::milliseconds(10);
// The records of the file being replayed that wake the queuer before its batch is ready.
constexpr std::size_t kFrontWakeBytes = 64 * 1024;
// What a worker gathers before it hands its events over.
constexpr std::size_t kPublishBytes = 16 * 1024;
// Files queued before idle workers are woken.
constexpr std::size_t kWakeFiles = 8;

struct Event
{
    enum Kind : uint8_t { kRow, kTitle, kStatus, kProgressBegin, kProgressStep, kProgressEnd, kUnreadable };
    Kind kind = kRow;
    int8_t pane = 0;
    int8_t mode = 0;
    std::string text;                 // the item, the title or the status text
    std::array<std::string, 5> cells; // row texts 1 to 5 of a row

    std::size_t Bytes() const
    {
        std::size_t bytes = sizeof(Event) + text.size();
        for (const auto& cell : cells)
            bytes += cell.size();
        return bytes;
    }
};

struct Task
{
    std::string path;
    OpenedFile file;
    ScanPool::RowTexts texts;
    ScanPool::Done done;
    // Filled by the worker, emptied by the replay; guarded by the pool's mutex.
    std::vector<Event> events;
    std::size_t bytes = 0;
    bool finished = false;
    bool dropped = false; // skipped or stopped: nothing more of it is recorded or replayed
    int result = 0;
    // Replay state (queuing thread only).
    bool replayStarted = false;
    bool lastAdded = false; // the last row of this file was taken by the list
    bool barOpen = false;
};

void CloseFile(OpenedFile& file)
{
    if (file.fd >= 0)
        ::close(file.fd);
    file.fd = -1;
}

} // namespace

int SearchWorkerCount(const AppState& app)
{
    const int wanted = app.settings.threads > 0 ? app.settings.threads : UsableCpuCount();
    return std::clamp(wanted, 1, kMaxScanWorkers);
}

struct ScanPool::Impl
{
    struct Worker;

    // The screen of a worker: its progress bar goes into the record of the file it scans.
    class RecordingPort final : public UiPort
    {
    public:
        RecordingPort(Impl& pool, Worker& worker) : m_pool(pool), m_worker(worker) {}
        void SetPaneText(int, const std::string&) override {}
        void SetPaneIcon(int, StatusIcon) override {}
        void ArmTimer(int, int) override {}
        void KillTimer(int) override {}
        void ProgressBegin() override { Mark(Event::kProgressBegin); }
        void ProgressStep() override { Mark(Event::kProgressStep); }
        void ProgressEnd() override { Mark(Event::kProgressEnd); }
        MsgAnswer ShowMessage(const std::string&, const std::string&, MsgStyle) override { return MsgAnswer::Ok; }
        void SetWaitCursor(bool) override {}
        void SetClipboardText(const std::string&) override {}
        std::string ClipboardText() override { return {}; }
        void Post(int, std::intptr_t, std::intptr_t) override {}
        // An unattended run names every file it could not read, in walk order like the rest.
        void ReportUnreadable(const std::string& line) override
        {
            Event e;
            e.kind = Event::kUnreadable;
            e.text = line;
            m_pool.Record(m_worker, std::move(e));
        }

    private:
        void Mark(Event::Kind kind)
        {
            Event e;
            e.kind = kind;
            m_pool.Record(m_worker, std::move(e));
        }
        Impl& m_pool;
        Worker& m_worker;
    };

    struct Worker
    {
        explicit Worker(Impl& pool) : port(pool, *this), state(port) {}
        RecordingPort port;
        AppState state;
        std::function<int(const std::string&, const OpenedFile&)> scan;
        Task* current = nullptr; // guarded by the pool's mutex
        std::vector<Event> local; // recorded, not yet in the file's record (the worker's own)
        std::size_t localBytes = 0;
        std::thread thread;
    };

    Impl(AppState& main, int count, std::size_t limit) : app(main), maxBuffered(limit)
    {
        maxQueued = static_cast<std::size_t>(std::clamp(count * 16, 16, 256));
        for (int i = 0; i < count; ++i) {
            auto worker = std::make_unique<Worker>(*this);
            CopySearchState(*worker);
            MakeScanner(*worker);
            workers.push_back(std::move(worker));
        }
        for (auto& worker : workers)
            worker->thread = std::thread([this, w = worker.get()] { Work(*w); });
    }

    ~Impl()
    {
        {
            std::lock_guard lock(mutex);
            StopAllLocked();
            exiting = true;
        }
        workCv.notify_all();
        spaceCv.notify_all();
        for (auto& worker : workers)
            worker->thread.join();
        for (auto& task : window)
            CloseFile(task->file);
    }

    void CopySearchState(Worker& w)
    {
        AppState& s = w.state;
        s.settings = app.settings;
        s.anchors = app.anchors;
        s.filterWords = app.filterWords;
        s.scan = app.scan;
        s.options = app.options;
        s.tables = app.tables;
        s.search.source = app.search.source;
        s.search.folder = app.search.folder;
        s.search.severalFiles = app.search.severalFiles;
        s.search.fileSizeFlag = app.search.fileSizeFlag;
        s.search.relativePaths = app.search.relativePaths;
        s.search.favoritesFolder = app.search.favoritesFolder;
        s.listState.kind = app.listState.kind;
        s.listState.hitRateMode = app.listState.hitRateMode;
        s.jobs.jobCode.store(std::max(app.jobs.Code(), 1));
        s.status.DivertTexts([this, &w](const std::string& text, int pane, int mode) {
            // The row count is shown by the replay, from the list's own count.
            if (pane == 2)
                return;
            Event e;
            e.kind = Event::kStatus;
            e.pane = static_cast<int8_t>(pane);
            e.mode = static_cast<int8_t>(mode);
            e.text = text;
            Record(w, std::move(e));
        });
    }

    void MakeScanner(Worker& w)
    {
        // The list answers at replay; the scan goes on as if every row were taken, which is what
        // the list does except for a duplicate, and the replay applies that answer.
        auto row = [this, &w](AppState& s, const std::string& item) -> long {
            Event e;
            e.kind = Event::kRow;
            e.text = item;
            for (std::size_t c = 0; c < e.cells.size(); ++c)
                e.cells[c] = s.listState.rowTexts[c + 1];
            Record(w, std::move(e));
            return 0;
        };
        if (w.state.scan.itemKind <= kItemTelnet) {
            auto scanner = std::make_shared<LinkScanner>(w.state);
            scanner->SetRowSink(row);
            scanner->SetTitleSink([this, &w](AppState&, const std::string& title) {
                Event e;
                e.kind = Event::kTitle;
                e.text = title;
                Record(w, std::move(e));
            });
            w.scan = [scanner](const std::string& path, const OpenedFile& file) {
                return scanner->ScanLinks(path, file);
            };
        } else {
            auto scanner = std::make_shared<ItemScanner>(w.state);
            scanner->SetRowSink(row);
            w.scan = [scanner](const std::string& path, const OpenedFile& file) {
                return scanner->ScanFile(path, file);
            };
        }
    }

    // Worker thread: adds an event to the record of the worker's file. Events gather in the
    // worker first and reach the file's record a batch at a time, so that the lock is taken
    // about once a file.
    void Record(Worker& w, Event&& e)
    {
        w.localBytes += e.Bytes();
        w.local.push_back(std::move(e));
        if (w.localBytes >= kPublishBytes) {
            std::unique_lock lock(mutex);
            PublishLocked(w, lock);
        }
    }

    // Moves the worker's events into its file's record. A file behind the one being replayed
    // then waits while the records are over the limit.
    void PublishLocked(Worker& w, std::unique_lock<std::mutex>& lock)
    {
        Task* task = w.current;
        if (task && !task->dropped && !w.local.empty()) {
            if (task->events.empty())
                task->events.swap(w.local);
            else
                task->events.insert(task->events.end(), std::make_move_iterator(w.local.begin()),
                                    std::make_move_iterator(w.local.end()));
            task->bytes += w.localBytes;
            buffered += w.localBytes;
            peakBuffered = std::max(peakBuffered, buffered);
        }
        w.local.clear();
        w.localBytes = 0;
        if (!task || task->dropped)
            return;
        if (task == window.front().get()) {
            if (waiting && WorthWakingLocked())
                replayCv.notify_one();
            return;
        }
        ++spaceWaiters;
        spaceCv.wait(lock, [&] { return exiting || task->dropped || task == window.front().get() || buffered <= maxBuffered; });
        --spaceWaiters;
    }

    void Work(Worker& w)
    {
        std::unique_lock lock(mutex);
        for (;;) {
            ++idle;
            workCv.wait(lock, [&] { return exiting || !pending.empty(); });
            --idle;
            if (exiting)
                return;
            Task* task = pending.front();
            pending.pop_front();
            w.current = task;
            w.state.jobs.skipRequested.store(false);
            lock.unlock();
            int result = 0;
            try {
                w.state.listState.rowTexts = task->texts;
                result = w.scan(task->path, task->file);
            } catch (const std::exception&) {
                // Out of memory half way: the file ends with what it found so far.
            }
            CloseFile(task->file);
            lock.lock();
            PublishLocked(w, lock);
            task->result = result;
            task->finished = true;
            w.current = nullptr;
            if (waiting && WorthWakingLocked())
                replayCv.notify_one();
        }
    }

    // Asks the worker scanning `task` (if one still does) to end it.
    void EndScanLocked(const Task& task)
    {
        for (auto& w : workers)
            if (w->current == &task)
                w->state.jobs.skipRequested.store(true);
    }

    void DropLocked(Task& task)
    {
        if (task.dropped)
            return;
        task.dropped = true;
        buffered -= task.bytes;
        task.bytes = 0;
        task.events.clear();
        EndScanLocked(task);
        spaceCv.notify_all();
    }

    // Every file behind the one being replayed goes; that one ends as a stopped scan does, its
    // texts and bar shown up to its next item.
    void StopAllLocked()
    {
        stopped = true;
        for (auto& w : workers)
            w->state.jobs.jobCode.store(0);
        for (std::size_t i = 1; i < window.size(); ++i)
            DropLocked(*window[i]);
        for (Task* task : pending) {
            CloseFile(task->file);
            task->finished = true;
        }
        pending.clear();
    }

    // The stop and skip flags of the job. A skip ends the scan of the file being replayed once it
    // has shown something (before that, its start clears the flag, as a scan does at a file's
    // start); its rows stop at the next item the replay meets.
    void ControlLocked()
    {
        if (stopped)
            return;
        if (app.jobs.Code() == 0) {
            StopAllLocked();
            return;
        }
        if (!window.empty() && app.jobs.skipRequested.load(std::memory_order_relaxed)) {
            const Task& front = *window.front();
            if (front.replayStarted)
                EndScanLocked(front);
        }
    }

    void StartReplay(Task& task)
    {
        task.replayStarted = true;
        app.jobs.skipRequested.store(false, std::memory_order_relaxed);
    }

    // Applies one event to the list and the screen; false when the file ends here (skip or stop).
    bool Apply(Task& task, Event& e)
    {
        // A scan looks at the flags before each item, so texts and the bar before it still show.
        if ((e.kind == Event::kRow || e.kind == Event::kTitle) && !app.jobs.ScanGoesOn())
            return false;
        switch (e.kind) {
        case Event::kRow: {
            auto& texts = app.listState.rowTexts;
            for (std::size_t c = 0; c < e.cells.size(); ++c)
                texts[c + 1] = std::move(e.cells[c]);
            const long row = AddResultRow(app, e.text);
            task.lastAdded = row >= 0;
            if (row >= 0)
                app.status.ShowRowCount(app.search.hitCount.fetch_add(1) + 1);
            break;
        }
        case Event::kTitle: {
            const long row = app.listState.lastAddedRow;
            if (task.lastAdded && row >= 0 && static_cast<std::size_t>(row) < app.list.RowCount())
                app.list.SetCell(static_cast<std::size_t>(row), 1, e.text);
            break;
        }
        case Event::kStatus: app.status.SetStatusText(e.text, e.pane, e.mode); break;
        case Event::kProgressBegin:
            task.barOpen = true;
            app.ui.ProgressBegin();
            break;
        case Event::kProgressStep: app.ui.ProgressStep(); break;
        case Event::kUnreadable: app.ui.ReportUnreadable(e.text); break;
        case Event::kProgressEnd:
            task.barOpen = false;
            app.ui.ProgressEnd();
            break;
        }
        return true;
    }

    // Replays what the front files have recorded, and retires the files that are done.
    void ReplayReady()
    {
        std::unique_lock lock(mutex);
        while (!window.empty()) {
            ControlLocked();
            Task& front = *window.front();
            if (!front.dropped && !front.events.empty()) {
                std::vector<Event> batch;
                batch.swap(front.events);
                buffered -= front.bytes;
                front.bytes = 0;
                const bool first = !front.replayStarted;
                const bool wake = spaceWaiters > 0;
                lock.unlock();
                if (wake)
                    spaceCv.notify_all();
                if (first)
                    StartReplay(front);
                bool goesOn = true;
                for (Event& e : batch)
                    if (!(goesOn = Apply(front, e)))
                        break;
                lock.lock();
                if (!goesOn) {
                    DropLocked(front);
                    ControlLocked();
                }
                continue;
            }
            if (!front.finished || !front.events.empty())
                break;
            std::unique_ptr<Task> done = std::move(window.front());
            window.pop_front();
            const bool wake = spaceWaiters > 0;
            lock.unlock();
            if (wake)
                spaceCv.notify_all();
            Retire(*done);
            lock.lock();
        }
    }

    void Retire(Task& task)
    {
        if (!task.replayStarted && !task.dropped)
            StartReplay(task); // a file that showed nothing still starts a file of its own
        if (task.barOpen)
            app.ui.ProgressEnd();
        if (task.done && !(task.dropped && stopped))
            task.done(task.result);
    }

    // Whether the waiting queuer has enough to do: files are replayed in batches, since waking
    // it for every small file would cost more than scanning the file.
    bool WorthWakingLocked() const
    {
        if (stopped || exiting || window.empty())
            return true;
        if (window.front()->bytes >= kFrontWakeBytes)
            return true;
        std::size_t ready = 0;
        for (const auto& task : window) {
            if (!task->finished)
                break;
            if (++ready >= maxQueued / 2)
                return true;
        }
        return ready == window.size();
    }

    // Idle workers are woken for several files at a time: one wake-up per small file costs about
    // as much as its scan.
    void WakeWorkersLocked(bool all)
    {
        if (idle > 0 && !pending.empty() && (all || pending.size() >= kWakeFiles))
            workCv.notify_all();
    }

    void WaitLocked(std::unique_lock<std::mutex>& lock)
    {
        WakeWorkersLocked(true);
        waiting = true;
        replayCv.wait_for(lock, kControlInterval, [&] { return WorthWakingLocked(); });
        waiting = false;
    }

    AppState& app;
    std::size_t maxBuffered;
    std::size_t maxQueued = 8;
    std::vector<std::unique_ptr<Worker>> workers;

    mutable std::mutex mutex;
    std::condition_variable workCv;   // a file to scan, or the end
    std::condition_variable replayCv; // the front file recorded something or ended
    std::condition_variable spaceCv;  // records were taken, or the front file changed
    std::deque<std::unique_ptr<Task>> window; // queued files in order; the front one is replayed
    std::deque<Task*> pending;                // queued files no worker has taken yet
    std::size_t buffered = 0;
    std::size_t peakBuffered = 0;
    bool stopped = false;
    bool exiting = false;
    bool waiting = false; // the queuer waits for replayCv
    int idle = 0;         // workers waiting for files
    int spaceWaiters = 0; // workers waiting for room in the records
};

ScanPool::ScanPool(AppState& app, int workers, std::size_t maxBuffered)
    : m(std::make_unique<Impl>(app, std::max(1, workers), maxBuffered))
{
}

ScanPool::~ScanPool() = default;

void ScanPool::Submit(const std::string& path, OpenedFile file, const RowTexts& texts, Done done)
{
    // Taken now: the caller may pass the list's row texts, which the replay below rewrites.
    auto task = std::make_unique<Task>();
    task->path = path;
    task->file = file;
    task->texts = texts;
    task->done = std::move(done);
    for (;;) {
        m->ReplayReady();
        std::unique_lock lock(m->mutex);
        if (m->stopped) {
            lock.unlock();
            CloseFile(task->file);
            return;
        }
        if (m->window.size() < m->maxQueued) {
            m->pending.push_back(task.get());
            m->window.push_back(std::move(task));
            m->WakeWorkersLocked(false);
            return;
        }
        m->WaitLocked(lock);
    }
}

void ScanPool::Drain()
{
    for (;;) {
        m->ReplayReady();
        std::unique_lock lock(m->mutex);
        if (m->window.empty())
            return;
        m->WaitLocked(lock);
    }
}

std::size_t ScanPool::PeakBufferedBytes() const
{
    std::lock_guard lock(m->mutex);
    return m->peakBuffered;
}

} // namespace lt
