// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace lt {

struct InetOptions;
struct InetSlot;

inline constexpr const char* kInetAgent = "Mozilla/4.0 (compatible;MSIE6.0)";
inline constexpr const char* kInetAccept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, text/htm, */*";

// How a job's session talks to the network.
struct FetchSettings
{
    long connectTimeoutMs = 40000;
    long sendTimeoutMs = 120000;
    int timeoutSeconds = 30;   // bounds every open, and a body that stops arriving
    std::string proxy;         // "host:port"; empty: the environment's
    std::string ftpUser, ftpPassword;
    std::string caFile;        // extra certificate authorities (tests); empty: the system's
};

// The crawler's settings (connect 40 s, send 120 s) from the INET options; `forCrawler` false
// gives the other jobs' 10 s and 40 s.
FetchSettings FetchSettingsFrom(const InetOptions& options, bool forCrawler, bool withProxy = true);

// One job's session: a multi handle driven on the job's own thread, sharing DNS and TLS
// sessions across its requests, so that connections are reused. Not thread-safe: the window
// reaches it only through the slot (InetSlot::Wake).
class InetSession
{
public:
    InetSession(InetSlot& slot, FetchSettings settings);
    ~InetSession();
    InetSession(const InetSession&) = delete;
    InetSession& operator=(const InetSession&) = delete;

    // False when the handles could not be made ("Can not connect to Internet !").
    bool IsOpen() const;
    InetSlot& Slot() { return m_slot; }
    const FetchSettings& Settings() const { return m_settings; }
    // A further reason to abandon the current item (the process-wide stop), checked with the slot.
    void SetStopCheck(std::function<bool()> check) { m_stopCheck = std::move(check); }
    bool ShouldStop() const;

    // One round over every transfer of the session: waits at most `waitMs` for the network (or a
    // Wake), then runs what is ready. Callers that drive several requests use this with
    // InetRequest::Begin and Progress.
    void Drive(int waitMs);

    struct Impl;
    Impl* impl() { return m_impl; }

private:
    InetSlot& m_slot;
    FetchSettings m_settings;
    std::function<bool()> m_stopCheck;
    Impl* m_impl;
};

// How opening a URL ended.
enum class OpenResult { Opened, Failed, TimedOut, Cancelled, Skipped };

// One request of a session: opens a URL (no automatic redirects), reads its status and body.
class InetRequest
{
public:
    explicit InetRequest(InetSession& session);
    ~InetRequest();
    InetRequest(const InetRequest&) = delete;
    InetRequest& operator=(const InetRequest&) = delete;

    // Starts the transfer and drives it until the headers are in (or the FTP data starts).
    // Bounded by the time-out seconds; a cancel or skip ends it within about 100 ms.
    OpenResult Open(const std::string& url);
    // The same in steps, for a caller that drives several requests of one session (through
    // InetSession::Drive): Begin starts the transfer and returns false when it failed at once;
    // Progress then says how the opening ended, or nothing while it is pending. Progress neither
    // waits nor looks at cancel or skip: the caller decides which request they concern.
    bool Begin(const std::string& url);
    std::optional<OpenResult> Progress();
    // Stops at the end of the headers: no body byte is taken in (the status test). Set before Begin.
    void SetHeadersOnly(bool on) { m_headersOnly = on; }
    // The error number of a failed open or read.
    int ErrorNumber() const { return m_errorNumber; }

    // The status of the opened URL: an HTTP code (307 as 302, 308 as 301), 506/507 for redirects
    // (`answer` then holds the absolute target), 537 out of range, 521 for an empty FTP file, 200
    // for FTP. `answer` holds the code, the target or the authentication request (at most 511
    // bytes). Sets the slot's FTP size.
    int QueryUrlStatus(std::string& answer);
    // The size the server announced for the opened URL (Content-Length, or the FTP size); -1 when
    // it is not known (a chunked body).
    int64_t ContentLength() const;

    // Reads up to `size` body bytes: the count, 0 at the end, -1 on a read error (a cut body, a
    // stall beyond the time-out), -2 when the item was abandoned.
    long Read(char* buffer, std::size_t size);
    // The same without waiting or driving the session (a caller that drives several requests
    // does that): kNothingYet when no byte is in hand yet. A stop is the caller's to see.
    static constexpr long kNothingYet = -3;
    long ReadAvailable(char* buffer, std::size_t size);
    // True when body bytes (or the end) wait for the reader: no need to wait for the network.
    bool BodyInHand() const;
    // Closes the transfer (also done by the destructor).
    void Close();

    struct Impl;

private:
    long Take(char* buffer, std::size_t size);

    InetSession& m_session;
    Impl* m_impl;
    int m_errorNumber = 0;
    bool m_headersOnly = false;
};

// A copy of `url` for libcurl: bytes outside 33..126 percent-encoded (lists keep the original).
std::string EncodeUrlForRequest(const std::string& url);

} // namespace lt
