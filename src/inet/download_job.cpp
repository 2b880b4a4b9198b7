// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/download_job.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include "inet/download_texts.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/redirect.h"
#include "inet/save_names.h"
#include "inet/save_target.h"
#include "store/options.h"

namespace lt {
namespace {

constexpr int kMaxHops = 10;

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

double SecondsBetween(DelayClock::TimePoint from, DelayClock::TimePoint to)
{
    return std::chrono::duration<double>(to - from).count();
}

} // namespace

std::string DefaultDownloadDir(const InetOptions& options)
{
    if (!options.downloadDir.empty())
        return options.downloadDir;
    return TargetDirectory(options.savePath);
}

bool DelayGate::Wait(const DelayClock& clock, DelayClock::TimePoint until, const std::function<bool()>& stop)
{
    std::unique_lock lock(m_mutex);
    return clock.WaitUntil(lock, m_wake, until, [&] { return m_open || stop(); });
}

void DelayGate::Open()
{
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
    }
    m_wake.notify_all();
}

void DelayGate::Close()
{
    std::lock_guard lock(m_mutex);
    m_open = false;
}

DownloadFile::~DownloadFile()
{
    if (m_fd >= 0)
        Discard();
}

bool DownloadFile::Create(std::string& path, bool rename, bool replace)
{
    m_fill = 0;
    m_bytes = 0;
    m_writeError = 0;
    m_out.clear();
    m_out.reserve(kWriteBehind);
    m_path = path;
    if (replace) {
        // The old file stays whole until the new one has arrived.
        m_writePath = path + ".part";
        m_fd = CreateSaveFile(m_writePath, true);
        return m_fd >= 0;
    }
    m_fd = CreateSaveFile(path, rename);
    m_path = path;
    m_writePath = path;
    return m_fd >= 0;
}

bool DownloadFile::Flush(std::size_t size)
{
    // The blocks the read rule releases are gathered into larger writes: a 100 MB file is not a
    // hundred thousand system calls.
    m_out.append(m_buffer, size);
    std::memmove(m_buffer, m_buffer + size, m_fill - size);
    m_fill -= size;
    return m_out.size() < kWriteBehind || WriteOut();
}

bool DownloadFile::WriteOut()
{
    if (!WriteAll(m_fd, m_out.data(), m_out.size())) {
        m_writeError = errno;
        return false;
    }
    m_out.clear();
    return true;
}

bool DownloadFile::Add(const char* data, std::size_t size)
{
    while (size > 0) {
        const std::size_t take = std::min(size, sizeof m_buffer - m_fill);
        std::memcpy(m_buffer + m_fill, data, take);
        m_fill += take;
        m_bytes += take;
        data += take;
        size -= take;
        while (m_fill > kHold)
            if (!Flush(kBlock))
                return false;
    }
    return true;
}

bool DownloadFile::CloseAndPlace()
{
    if ((m_fill > 0 && !Flush(m_fill)) || !WriteOut()) {
        Discard();
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        m_writeError = errno;
        ::unlink(m_writePath.c_str());
        return false;
    }
    if (m_writePath != m_path && ::rename(m_writePath.c_str(), m_path.c_str()) != 0) {
        m_writeError = errno;
        ::unlink(m_writePath.c_str());
        return false;
    }
    return true;
}

bool DownloadFile::Complete() { return m_fd >= 0 && CloseAndPlace(); }

bool DownloadFile::Keep() { return m_fd >= 0 && CloseAndPlace(); }

void DownloadFile::Discard()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    ::unlink(m_writePath.c_str());
}

DownloadJob::DownloadJob(InetSlot& slot, FetchSettings fetch, DownloadObserver& observer, const DelayClock& clock,
                         DelayGate& gate)
    : m_slot(slot), m_fetch(std::move(fetch)), m_observer(observer), m_clock(clock), m_gate(gate)
{
}

bool DownloadJob::Stopped() const
{
    const uint32_t state = m_slot.state.load();
    return m_slot.stopped.load() || state == kSlotCancel || state == kSlotClosing;
}

bool DownloadJob::WaitDelay(int minutes)
{
    m_gate.Close();
    m_observer.StateLine(JobStateText(3, 0, 0));
    const DelayClock::TimePoint start = m_clock.Now();
    for (long tick = 1;; ++tick) {
        if (m_gate.Wait(m_clock, start + std::chrono::seconds(tick), [this] { return Stopped(); }))
            break;
        const long shownMinutes = tick / 60;
        char text[64];
        std::snprintf(text, sizeof text, "Status: %s %ld:%ld", "Delay", shownMinutes, tick % 60);
        m_observer.StateLine(text);
        if (shownMinutes >= minutes)
            break;
    }
    return !Stopped();
}

RowOutcome DownloadJob::DownloadRow(InetSession& session, const std::string& url, std::string& target, bool rename,
                                    bool replace, bool single, long row, bool logUrl, const std::string& logDir)
{
    RowOutcome outcome;
    ResetSlot(m_slot, false);
    // A skip ends only the row it was meant for.
    uint32_t expected = kSlotSkip;
    m_slot.state.compare_exchange_strong(expected, kSlotRunning);
    m_slot.currentUrl = url;
    m_slot.url = url;
    const char* caption = single ? "Download Url" : "Download Urls";

    DownloadFile file;
    if (!file.Create(target, rename, replace)) {
        m_observer.Message(CannotCreateFileText(target), "Error");
        m_observer.Caption(caption, false);
        outcome.end = RowEnd::JobError;
        outcome.info = CannotCreateFileText(target);
        return outcome;
    }
    m_slot.savePath = target;
    m_slot.saveFileOpen = true;
    if (single) {
        m_observer.Caption("Connect to server", false);
    } else {
        m_observer.Caption(caption, false);
        m_observer.UrlLine(url);
        m_observer.SaveLine(target);
    }
    m_observer.StateLine(JobStateText(1, 0, 0));

    auto fail = [&](RowEnd end, std::string info, const std::string& caption) {
        file.Discard();
        m_slot.saveFileOpen = false;
        outcome.end = end;
        outcome.info = std::move(info);
        if (!caption.empty())
            m_observer.Caption(caption, true);
        return outcome;
    };
    auto abandoned = [&]() { return Stopped() ? RowEnd::Cancelled : RowEnd::Skipped; };

    InetRequest request(session);
    for (int hops = 0;; ++hops) {
        const OpenResult open = request.Open(m_slot.url);
        if (open == OpenResult::Cancelled || open == OpenResult::Skipped ||
            (open != OpenResult::Opened && (Stopped() || m_slot.skipped.load())))
            return fail(abandoned(), {}, {});
        if (open != OpenResult::Opened) {
            const std::string text = InetErrorText(open == OpenResult::TimedOut ? 12002 : request.ErrorNumber());
            return fail(RowEnd::Failed, "Error " + text, std::string(kDownloadCannotOpenUrl) + " (Error " + text + ")");
        }
        std::string answer;
        const int status = request.QueryUrlStatus(answer);
        if (status == kStatusRedirectInside || status == kStatusRedirectElsewhere) {
            if (hops >= kMaxHops)
                return fail(RowEnd::Failed, kDownloadTooManyRedirects,
                            std::string(kDownloadCannotOpenUrl) + " (" + kDownloadTooManyRedirects + ")");
            // The fetch layer would follow an http(s) target by itself; only another kind of
            // target is put to the user of the single window.
            if (single && status == kStatusRedirectElsewhere && !IsHttpUrl(answer) &&
                !m_observer.AskRedirect(answer))
                return fail(RowEnd::Declined, {}, {});
            m_slot.url = answer;
            request.Close();
            continue;
        }
        if (status != kStatusOk) {
            const std::string text = DownloadStatusText(status);
            return fail(RowEnd::Failed, "Error " + text, std::string(kDownloadCannotOpenUrl) + " (Error " + text + ")");
        }
        break;
    }

    const int64_t size = request.ContentLength();
    const std::string sizeText = size >= 0 ? DownloadSizeText(static_cast<uint64_t>(size)) : std::string();
    if (single)
        m_observer.RemoteFileLabel(size >= 0 ? "Remote file: " + sizeText : std::string("Remote file"));
    else
        m_observer.RowInfo(static_cast<std::size_t>(row), sizeText);
    m_observer.StateLine(JobStateText(2, 0, 0));

    const DelayClock::TimePoint start = m_clock.Now();
    DelayClock::TimePoint shown = start;
    char block[1024];
    for (;;) {
        const long n = request.Read(block, sizeof block);
        if (n == -2) {
            const RowEnd end = abandoned();
            const bool kept = file.Keep();
            m_slot.saveFileOpen = false;
            m_observer.Caption(FormatTransferText(SecondsBetween(start, m_clock.Now()), file.Bytes(),
                                                  end == RowEnd::Cancelled ? kTransferCancelled : kTransferSkipped),
                               false);
            outcome.end = end;
            outcome.bytes = file.Bytes();
            if (!kept)
                outcome.info = DownloadWriteErrorText(file.WriteError());
            return outcome;
        }
        // A body cut short (a reset, fewer bytes than announced, a stall) is no download.
        if (n < 0)
            return fail(RowEnd::Failed, kDownloadReadError, kDownloadReadError);
        if (n == 0) {
            if (size >= 0 && file.Bytes() != static_cast<uint64_t>(size))
                return fail(RowEnd::Failed, kDownloadReadError, kDownloadReadError);
            break;
        }
        if (!file.Add(block, static_cast<std::size_t>(n))) {
            const std::string text = DownloadWriteErrorText(file.WriteError());
            return fail(RowEnd::Failed, text, text);
        }
        const DelayClock::TimePoint now = m_clock.Now();
        if (now - shown >= std::chrono::seconds(1)) {
            shown = now;
            m_observer.Caption(FormatTransferText(SecondsBetween(start, now), file.Bytes(), kTransferPlain), false);
        }
    }
    request.Close();
    if (!file.Complete()) {
        const std::string text = DownloadWriteErrorText(file.WriteError());
        m_slot.saveFileOpen = false;
        m_observer.Caption(text, true);
        outcome.end = RowEnd::Failed;
        outcome.info = text;
        return outcome;
    }
    m_slot.saveFileOpen = false;
    outcome.end = RowEnd::Done;
    outcome.bytes = file.Bytes();
    m_observer.Caption(FormatTransferText(SecondsBetween(start, m_clock.Now()), file.Bytes(), kTransferDone),
                       false);
    if (logUrl && !AppendDownloadLog(logDir, url))
        m_observer.Message(CannotCreateFileText(logDir + "/" + kDownloadLogName), "Error");
    return outcome;
}

DownloadResult DownloadJob::RunBatch(DownloadList& list, const DownloadSettings& settings, std::size_t startRow)
{
    DownloadResult result;
    if (settings.saveDir.empty()) {
        result.error = "Invalid Parameters !";
        m_observer.Caption(result.error, true);
        return result;
    }
    auto session = std::make_unique<InetSession>(m_slot, m_fetch);
    if (!session->IsOpen()) {
        result.error = "Can not connect to Internet !";
        m_observer.Caption(result.error, true);
        return result;
    }
    m_slot.saveDir = settings.saveDir;
    if (settings.parallel > 1)
        return RunBatchParallel(*session, list, settings, startRow);
    const long total = static_cast<long>(list.size());
    std::size_t index = startRow;
    int retries = settings.retries;
    for (;;) {
        if (Stopped()) {
            result.cancelled = true;
            break;
        }
        if (index >= list.size()) {
            if (retries >= 1 && index > 0 && !list.empty()) {
                if (settings.delayMinutes > 0 && !WaitDelay(settings.delayMinutes)) {
                    result.cancelled = true;
                    break;
                }
                --retries;
                m_observer.RetriesLeft(retries);
                index = 0;
                continue;
            }
            break;
        }
        const std::string url = TrimmedUrl(list[index].url);
        if (url.size() < 5) {
            index = list.size();
            continue;
        }
        std::string target = MakeSaveName(settings.saveDir, url, kDownloadNameLimit);
        RowOutcome outcome;
        if (target.empty()) {
            // One URL that names no file fails its own row, not the rest of the list.
            outcome.info = kDownloadNoFileName;
        } else {
            outcome = DownloadRow(*session, url, target, true, false, false, static_cast<long>(index),
                                  settings.logUrl, settings.saveDir);
        }
        if (outcome.end == RowEnd::JobError) {
            result.error = outcome.info;
            break;
        }
        if (outcome.end == RowEnd::Cancelled) {
            result.cancelled = true;
            break;
        }
        if (outcome.end == RowEnd::Done) {
            // While the job runs it alone changes the list: the row is still at its index, whatever
            // URL a redirect made the slot request.
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
            m_observer.RowRemoved(index);
            ++result.retrieved;
            m_slot.retrieved = static_cast<uint32_t>(result.retrieved);
            m_observer.CounterLine(CounterText(total, result.retrieved, 0));
        } else {
            if (!outcome.info.empty()) {
                list[index].info = outcome.info;
                m_observer.RowInfo(index, outcome.info);
            }
            ++index;
        }
        if (m_slot.timedOut.load() || outcome.end == RowEnd::Skipped)
            session = std::make_unique<InetSession>(m_slot, m_fetch);
        if (std::string picked; m_observer.TakeSelectedNext(picked)) {
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (list[i].url == picked) {
                    index = i;
                    break;
                }
            }
        }
    }
    result.failed = static_cast<long>(list.size());
    return result;
}

DownloadResult DownloadJob::RunSingle(const SingleDownload& download)
{
    DownloadResult result;
    const std::string url = TrimmedUrl(download.url);
    std::string target = download.path;
    if (url.empty() || target.empty()) {
        result.error = "Invalid Parameters !";
        m_observer.Caption(result.error, true);
        return result;
    }
    InetSession session(m_slot, m_fetch);
    if (!session.IsOpen()) {
        result.error = "Can not connect to Internet !";
        m_observer.Caption(result.error, true);
        return result;
    }
    const std::string dir = TargetDirectory(target);
    m_slot.saveDir = dir;
    const RowOutcome outcome =
        DownloadRow(session, url, target, false, download.replace, true, -1, download.logUrl, dir);
    switch (outcome.end) {
    case RowEnd::Done:
        result.retrieved = 1;
        break;
    case RowEnd::Cancelled:
        result.cancelled = true;
        break;
    case RowEnd::JobError:
        result.error = outcome.info;
        result.failed = 1;
        break;
    default:
        result.failed = 1;
        break;
    }
    return result;
}

} // namespace lt
