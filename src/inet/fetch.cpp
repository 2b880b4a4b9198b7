// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/fetch.h"

#include <algorithm>
#include <cstring>

#include <curl/curl.h>

#include "inet/curl_errors.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/redirect.h"
#include "store/options.h"

namespace lt {

namespace {

using Clock = std::chrono::steady_clock;

// How long one wait for the network lasts: a cancel or skip that wakes nothing (a plain flag) is
// still seen within this time.
constexpr int kPollMs = 100;
constexpr std::size_t kAnswerLimit = 511;
// The body bytes a request holds for its reader: beyond them the transfer pauses, so that many
// requests read side by side never keep more than this each in memory.
constexpr std::size_t kBodyHold = 256 * 1024;

void WakeMulti(void* context)
{
    curl_multi_wakeup(static_cast<CURLM*>(context));
}

} // namespace

struct InetSession::Impl
{
    CURLM* multi = nullptr;
    CURLSH* share = nullptr;
};

struct InetRequest::Impl
{
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    bool inMulti = false;
    bool isFtp = false;
    bool headersDone = false;
    bool headersOnly = false;
    bool done = false;
    bool held = false; // paused because the reader has not taken the bytes in hand
    CURLcode result = CURLE_OK;
    std::string url;
    std::string pending;
    std::size_t pendingPos = 0;
    std::chrono::steady_clock::time_point lastData{};
    std::chrono::steady_clock::time_point deadline{};
};

namespace {

size_t OnBody(char* data, size_t size, size_t count, void* user)
{
    auto* impl = static_cast<InetRequest::Impl*>(user);
    impl->headersDone = true;
    // The status test wants the headers only: the body stays with the server.
    if (impl->headersOnly)
        return CURL_WRITEFUNC_PAUSE;
    if (impl->pending.size() - impl->pendingPos >= kBodyHold) {
        impl->held = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (impl->pendingPos > 0 && impl->pendingPos >= impl->pending.size() / 2) {
        impl->pending.erase(0, impl->pendingPos);
        impl->pendingPos = 0;
    }
    impl->pending.append(data, size * count);
    impl->lastData = std::chrono::steady_clock::now();
    return size * count;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user)
{
    auto* impl = static_cast<InetRequest::Impl*>(user);
    const size_t n = size * count;
    if (!impl->isFtp && ((n == 2 && data[0] == '\r' && data[1] == '\n') || (n == 1 && data[0] == '\n'))) {
        long code = 0;
        curl_easy_getinfo(impl->easy, CURLINFO_RESPONSE_CODE, &code);
        // 1xx answers are followed by the real one.
        if (code >= 200 || code == 0)
            impl->headersDone = true;
    }
    return n;
}

// One round of the session's multi handle: runs what is ready, records finished transfers and
// waits at most `waitMs` for more.
void Pump(CURLM* multi, int waitMs)
{
    int running = 0;
    curl_multi_perform(multi, &running);
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
        if (msg->msg != CURLMSG_DONE)
            continue;
        void* owner = nullptr;
        curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &owner);
        auto* impl = static_cast<InetRequest::Impl*>(owner);
        impl->done = true;
        impl->result = msg->data.result;
    }
    if (waitMs > 0)
        curl_multi_poll(multi, nullptr, 0, waitMs, nullptr);
}

bool StartsNoCase(const std::string& text, const char* prefix)
{
    const std::size_t n = std::strlen(prefix);
    return text.size() >= n && strncasecmp(text.c_str(), prefix, n) == 0;
}

} // namespace

FetchSettings FetchSettingsFrom(const InetOptions& options, bool forCrawler, bool withProxy)
{
    FetchSettings settings;
    if (!forCrawler) {
        settings.connectTimeoutMs = 10000;
        settings.sendTimeoutMs = 40000;
    }
    settings.timeoutSeconds = std::clamp(options.timeoutSeconds, 1, 86400);
    if (withProxy && options.useProxy && !options.proxies.empty())
        settings.proxy = options.proxies.front();
    settings.ftpUser = options.ftpUser;
    settings.ftpPassword = options.ftpPassword;
    return settings;
}

std::string EncodeUrlForRequest(const std::string& url)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    for (const char ch : url) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 33 || c > 126) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

InetSession::InetSession(InetSlot& slot, FetchSettings settings)
    : m_slot(slot), m_settings(std::move(settings)), m_impl(new Impl)
{
    m_impl->multi = curl_multi_init();
    m_impl->share = curl_share_init();
    if (m_impl->share) {
        curl_share_setopt(m_impl->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
        curl_share_setopt(m_impl->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    }
    if (m_impl->multi)
        m_slot.AttachWaker(WakeMulti, m_impl->multi);
    m_slot.ftpLogin = m_settings.ftpUser.empty() ? 0 : 1;
}

InetSession::~InetSession()
{
    // The window may be waking us right now: detach first, under the slot's lock.
    m_slot.DetachWaker();
    if (m_impl->multi)
        curl_multi_cleanup(m_impl->multi);
    if (m_impl->share)
        curl_share_cleanup(m_impl->share);
    delete m_impl;
}

bool InetSession::IsOpen() const { return m_impl->multi && m_impl->share; }

void InetSession::Drive(int waitMs)
{
    if (!m_impl->multi)
        return;
    if (waitMs > 0)
        curl_multi_poll(m_impl->multi, nullptr, 0, waitMs, nullptr);
    Pump(m_impl->multi, 0);
}

bool InetSession::ShouldStop() const
{
    return m_slot.AbortRequested() || (m_stopCheck && m_stopCheck());
}

InetRequest::InetRequest(InetSession& session) : m_session(session), m_impl(new Impl) {}

InetRequest::~InetRequest()
{
    Close();
    delete m_impl;
}

void InetRequest::Close()
{
    Impl& r = *m_impl;
    if (r.easy) {
        if (r.inMulti)
            curl_multi_remove_handle(m_session.impl()->multi, r.easy);
        curl_easy_cleanup(r.easy);
    }
    if (r.headers)
        curl_slist_free_all(r.headers);
    const std::string url = r.url;
    r = Impl{};
    r.url = url;
    m_session.Slot().connectTicks = -1;
}

OpenResult InetRequest::Open(const std::string& url)
{
    if (!Begin(url))
        return OpenResult::Failed;
    InetSlot& slot = m_session.Slot();
    for (;;) {
        Pump(m_session.impl()->multi, 0);
        if (const std::optional<OpenResult> result = Progress())
            return *result;
        if (m_session.ShouldStop()) {
            m_errorNumber = kErrorCancelled;
            return slot.skipped || slot.state == kSlotSkip ? OpenResult::Skipped : OpenResult::Cancelled;
        }
        curl_multi_poll(m_session.impl()->multi, nullptr, 0, kPollMs, nullptr);
    }
}

bool InetRequest::Begin(const std::string& url)
{
    Close();
    m_errorNumber = 0;
    InetSlot& slot = m_session.Slot();
    const FetchSettings& settings = m_session.Settings();
    Impl& r = *m_impl;
    r.url = url;
    r.headersOnly = m_headersOnly;
    const int protocol = ProtocolOf(url);
    // libcurl knows more schemes than a job may use; refuse the others before any request.
    if (protocol == 0 || !(StartsNoCase(url, "http://") || StartsNoCase(url, "https://") || protocol == 2)) {
        m_errorNumber = kErrorUnsupportedScheme;
        return false;
    }
    r.isFtp = protocol == 2;
    r.easy = curl_easy_init();
    if (!r.easy || !m_session.IsOpen()) {
        m_errorNumber = 12004;
        return false;
    }
    const std::string requestUrl = EncodeUrlForRequest(url);
    CURL* e = r.easy;
    curl_easy_setopt(e, CURLOPT_URL, requestUrl.c_str());
    curl_easy_setopt(e, CURLOPT_PRIVATE, &r);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &r);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &r);
    curl_easy_setopt(e, CURLOPT_USERAGENT, kInetAgent);
    r.headers = curl_slist_append(nullptr, kInetAccept);
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, r.headers);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(e, CURLOPT_HTTP09_ALLOWED, 0L);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, settings.connectTimeoutMs);
    // A body that stops arriving for the time-out seconds fails the read.
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>(settings.timeoutSeconds));
    curl_easy_setopt(e, CURLOPT_SHARE, m_session.impl()->share);
    curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!settings.caFile.empty())
        curl_easy_setopt(e, CURLOPT_CAINFO, settings.caFile.c_str());
    if (!settings.proxy.empty()) {
        curl_easy_setopt(e, CURLOPT_PROXY, settings.proxy.c_str());
        curl_easy_setopt(e, CURLOPT_NOPROXY, "");
    }
    // The login goes as libcurl's user and password, never into the URL or any text.
    if (r.isFtp && slot.ftpLogin == 2) {
        curl_easy_setopt(e, CURLOPT_USERNAME, settings.ftpUser.c_str());
        curl_easy_setopt(e, CURLOPT_PASSWORD, settings.ftpPassword.c_str());
    }
    if (curl_multi_add_handle(m_session.impl()->multi, e) != CURLM_OK) {
        m_errorNumber = 12004;
        return false;
    }
    r.inMulti = true;
    slot.connectTicks = 0;
    r.lastData = Clock::now();
    r.deadline = Clock::now() + std::chrono::seconds(settings.timeoutSeconds);
    return true;
}

std::optional<OpenResult> InetRequest::Progress()
{
    Impl& r = *m_impl;
    if (!r.easy)
        return OpenResult::Failed;
    InetSlot& slot = m_session.Slot();
    if (r.headersDone || (r.done && r.result == CURLE_OK)) {
        // Connected: the window's dots stop.
        slot.connectTicks = -1;
        return OpenResult::Opened;
    }
    if (r.done) {
        if (r.result == CURLE_LOGIN_DENIED && slot.ftpLogin == 1) {
            slot.ftpLogin = 2;
            const std::string url = r.url;
            if (!Begin(url))
                return OpenResult::Failed;
            return std::nullopt;
        }
        long osErrno = 0;
        long verify = -1;
        curl_easy_getinfo(r.easy, CURLINFO_OS_ERRNO, &osErrno);
        curl_easy_getinfo(r.easy, CURLINFO_SSL_VERIFYRESULT, &verify);
        m_errorNumber = InetErrorNumber(r.result, osErrno, slot.ftpLogin == 2, verify);
        if (slot.ftpLogin == 2)
            slot.ftpLogin = 1;
        if (r.result == CURLE_OPERATION_TIMEDOUT) {
            slot.timedOut = true;
            return OpenResult::TimedOut;
        }
        return OpenResult::Failed;
    }
    if (Clock::now() >= r.deadline) {
        slot.timedOut = true;
        m_errorNumber = 12002;
        return OpenResult::TimedOut;
    }
    return std::nullopt;
}

int InetRequest::QueryUrlStatus(std::string& answer)
{
    Impl& r = *m_impl;
    InetSlot& slot = m_session.Slot();
    answer.clear();
    if (!r.easy)
        return kStatusOutOfRange;
    if (r.isFtp) {
        // The FTP reply code (150, 226 ...) is no status: an opened transfer is 200.
        if (slot.ftpLogin == 2)
            slot.ftpLogin = 1;
        curl_off_t size = -1;
        curl_easy_getinfo(r.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
        answer = "200";
        if (size >= 0) {
            slot.ftpFileSize = static_cast<uint64_t>(size);
            slot.ftpFileSizeKnown = true;
            if (size == 0)
                return kStatusFtpEmpty;
        }
        return kStatusOk;
    }
    long code = 0;
    curl_easy_getinfo(r.easy, CURLINFO_RESPONSE_CODE, &code);
    int status = NormalizeStatus(code);
    answer = std::to_string(code);
    if (status == 301 || status == 302 || status == 303) {
        curl_header* header = nullptr;
        if (curl_easy_header(r.easy, "Location", 0, CURLH_HEADER, -1, &header) == CURLHE_OK && header->value) {
            const std::string_view location(header->value);
            std::string target;
            // A Location longer than the answer can hold is not taken (never cut).
            if (location.size() <= kAnswerLimit)
                status = ClassifyRedirect(status, r.url, location, target);
            if (status == kStatusRedirectInside || status == kStatusRedirectElsewhere)
                answer = target;
        }
    } else if (status >= 401 && status <= 403) {
        curl_header* header = nullptr;
        if (curl_easy_header(r.easy, "WWW-Authenticate", 0, CURLH_HEADER, -1, &header) == CURLHE_OK &&
            header->value)
            answer.assign(header->value, std::min<std::size_t>(std::strlen(header->value), kAnswerLimit));
    }
    return status;
}

int64_t InetRequest::ContentLength() const
{
    curl_off_t size = -1;
    if (m_impl->easy)
        curl_easy_getinfo(m_impl->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
    return size < 0 ? -1 : static_cast<int64_t>(size);
}

long InetRequest::Take(char* buffer, std::size_t size)
{
    Impl& r = *m_impl;
    if (r.pendingPos < r.pending.size()) {
        const std::size_t n = std::min(size, r.pending.size() - r.pendingPos);
        std::memcpy(buffer, r.pending.data() + r.pendingPos, n);
        r.pendingPos += n;
        if (r.pendingPos == r.pending.size()) {
            r.pending.clear();
            r.pendingPos = 0;
        }
        if (r.held && r.pending.size() - r.pendingPos < kBodyHold / 2) {
            // The reader caught up: the paused transfer goes on (libcurl may hand over the bytes
            // it kept right here, which OnBody appends).
            r.held = false;
            r.lastData = Clock::now();
            curl_easy_pause(r.easy, CURLPAUSE_CONT);
        }
        return static_cast<long>(n);
    }
    if (r.done) {
        if (r.result == CURLE_OK)
            return 0;
        long osErrno = 0;
        curl_easy_getinfo(r.easy, CURLINFO_OS_ERRNO, &osErrno);
        m_errorNumber = InetErrorNumber(r.result, osErrno, false);
        return -1;
    }
    // libcurl's low-speed check averages over seconds; a body that trickles a few bytes and
    // then stops must fail after the time-out all the same.
    if (Clock::now() - r.lastData > std::chrono::seconds(m_session.Settings().timeoutSeconds)) {
        m_errorNumber = 12002;
        return -1;
    }
    return kNothingYet;
}

bool InetRequest::BodyInHand() const
{
    const Impl& r = *m_impl;
    return r.easy && (r.pendingPos < r.pending.size() || r.done);
}

long InetRequest::ReadAvailable(char* buffer, std::size_t size)
{
    if (!m_impl->easy)
        return -1;
    return Take(buffer, size);
}

long InetRequest::Read(char* buffer, std::size_t size)
{
    Impl& r = *m_impl;
    if (!r.easy)
        return -1;
    for (;;) {
        if (r.pendingPos < r.pending.size() || r.done)
            return Take(buffer, size);
        if (m_session.ShouldStop())
            return -2;
        if (const long n = Take(buffer, size); n != kNothingYet)
            return n;
        Pump(m_session.impl()->multi, 0);
        if (r.pending.empty() && !r.done)
            curl_multi_poll(m_session.impl()->multi, nullptr, 0, kPollMs, nullptr);
    }
}

} // namespace lt
