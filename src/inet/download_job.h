// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "inet/delay_clock.h"
#include "inet/download_list.h"
#include "inet/fetch.h"

namespace lt {

struct InetOptions;
struct InetSlot;

// What a batch download runs with (the window's edits and checks, or the INI file's).
struct DownloadSettings
{
    std::string saveDir;
    int retries = 0;      // further passes over the rows left
    int delayMinutes = 0; // between passes
    bool logUrl = false;  // successes go into "linktrawl.log" in the save directory
    int parallel = 1;     // files arriving at once; 1 one after the other
    int perHost = 4;      // files arriving at once from one host
};

// One file of the "Download Url" window.
struct SingleDownload
{
    std::string url;
    std::string path;
    bool replace = false; // the user agreed to overwrite an existing file
    bool logUrl = false;
};

// What the job tells its window. Calls arrive on the job thread: a window posts them to itself.
// The defaults do nothing and answer as an unattended run would.
class DownloadObserver
{
public:
    virtual ~DownloadObserver() = default;
    virtual void Caption(const std::string& /*text*/, bool /*isError*/) {}
    virtual void UrlLine(const std::string& /*url*/) {}
    virtual void SaveLine(const std::string& /*path*/) {}
    virtual void StateLine(const std::string& /*text*/) {}
    virtual void CounterLine(const std::string& /*text*/) {}
    // The second column of a row (its size, or its error) and a row gone from the list.
    virtual void RowInfo(std::size_t /*row*/, const std::string& /*text*/) {}
    virtual void RowRemoved(std::size_t /*row*/) {}
    // Single mode: "Remote file: %s" with the size, or "Remote file".
    virtual void RemoteFileLabel(const std::string& /*text*/) {}
    virtual void RetriesLeft(int /*retries*/) {}
    // "Selected item &next": true (once) with the URL of the first selected row when the check is
    // set; the check is then cleared.
    virtual bool TakeSelectedNext(std::string& /*url*/) { return false; }
    // Single mode: "Redirected to: ... Read redirected page ?"; false ends the download quietly.
    virtual bool AskRedirect(const std::string& /*target*/) { return true; }
    // A message box ("Can not create/open file ...", caption "Error").
    virtual void Message(const std::string& /*text*/, const std::string& /*caption*/) {}
};

// How a job ended.
struct DownloadResult
{
    long retrieved = 0;
    long failed = 0;        // rows left in the list (batch) or a failed single download
    bool cancelled = false;
    std::string error;      // what ended the whole job ("Can not connect to Internet !", a target)
};

// The wait between passes: the job sleeps on it; "&OK" and "&Cancel" end it early.
class DelayGate
{
public:
    // Waits until `until` by `clock`, or until Open() or `stop`. True when it ended early.
    bool Wait(const DelayClock& clock, DelayClock::TimePoint until, const std::function<bool()>& stop);
    // Ends the current wait (and the rest of this delay); called from the window thread.
    void Open();
    // Re-arms the gate for the next delay.
    void Close();

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_open = false;
};

// How one row ended.
enum class RowEnd { Done, Failed, Skipped, Cancelled, Declined, JobError };

struct RowOutcome
{
    RowEnd end = RowEnd::Failed;
    std::string info;    // the row's second column after a failure ("Error 404 - Not Found")
    uint64_t bytes = 0;
};

// The file of one row while it arrives: created exclusively (never following a link; when the
// user agreed to replace a file, a new file beside it that takes its name only at the end), the
// bytes kept in the 3 KB buffer of the read rule and released 1024 at a time (gathered into writes
// of 64 KiB), every write checked.
// A row's transfer is a sequence of calls on this object, so that a driver can run one row at a time
// (as now) or several at once over one multi handle.
class DownloadFile
{
public:
    DownloadFile() = default;
    ~DownloadFile();
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    // Creates `path`; with `rename` a taken name gives way to the next numbered one (and `path`
    // changes). False with errno set.
    bool Create(std::string& path, bool rename, bool replace);
    // Takes up to 1024 bytes read. False when the disk refused them.
    bool Add(const char* data, std::size_t size);
    // The transfer ended completely: the rest is written and the file closed (and put in place).
    bool Complete();
    // The transfer was skipped or cancelled: what was read so far stays.
    bool Keep();
    // The row failed: the file goes, so that a later pass takes the same name again.
    void Discard();

    uint64_t Bytes() const { return m_bytes; }
    const std::string& Path() const { return m_path; }
    int WriteError() const { return m_writeError; }

private:
    bool Flush(std::size_t size);
    bool WriteOut();
    bool CloseAndPlace();

    static constexpr std::size_t kBlock = 1024;
    static constexpr std::size_t kHold = 3072;
    static constexpr std::size_t kWriteBehind = 64 * 1024;
    char m_buffer[kHold + kBlock];
    std::string m_out; // released blocks not yet written
    std::size_t m_fill = 0;
    uint64_t m_bytes = 0;
    int m_fd = -1;
    int m_writeError = 0;
    std::string m_path;      // the name the user sees
    std::string m_writePath; // where the bytes go (a file beside m_path when replacing)
};

// The download job of the batch window and of the "Download Url" window, on the calling thread
// (the job thread) with `slot` in state running. Skip and cancel reach it through the slot.
class DownloadJob
{
public:
    DownloadJob(InetSlot& slot, FetchSettings fetch, DownloadObserver& observer, const DelayClock& clock,
                DelayGate& gate);

    // Batch mode: downloads the rows from `startRow` on, removing each one that arrived whole;
    // then, while Retries lasts, passes over the rows left after the delay.
    DownloadResult RunBatch(DownloadList& list, const DownloadSettings& settings, std::size_t startRow);
    // Single mode: one file under the chosen path.
    DownloadResult RunSingle(const SingleDownload& download);

private:
    RowOutcome DownloadRow(InetSession& session, const std::string& url, std::string& target, bool rename,
                           bool replace, bool single, long row, bool logUrl, const std::string& logDir);
    // Batch mode with several files arriving at once (download_batch.cpp): the same rows end the
    // same way, only the order in which they finish differs.
    DownloadResult RunBatchParallel(InetSession& session, DownloadList& list, const DownloadSettings& settings,
                                    std::size_t startRow);
    bool Stopped() const;
    bool WaitDelay(int minutes);
    friend class ParallelBatch;

    InetSlot& m_slot;
    FetchSettings m_fetch;
    DownloadObserver& m_observer;
    const DelayClock& m_clock;
    DelayGate& m_gate;
};

// The default download directory: the one last used, else the folder of the crawler's target.
std::string DefaultDownloadDir(const InetOptions& options);

// The size of the names a batch download makes (a longer one is cut, keeping its extension).
inline constexpr std::size_t kDownloadNameLimit = 200;

} // namespace lt
