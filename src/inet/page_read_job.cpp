// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/page_read_job.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "core/app_state.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/redirect.h"
#include "store/temp_file.h"

namespace lt {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxHops = 10;
constexpr std::size_t kReadSize = 1024;
constexpr std::size_t kWriteAbove = 3072;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// "404 - Not Found", or the bare number when the table has no entry.
std::string StatusWord(int status)
{
    std::string text = HttpStatusText(status);
    if (text.size() > 2 && text.compare(text.size() - 2, 2, " !") == 0)
        text.resize(text.size() - 2);
    return text;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

class Job
{
public:
    Job(AppState& app, InetSlot& slot, const PageReadRequest& request, PageReadObserver& observer)
        : m_app(app), m_slot(slot), m_request(request), m_observer(observer)
    {
        m_result.serial = request.serial;
    }

    PageReadResult Run()
    {
        if (m_request.url.empty() || m_request.tempFolder.empty())
            return Fail("Invalid Parameters !");
        std::string error;
        m_fd = CreateTempFile(m_request.tempFolder, "tmpfile", ".htm", m_path, error);
        if (m_fd < 0)
            return Fail("Can not create/open file\r\n" + m_request.tempFolder + " !");
        InetSession session(m_slot, m_request.fetch);
        if (!session.IsOpen())
            return Fail("Can not connect to Internet !");
        if (m_request.ownJobCode)
            session.SetStopCheck([this] {
                const int32_t code = m_app.jobs.Code();
                return code == 0 || code == kJobInetStop;
            });
        InetRequest request(session);
        std::string url = m_request.url;
        for (int hops = 0;; ++hops) {
            m_slot.url = url;
            Status(std::string(InetStateWord(1)));
            const OpenResult open = request.Open(url);
            if (open == OpenResult::Cancelled || open == OpenResult::Skipped)
                return Cancelled();
            if (open == OpenResult::TimedOut)
                return Fail("Timed out");
            if (open == OpenResult::Failed)
                return Fail("Can not open Url ! (Error " + InetErrorText(request.ErrorNumber()) + ")");
            std::string answer;
            const int status = request.QueryUrlStatus(answer);
            if (status == kStatusRedirectInside || status == kStatusRedirectElsewhere) {
                // A chain of redirects (A to B to A, or a growing one) must end somewhere.
                if (hops >= kMaxHops)
                    return Fail("Can not open Url ! (Error: too many redirects)");
                if (status == kStatusRedirectElsewhere &&
                    !m_observer.AskRedirect("Redirected to:\r\n" + answer + "\r\nRead redirected page ?", m_slot))
                    return Cancelled(false);
                if (m_slot.AbortRequested())
                    return Cancelled();
                url = answer;
                request.Close();
                continue;
            }
            if (status != kStatusOk)
                return Fail("Can not open Url ! (Error " + StatusWord(status) + ")");
            break;
        }
        return ReadBody(request);
    }

private:
    PageReadResult ReadBody(InetRequest& request)
    {
        Status(std::string(InetStateWord(2)));
        const Clock::time_point start = Clock::now();
        Clock::time_point shown = start;
        std::string buffer;
        char chunk[kReadSize];
        uint64_t total = 0;
        bool readFailed = false;
        bool cancelled = false;
        for (;;) {
            if (m_slot.AbortRequested()) {
                cancelled = true;
                break;
            }
            const long n = request.Read(chunk, sizeof chunk);
            if (n == -2) {
                cancelled = true;
                break;
            }
            if (n < 0) {
                readFailed = true;
                break;
            }
            if (n == 0) {
                m_result.complete = true;
                break;
            }
            std::size_t take = static_cast<std::size_t>(n);
            if (total + take > m_request.maxBytes) {
                take = static_cast<std::size_t>(m_request.maxBytes - total);
                m_result.truncated = true;
            }
            buffer.append(chunk, take);
            total += take;
            if (buffer.size() > kWriteAbove) {
                if (!WriteAll(m_fd, buffer.data(), buffer.size()))
                    return WriteFailed();
                buffer.clear();
            }
            if (m_result.truncated)
                break;
            if (Clock::now() - shown >= std::chrono::seconds(1)) {
                shown = Clock::now();
                Status(FormatTransferText(Seconds(start), total, kTransferPlain));
            }
        }
        request.Close();
        if (!WriteAll(m_fd, buffer.data(), buffer.size()))
            return WriteFailed();
        if (::close(m_fd) != 0) {
            m_fd = -1;
            return WriteFailed();
        }
        m_fd = -1;
        m_result.path = m_path;
        m_result.cancelled = cancelled;
        const double seconds = Seconds(start);
        if (readFailed) {
            Status("Error reading remote File !");
        } else if (m_result.truncated) {
            // The plain transfer text ends in a blank where a mode word would go.
            Status(FormatTransferText(seconds, total, kTransferPlain) + "(truncated)");
        } else {
            Status(FormatTransferText(seconds, total, cancelled ? kTransferCancelled : kTransferDone));
        }
        return m_result;
    }

    void Status(const std::string& text)
    {
        m_result.status = text;
        m_observer.StatusText(text);
    }

    // Failures before the transfer leave no file behind.
    void Discard()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
        if (!m_path.empty())
            ::unlink(m_path.c_str());
        m_path.clear();
    }

    PageReadResult Fail(const std::string& text)
    {
        Discard();
        Status(text);
        return m_result;
    }

    PageReadResult Cancelled(bool show = true)
    {
        Discard();
        m_result.cancelled = true;
        if (show)
            Status(FormatTransferText(0, 0, kTransferCancelled));
        return m_result;
    }

    PageReadResult WriteFailed()
    {
        const std::string text = "Could not write " + m_path + ": " + std::strerror(errno);
        Discard();
        Status(text);
        return m_result;
    }

    AppState& m_app;
    InetSlot& m_slot;
    const PageReadRequest& m_request;
    PageReadObserver& m_observer;
    PageReadResult m_result;
    std::string m_path;
    int m_fd = -1;
};

} // namespace

PageReadResult PageReadJob(AppState& app, InetSlot& slot, const PageReadRequest& request, PageReadObserver& observer)
{
    ResetSlot(slot, false);
    if (request.ownJobCode) {
        int32_t idle = 0;
        app.jobs.jobCode.compare_exchange_strong(idle, kJobInetRead);
    }
    PageReadResult result = Job(app, slot, request, observer).Run();
    if (request.ownJobCode) {
        int32_t mine = kJobInetRead;
        if (!app.jobs.jobCode.compare_exchange_strong(mine, 0) && mine == kJobInetStop)
            app.jobs.jobCode.compare_exchange_strong(mine, 0);
    }
    result.closing = slot.state.load() == kSlotClosing;
    return result;
}

InetSlot* TakePageReadSlot(InetSlotTable& slots, const std::function<void()>& pause)
{
    for (std::size_t i = 0; i < 16; ++i) {
        InetSlot& slot = slots[i];
        if (slot.state.load() == kSlotRunning) {
            slot.RequestCancel();
            if (pause)
                pause();
        }
    }
    for (std::size_t i = 2; i < 16; ++i) {
        uint32_t expected = kSlotFree;
        if (slots[i].state.compare_exchange_strong(expected, kSlotRunning))
            return &slots[i];
    }
    return nullptr;
}

PageReader::~PageReader()
{
    Cancel();
    Join();
}

void PageReader::Start(AppState& app, InetSlot& slot, PageReadRequest request, PageReadObserver& observer)
{
    Join();
    m_slot = &slot;
    m_running = true;
    m_thread = std::thread([this, &app, &slot, request = std::move(request), &observer] {
        PageReadResult result = PageReadJob(app, slot, request, observer);
        if (!result.closing) {
            slot.stopped = false;
            slot.skipped = false;
            slot.state = kSlotFree;
        }
        m_running = false;
        observer.Finished(result);
    });
}

void PageReader::Cancel()
{
    if (m_running.load() && m_slot)
        m_slot->RequestCancel();
}

void PageReader::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

PageReadStart StartPageRead(AppState& app, std::string_view addressText, PageReader& reader,
                            PageReadObserver& observer, std::uint64_t serial, bool ownJobCode)
{
    PageReadStart start;
    const char* home = std::getenv("HOME");
    start.address = ReadPageAddress(
        addressText,
        [](const std::string& path) {
            struct stat st{};
            return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
        },
        home ? home : "");
    if (start.address.kind != AddressKind::Url)
        return start;
    InetSlot* slot = TakePageReadSlot(app.inetSlots, [] { std::this_thread::sleep_for(std::chrono::milliseconds(200)); });
    if (!slot)
        return start;
    PageReadRequest request;
    request.url = start.address.target;
    request.tempFolder = TempFolder(app.options);
    // The page reader never goes through the configured proxy (the environment's still applies).
    request.fetch = FetchSettingsFrom(app.options.inet, false, false);
    request.serial = serial;
    request.ownJobCode = ownJobCode;
    reader.Start(app, *slot, std::move(request), observer);
    start.started = true;
    return start;
}

} // namespace lt
