// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "inet/fetch.h"
#include "inet/page_address.h"

namespace lt {

struct AppState;
struct InetSlot;
struct InetSlotTable;

// Where the page reader stops reading a page.
inline constexpr std::uint64_t kPageReadLimit = 16ULL * 1024 * 1024;

struct PageReadRequest
{
    std::string url;
    std::string tempFolder;
    FetchSettings fetch;
    std::uint64_t maxBytes = kPageReadLimit;
    // The window's number for this read, handed back with the result (a later read supersedes it).
    std::uint64_t serial = 0;
    // The process is a text window of its own: the job shows in JobCode as 201.
    bool ownJobCode = false;
};

struct PageReadResult
{
    std::uint64_t serial = 0;
    bool complete = false;  // read to its end
    bool truncated = false; // stopped at the limit
    bool cancelled = false;
    bool closing = false;   // the program was closing (slot state 1230): nothing to load
    std::string path;       // the temporary file holding the page; empty when none was kept
    std::string status;     // the last status-bar text
};

// How the job reaches its window. Calls come on the job thread; the window posts them to itself.
class PageReadObserver
{
public:
    virtual ~PageReadObserver() = default;
    virtual void StatusText(const std::string& text) = 0;
    // The question "Redirected to:\r\n%s\r\nRead redirected page ?"; true reads the target. The
    // answer must come back even when the slot is cancelled meanwhile.
    virtual bool AskRedirect(const std::string& question, InetSlot& slot) = 0;
    // The job's last act, after its slot was freed.
    virtual void Finished(const PageReadResult& result) = 0;
};

// Reads one page into a new temporary file of the request's folder (unique, created exclusively,
// never through a symbolic link), following redirects itself (at most 10 hops, a redirect to
// another place only after the question), with no named proxy, up to the request's limit.
PageReadResult PageReadJob(AppState& app, InetSlot& slot, const PageReadRequest& request,
                           PageReadObserver& observer);

// Before a page read: every slot that runs a transfer (1223) is cancelled, with `pause` after each
// (so that their jobs end first), and the first free slot of 2..15 is taken (its state 1223). Slots
// 0 and 1 belong to the crawler and the batch window; slots held by open windows stay theirs.
// Null when none is free.
InetSlot* TakePageReadSlot(InetSlotTable& slots, const std::function<void()>& pause);

// Runs PageReadJob on a thread of its own for one text window.
class PageReader
{
public:
    PageReader() = default;
    ~PageReader();
    PageReader(const PageReader&) = delete;
    PageReader& operator=(const PageReader&) = delete;

    // Starts the job on the slot (already taken); waits first for an earlier job of this reader.
    void Start(AppState& app, InetSlot& slot, PageReadRequest request, PageReadObserver& observer);
    // Cancels the running job; it ends within about 100 ms.
    void Cancel();
    bool Running() const { return m_running.load(); }
    void Join();

private:
    std::thread m_thread;
    InetSlot* m_slot = nullptr;
    std::atomic<bool> m_running{false};
};

struct PageReadStart
{
    PageAddress address;  // a local file is for the window to open
    bool started = false; // a job was started for a URL
};

// The text window's address line: a local file is returned to be opened directly; a URL starts the
// page reader on a free slot.
PageReadStart StartPageRead(AppState& app, std::string_view addressText, PageReader& reader,
                            PageReadObserver& observer, std::uint64_t serial, bool ownJobCode);

} // namespace lt
