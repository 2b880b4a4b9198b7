// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inet/fetch.h"

namespace lt {

// Several requests of one session opened side by side, all driven on the calling thread (the
// job thread) through the session's one multi handle: no more threads. At most `limit` are open
// at a time, and at most `perHost` to one host. The caller names each request by a tag of its own
// (a row), starts it, waits for openings to end, reads the opened request and then finishes it or
// restarts it with another URL (a redirect hop). A limit of 1 is one request after the other.
class TransferPool
{
public:
    // `headersOnly`: the requests stop at the end of the headers (no body is taken in).
    TransferPool(InetSession& session, int limit, int perHost, bool headersOnly);
    ~TransferPool();
    TransferPool(const TransferPool&) = delete;
    TransferPool& operator=(const TransferPool&) = delete;

    // True when one more request may start now (any host).
    bool HasRoom() const { return m_transfers.size() < m_limit; }
    // True when a request to `url` may start now: room in the pool and for its host.
    bool CanStart(std::string_view url) const;
    // True when the request of `tag` may go on with `url`: its own place counts as free.
    bool CanRestart(uint64_t tag, std::string_view url) const;
    // Starts opening `url` for `tag` (a tag in use is finished first). A request that fails at
    // once is reported by the next Wait like any other.
    void Start(uint64_t tag, const std::string& url);
    // Opens another URL for a started `tag` (a redirect): it keeps its place in the pool.
    void Restart(uint64_t tag, const std::string& url);
    // A redirect hop of `tag` to `url`: restarted in its place when the target's host has room,
    // else finished; false then, and the caller starts the hop later.
    bool Hop(uint64_t tag, const std::string& url);

    struct Ended
    {
        uint64_t tag = 0;
        OpenResult result = OpenResult::Failed;
    };
    // Drives the requests for at most `waitMs` and returns those whose opening ended, oldest
    // first; returns at once when one had ended already or a claimed request has body bytes in
    // hand. Empty on time-out or a Wake.
    std::vector<Ended> Wait(int waitMs);
    // The caller reads the body of the opened request of `tag` itself: Wait reports it no more
    // (it still drives it, so that its bytes arrive).
    void Claim(uint64_t tag);
    // The request of a started tag (to read its status or body); null for an unknown tag.
    InetRequest* Request(uint64_t tag);
    // Closes the request of `tag` and frees its place (also for abandoning it).
    void Finish(uint64_t tag);
    void FinishAll();

    std::size_t Size() const { return m_transfers.size(); }
    // The tags in the order they were started (the oldest first).
    std::vector<uint64_t> Tags() const;
    // The host part a request counts against: scheme, host and port, in lower case.
    static std::string HostKey(std::string_view url);

private:
    struct Transfer
    {
        uint64_t tag = 0;
        uint64_t order = 0;
        std::string host;
        std::unique_ptr<InetRequest> request;
        bool ended = false;
        bool claimed = false;
        OpenResult result = OpenResult::Failed;
    };
    Transfer* Find(uint64_t tag);
    const Transfer* Find(uint64_t tag) const;
    void Begin(Transfer& transfer, const std::string& url);
    // Collects the ended openings, oldest first.
    std::vector<Ended> Collect();

    InetSession& m_session;
    std::size_t m_limit;
    int m_perHost;
    bool m_headersOnly;
    uint64_t m_nextOrder = 0;
    std::vector<Transfer> m_transfers;
    std::map<std::string, int> m_perHostCount;
};

} // namespace lt
