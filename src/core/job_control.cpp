// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/job_control.h"

#include <chrono>
#include <exception>
#include <new>
#include <system_error>
#include <utility>

#include "core/app_state.h"
#include "core/messages.h"
#include "core/window_messages.h"

namespace lt {

namespace {

void ReportJobFailure(AppState& app, const char* what)
{
    ShowMessage(app, what, "Error", {MsgButtons::Ok, MsgIcon::Error});
}

// Runs `body`, turning any exception into an "Error" box so that no failure leaves the thread.
template <typename Body>
void Guarded(AppState& app, Body&& body)
{
    try {
        body();
    } catch (const std::bad_alloc&) {
        ReportJobFailure(app, "Not enough memory !");
    } catch (const std::exception& e) {
        ReportJobFailure(app, e.what());
    } catch (...) {
        ReportJobFailure(app, "Unknown error");
    }
}

void JoinThread(std::jthread& t)
{
    if (!t.joinable())
        return;
    if (t.get_id() == std::this_thread::get_id())
        t.detach(); // a job that starts its successor cannot wait for itself
    else
        t.join();
}

void PruneNumbered(JobControl& jobs)
{
    for (std::size_t i = 0; i < jobs.numbered.size();) {
        if (jobs.numberedDone[i]->load()) {
            JoinThread(jobs.numbered[i]);
            jobs.numbered.erase(jobs.numbered.begin() + static_cast<std::ptrdiff_t>(i));
            jobs.numberedDone.erase(jobs.numberedDone.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

} // namespace

bool StartJob(AppState& app, int32_t code, JobEntry entry)
{
    JobControl& jobs = app.jobs;
    if (jobs.Code() != kJobIdle || code == kJobIdle)
        return false;
    // The previous worker has given the job code back; let it finish its last messages.
    JoinThread(jobs.worker);
    RunAfterJob(app);
    int32_t idle = kJobIdle;
    if (!jobs.jobCode.compare_exchange_strong(idle, code))
        return false;
    jobs.skipRequested.store(false);
    try {
        jobs.worker = std::jthread([&app, code, entry = std::move(entry)] {
            app.ui.SetWaitCursor(true);
            bool failed = true;
            Guarded(app, [&] {
                entry(app);
                failed = false;
            });
            // A job that ends without giving the code back still ends here; a code changed
            // meanwhile (a stop, an internet state) is the window's, unless the job failed.
            int32_t expected = code;
            if (!app.jobs.jobCode.compare_exchange_strong(expected, kJobIdle) && failed)
                app.jobs.jobCode.store(kJobIdle);
            app.jobs.skipRequested.store(false);
            app.ui.Post(kMsgRestoreCursor, 0, 0);
        });
    } catch (const std::system_error&) {
        jobs.jobCode.store(kJobIdle);
        return false;
    }
    return true;
}

void StopJob(AppState& app)
{
    JobControl& jobs = app.jobs;
    jobs.listBusy.store(false);
    const int32_t code = jobs.Code();
    if (code == kJobIdle || code > 1000)
        return;
    if (code == kJobFileList || code == kJobRemoveDupes) {
        jobs.jobCode.store(kJobIdle);
        return;
    }
    const char* question = code <= kJobFolderSearch ? "Stop current Search ?" : "Stop current Process ?";
    MsgStyle style{MsgButtons::YesNo, MsgIcon::Question};
    style.watchedJob = &jobs.jobCode;
    style.mootUnless = code;
    const MsgAnswer answer = ShowMessage(app, question, "LinkTrawl", style);
    // The job may have ended while the question was open; a successor is not stopped by it.
    if (answer == MsgAnswer::Yes && jobs.Code() == code)
        StopCurrent(app);
}

void StopCurrent(AppState& app)
{
    JobControl& jobs = app.jobs;
    const int32_t code = jobs.Code();
    if (code == kJobConnecting || code == kJobInetRead) {
        jobs.jobCode.store(kJobInetStop);
        if (jobs.abortConnection)
            jobs.abortConnection();
        return;
    }
    jobs.jobCode.store(kJobIdle);
}

void SkipFile(AppState& app)
{
    if (app.jobs.Running())
        app.jobs.skipRequested.store(true);
}

void JoinWorker(AppState& app)
{
    JoinThread(app.jobs.worker);
    for (auto& t : app.jobs.numbered)
        JoinThread(t);
    app.jobs.numbered.clear();
    app.jobs.numberedDone.clear();
}

void RunAfterJob(AppState& app)
{
    // A kMsgSearchDone of an earlier job may arrive while a later one runs.
    if (app.jobs.Running() || !app.jobs.afterJob)
        return;
    const JobEntry work = std::exchange(app.jobs.afterJob, nullptr);
    work(app);
}

int StartNumberedThread(AppState& app, NumberedEntry entry, int32_t value)
{
    JobControl& jobs = app.jobs;
    if (jobs.Running())
        return -1;
    PruneNumbered(jobs);
    app.status.ClearStatus(2);

    const int count = jobs.numberedThreads.fetch_add(1) + 1;
    int number;
    if (count <= 0) {
        for (auto& s : jobs.threadSlots)
            s.store(0);
        number = 0;
    } else {
        number = count;
        for (int i = 254; i >= count; --i)
            if (jobs.threadSlots[static_cast<std::size_t>(i)].load() != 0) {
                number = i + 1;
                break;
            }
    }
    if (number < 0 || number >= 256) {
        // Nothing starts, so nothing would lower the count again.
        jobs.numberedThreads.fetch_sub(1);
        ShowMessage(app, "Too many threads !", "Error", {MsgButtons::Ok, MsgIcon::Warning});
        return -1;
    }

    auto& slot = jobs.threadSlots[static_cast<std::size_t>(number)];
    slot.store(1);
    jobs.jobParam = JobParam{value, number};
    auto done = std::make_shared<std::atomic<bool>>(false);
    try {
        jobs.numbered.emplace_back([&app, entry = std::move(entry), done, number] {
            const JobParam param = app.jobs.jobParam;
            auto& mine = app.jobs.threadSlots[static_cast<std::size_t>(number)];
            uint8_t starting = 1;
            mine.compare_exchange_strong(starting, 2);
            Guarded(app, [&] { entry(app, param); });
            mine.store(0);
            app.jobs.numberedThreads.fetch_sub(1);
            done->store(true);
        });
    } catch (const std::system_error&) {
        slot.store(0);
        jobs.numberedThreads.fetch_sub(1);
        return -1;
    }
    jobs.numberedDone.push_back(done);

    // Hand-shake: the starter keeps JobParam stable until the thread has copied it.
    for (int poll = 0; poll < 401 && slot.load() == 1; ++poll)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    uint8_t starting = 1;
    slot.compare_exchange_strong(starting, 0);
    return number;
}

} // namespace lt
