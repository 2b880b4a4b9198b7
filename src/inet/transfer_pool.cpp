// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/transfer_pool.h"

#include <algorithm>

#include "core/cp1252.h"

namespace lt {

TransferPool::TransferPool(InetSession& session, int limit, int perHost, bool headersOnly)
    : m_session(session), m_limit(static_cast<std::size_t>(std::max(1, limit))), m_perHost(std::max(1, perHost)),
      m_headersOnly(headersOnly)
{
    m_transfers.reserve(m_limit);
}

TransferPool::~TransferPool() { FinishAll(); }

std::string TransferPool::HostKey(std::string_view url)
{
    std::size_t from = url.find("://");
    from = from == std::string_view::npos ? 0 : from + 3;
    std::size_t to = url.find_first_of("/?#", from);
    if (to == std::string_view::npos)
        to = url.size();
    std::string key(url.substr(0, to));
    for (char& c : key)
        c = static_cast<char>(Cp1252Lower(static_cast<unsigned char>(c)));
    return key;
}

TransferPool::Transfer* TransferPool::Find(uint64_t tag)
{
    for (Transfer& t : m_transfers)
        if (t.tag == tag)
            return &t;
    return nullptr;
}

const TransferPool::Transfer* TransferPool::Find(uint64_t tag) const
{
    for (const Transfer& t : m_transfers)
        if (t.tag == tag)
            return &t;
    return nullptr;
}

bool TransferPool::CanStart(std::string_view url) const
{
    if (!HasRoom())
        return false;
    const auto found = m_perHostCount.find(HostKey(url));
    return found == m_perHostCount.end() || found->second < m_perHost;
}

bool TransferPool::CanRestart(uint64_t tag, std::string_view url) const
{
    const Transfer* t = Find(tag);
    if (!t)
        return CanStart(url);
    const std::string host = HostKey(url);
    if (host == t->host)
        return true;
    const auto found = m_perHostCount.find(host);
    return found == m_perHostCount.end() || found->second < m_perHost;
}

void TransferPool::Begin(Transfer& transfer, const std::string& url)
{
    transfer.ended = false;
    transfer.claimed = false;
    if (!transfer.request->Begin(url)) {
        transfer.ended = true;
        transfer.result = OpenResult::Failed;
    }
}

void TransferPool::Start(uint64_t tag, const std::string& url)
{
    Finish(tag);
    Transfer transfer;
    transfer.tag = tag;
    transfer.order = m_nextOrder++;
    transfer.host = HostKey(url);
    transfer.request = std::make_unique<InetRequest>(m_session);
    transfer.request->SetHeadersOnly(m_headersOnly);
    ++m_perHostCount[transfer.host];
    m_transfers.push_back(std::move(transfer));
    Begin(m_transfers.back(), url);
}

void TransferPool::Restart(uint64_t tag, const std::string& url)
{
    Transfer* t = Find(tag);
    if (!t) {
        Start(tag, url);
        return;
    }
    const std::string host = HostKey(url);
    if (host != t->host) {
        if (--m_perHostCount[t->host] <= 0)
            m_perHostCount.erase(t->host);
        ++m_perHostCount[host];
        t->host = host;
    }
    Begin(*t, url);
}

bool TransferPool::Hop(uint64_t tag, const std::string& url)
{
    if (CanRestart(tag, url)) {
        Restart(tag, url);
        return true;
    }
    Finish(tag);
    return false;
}

std::vector<TransferPool::Ended> TransferPool::Collect()
{
    std::vector<const Transfer*> ended;
    for (Transfer& t : m_transfers) {
        if (t.claimed)
            continue;
        if (!t.ended) {
            if (const std::optional<OpenResult> result = t.request->Progress()) {
                t.ended = true;
                t.result = *result;
            }
        }
        if (t.ended)
            ended.push_back(&t);
    }
    std::sort(ended.begin(), ended.end(), [](const Transfer* a, const Transfer* b) { return a->order < b->order; });
    std::vector<Ended> out;
    out.reserve(ended.size());
    for (const Transfer* t : ended)
        out.push_back({t->tag, t->result});
    return out;
}

std::vector<TransferPool::Ended> TransferPool::Wait(int waitMs)
{
    if (m_transfers.empty())
        return {};
    // An opening that ended at Begin (or was left unread) needs no network round.
    bool anyEnded = false;
    for (const Transfer& t : m_transfers)
        anyEnded = anyEnded || (t.ended && !t.claimed);
    m_session.Drive(0);
    std::vector<Ended> out = Collect();
    if (!out.empty() || anyEnded)
        return out;
    // A body the caller reads itself may have arrived in that round (and paused its transfer):
    // the caller takes it before anything waits.
    for (const Transfer& t : m_transfers)
        if (t.claimed && t.request->BodyInHand())
            return out;
    m_session.Drive(waitMs);
    return Collect();
}

void TransferPool::Claim(uint64_t tag)
{
    if (Transfer* t = Find(tag))
        t->claimed = true;
}

InetRequest* TransferPool::Request(uint64_t tag)
{
    Transfer* t = Find(tag);
    return t ? t->request.get() : nullptr;
}

void TransferPool::Finish(uint64_t tag)
{
    const auto it = std::find_if(m_transfers.begin(), m_transfers.end(), [tag](const Transfer& t) { return t.tag == tag; });
    if (it == m_transfers.end())
        return;
    it->request->Close();
    if (--m_perHostCount[it->host] <= 0)
        m_perHostCount.erase(it->host);
    m_transfers.erase(it);
}

void TransferPool::FinishAll()
{
    for (Transfer& t : m_transfers)
        t.request->Close();
    m_transfers.clear();
    m_perHostCount.clear();
}

std::vector<uint64_t> TransferPool::Tags() const
{
    std::vector<const Transfer*> all;
    for (const Transfer& t : m_transfers)
        all.push_back(&t);
    std::sort(all.begin(), all.end(), [](const Transfer* a, const Transfer* b) { return a->order < b->order; });
    std::vector<uint64_t> tags;
    for (const Transfer* t : all)
        tags.push_back(t->tag);
    return tags;
}

} // namespace lt
