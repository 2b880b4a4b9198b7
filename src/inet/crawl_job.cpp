// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/crawl_job.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include "core/app_state.h"
#include "core/cp1252.h"
#include "inet/inet_slot.h"
#include "inet/inet_texts.h"
#include "inet/redirect.h"
#include "inet/save_names.h"
#include "list/add_result_row.h"
#include "list/list_kind.h"
#include "search/filter_words.h"
#include "search/item_scanner.h"
#include "search/link_follower.h"
#include "search/link_title.h"
#include "search/page_item_scanner.h"
#include "search/page_links.h"
#include "search/page_record.h"
#include "store/options.h"

namespace lt {
namespace {

constexpr std::size_t kChunk = 1024;
constexpr std::size_t kWindow = 4096;
constexpr int kMaxHops = 10;
constexpr std::size_t kMaxSaveName = 200;

bool EndsNoCase(const std::string& text, const char* suffix)
{
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

bool ContainsNoCase(std::string_view text, std::string_view word)
{
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i)
        if (strncasecmp(text.data() + i, word.data(), word.size()) == 0)
            return true;
    return false;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// How one row ended.
struct RowEnd
{
    std::string status; // empty: read without error
    bool cancelled = false;
    bool declined = false;
    bool jobError = false;
    std::string error;
};

RowEnd Status(std::string status)
{
    RowEnd end;
    end.status = std::move(status);
    return end;
}

RowEnd Cancelled()
{
    RowEnd end;
    end.cancelled = true;
    return end;
}

class Crawl
{
public:
    Crawl(AppState& app, InetSlot& slot, const CrawlSettings& settings, const FetchSettings& fetch,
          CrawlQueue& queue, CrawlObserver& observer)
        : m_app(app), m_slot(slot), m_settings(settings), m_session(slot, fetch), m_queue(queue),
          m_observer(observer), m_pageScanner(app), m_itemScanner(app)
    {
        m_session.SetStopCheck([&app] {
            const int32_t code = app.jobs.Code();
            return code == 0 || code == kJobInetStop;
        });
        const int kind = settings.saveToDisk ? kListInetSaved : kListInetRead;
        m_columns = KindColumns(kind, app.scan.itemKind, false, false).size();
    }

    CrawlResult Run()
    {
        CrawlResult result;
        if (!m_session.IsOpen()) {
            result.error = "Can not connect to Internet !";
            return result;
        }
        if (m_settings.saveToDisk && !EnsureDirectory(m_settings.saveDir, true)) {
            result.error = "Can not create/open directory\r\n" + m_settings.saveDir + " !";
            return result;
        }
        if (m_settings.enumerativeNames)
            m_previousTarget = m_settings.saveDir + "/" + m_settings.baseFileName;
        auto& rows = m_queue.Rows();
        std::size_t index = m_slot.startIndex;
        int retries = m_settings.retries;
        for (;;) {
            if (Stopped()) {
                result.cancelled = true;
                break;
            }
            if (index >= rows.size()) {
                if (retries >= 1 && index > 0 && !rows.empty()) {
                    --retries;
                    index = 0;
                    continue;
                }
                break;
            }
            const std::string status = rows[index].status;
            if (m_settings.followLinks &&
                (status.compare(0, 5, "Error") == 0 || status == "filtered" || status == "Skipped")) {
                ++index;
                continue;
            }
            if (rows[index].url.size() < 5) {
                index = rows.size();
                continue;
            }
            const std::string url = rows[index].url;
            m_observer.RowStarted(index);
            const RowEnd end = ReadRow(index);
            if (end.jobError) {
                result.error = end.error;
                break;
            }
            if (end.cancelled) {
                result.cancelled = !end.declined;
                result.declined = end.declined;
                break;
            }
            if (end.status.empty()) {
                // The row is found by its own text: a redirect rewrote the slot's URL.
                std::size_t at = index;
                if (at >= rows.size() || rows[at].url != url) {
                    for (at = 0; at < rows.size() && rows[at].url != url; ++at) {
                    }
                }
                if (at < rows.size()) {
                    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(at));
                    m_observer.RowRemoved(at);
                    if (at < index)
                        --index;
                }
                ++result.retrieved;
                m_slot.retrieved = static_cast<uint32_t>(result.retrieved);
                m_observer.CounterLine(CounterText(static_cast<long>(rows.size()) + result.retrieved,
                                                   result.retrieved, 0));
            } else {
                rows[index].status = end.status;
                m_observer.RowStatus(index, end.status);
                ++index;
            }
        }
        for (const CrawlRow& row : rows)
            result.failed += !row.status.empty();
        result.retriesLeft = retries;
        result.bytesRead = m_bytesRead;
        result.pageTitle = m_slot.pageTitle;
        return result;
    }

private:
    bool Stopped() const
    {
        const uint32_t state = m_slot.state.load();
        const int32_t code = m_app.jobs.Code();
        return m_slot.stopped.load() || state == kSlotCancel || state == kSlotClosing || code == 0 ||
               code == kJobInetStop;
    }

    RowEnd ReadRow(std::size_t index)
    {
        const CrawlRow row = m_queue.Rows()[index];
        ResetSlot(m_slot, m_settings.saveOnly);
        // A skip ends only the row it was meant for.
        uint32_t expected = kSlotSkip;
        m_slot.state.compare_exchange_strong(expected, kSlotRunning);
        m_slot.currentUrl = row.url;
        m_slot.url = row.url;
        m_slot.level = static_cast<uint32_t>(row.level);
        m_observer.UrlLine(row.url);
        m_observer.StateLine(1);

        InetRequest request(m_session);
        for (int hops = 0;; ++hops) {
            const OpenResult open = request.Open(m_slot.url);
            if (open == OpenResult::Cancelled || (open != OpenResult::Opened && Stopped()))
                return Cancelled();
            if (open == OpenResult::Skipped)
                return Status("skipped");
            if (open == OpenResult::TimedOut)
                return Status("Timed out");
            if (open == OpenResult::Failed)
                return Status("Error " + InetErrorText(request.ErrorNumber()));
            std::string answer;
            const int status = request.QueryUrlStatus(answer);
            if (status == kStatusRedirectInside || status == kStatusRedirectElsewhere) {
                if (hops >= kMaxHops)
                    return Status("Error: too many redirects");
                if (!m_observer.TakeRedirect(status, answer)) {
                    RowEnd end = Cancelled();
                    end.declined = true;
                    return end;
                }
                AddRedirectHit(answer, row.url);
                if (m_settings.followFilter.IsOn() && !WordFilterPasses(m_settings.followFilter, answer))
                    return Status("filtered");
                if (m_settings.followLinks && !m_queue.MarkSeen(answer))
                    return Status("Skipped");
                m_slot.url = answer;
                request.Close();
                continue;
            }
            if (status != kStatusOk)
                return Status("Error: " + HttpStatusText(status));
            break;
        }
        return ReadPage(request, row);
    }

    void AddRedirectHit(const std::string& target, const std::string& pageUrl)
    {
        if (m_app.scan.itemKind != 0 || m_settings.saveOnly)
            return;
        if (m_app.settings.restrictEnabled && !MustPassesWithTitle(m_app, target, {}))
            return;
        SetCells(pageUrl);
        m_app.listState.rowTexts[1].clear();
        if (AddResultRow(m_app, target) >= 0)
            m_app.status.ShowRowCount(m_app.search.hitCount.fetch_add(1) + 1);
    }

    // The row's source cells: the saved file (when saving) and the remote file, the last columns.
    std::vector<std::string> SourceCells(const std::string& pageUrl) const
    {
        if (m_settings.saveToDisk)
            return {m_slot.savePath, pageUrl};
        return {pageUrl};
    }
    void SetCells(const std::string& pageUrl)
    {
        const std::vector<std::string> cells = SourceCells(pageUrl);
        const std::size_t first = m_columns >= cells.size() ? m_columns - cells.size() : 0;
        for (std::size_t i = 0; i < cells.size() && first + i < m_app.listState.rowTexts.size(); ++i)
            m_app.listState.rowTexts[first + i] = cells[i];
    }

    // Ends a row that failed after its save file was made: the half-written file goes.
    RowEnd Fail(int& fd, const std::string& path, RowEnd end)
    {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
            ::unlink(path.c_str());
        }
        return end;
    }

    RowEnd ReadPage(InetRequest& request, const CrawlRow& row)
    {
        const std::string pageUrl = m_slot.url;
        int fd = -1;
        std::string savePath;
        if (m_settings.saveToDisk && WordFilterPasses(m_settings.saveFilter, pageUrl)) {
            savePath = m_settings.enumerativeNames ? NextEnumeratedName(m_previousTarget)
                                                   : MakeSaveName(m_settings.saveDir, pageUrl, kMaxSaveName);
            if (savePath.empty())
                return Status("Error: no file name for this Url");
            fd = CreateSaveFile(savePath, true);
            if (fd < 0) {
                const int error = errno;
                if (!EnsureDirectory(m_settings.saveDir, false) || ::access(m_settings.saveDir.c_str(), W_OK) != 0) {
                    RowEnd end;
                    end.jobError = true;
                    end.error = "Can not create/open directory\r\n" + m_settings.saveDir + " !";
                    return end;
                }
                return Status(std::string("Error: can not create file (") + std::strerror(error) + ")");
            }
            if (m_settings.enumerativeNames)
                m_previousTarget = savePath;
            m_observer.SaveLine(savePath);
        }
        m_slot.savePath = savePath;
        m_slot.saveFileOpen = fd >= 0;
        m_observer.StateLine(2);

        const bool follow = m_settings.followLinks && row.level < m_settings.level;
        const bool scriptLike = EndsNoCase(pageUrl, ".js") || EndsNoCase(pageUrl, "css");
        std::string buffer;
        uint64_t total = 0;
        bool prepared = false;
        ScannedPage scanned;
        FollowPage followPage;
        PageRecord record;
        record.binaryTest = m_settings.saveOnly;

        auto prepare = [&] {
            prepared = true;
            m_slot.pageIsHtml = !scriptLike && IsHtmlPage(buffer.data(), buffer.size());
            std::string base;
            if (m_slot.pageIsHtml) {
                ReadBaseHref(buffer.data(), buffer.size(), base);
                ReadPageTitle({}, buffer.data(), buffer.size(), true, m_slot.pageTitle);
            }
            if (base.empty())
                base = pageUrl;
            m_slot.baseUrl = PageBaseFolder(base);
            scanned.pageUrl = pageUrl;
            scanned.baseUrl = m_slot.baseUrl;
            scanned.isHtml = m_slot.pageIsHtml;
            scanned.crawl = true;
            scanned.cells = SourceCells(pageUrl);
            if (m_columns > 2 + scanned.cells.size())
                scanned.cells.insert(scanned.cells.begin(), m_columns - 2 - scanned.cells.size(), std::string());
            m_pageScanner.NewPage(scanned);
            followPage.pageUrl = pageUrl;
            followPage.baseUrl = m_slot.baseUrl;
            followPage.isHtml = m_slot.pageIsHtml;
            followPage.findHttps = !m_app.scan.anchor3.empty() || m_app.settings.findHttps;
            followPage.crawl = true;
            followPage.binaryCheck = m_slot.binaryCheck;
            record.newPage = true;
            if (fd >= 0 && m_slot.pageIsHtml) {
                const std::string header = SavedPageHeader(pageUrl);
                return WriteAll(fd, header.data(), header.size());
            }
            return true;
        };
        auto process = [&](std::size_t chunk, bool last) {
            if (fd >= 0 && !WriteAll(fd, buffer.data(), chunk))
                return false;
            if (!m_settings.saveOnly) {
                if (m_app.scan.itemKind <= 3) {
                    m_pageScanner.ScanBuffer(buffer.data(), buffer.size(), chunk, last, scanned);
                    followPage.followLinks = followPage.followLinks && scanned.followLinks;
                } else {
                    SetCells(pageUrl);
                    record.lastBuffer = last;
                    m_itemScanner.ScanBuffer(buffer.data(), last ? buffer.size() : chunk, total - buffer.size(),
                                             record);
                }
            }
            if (follow && followPage.followLinks) {
                LinkFollower(m_app.tables, followPage, buffer.data(), buffer.size(), chunk, last,
                             [&](const std::string& link) { return QueueLink(link, row.level + 1, pageUrl); });
            }
            return true;
        };

        char block[kChunk];
        for (;;) {
            const long n = request.Read(block, sizeof block);
            if (n == -2) {
                if (Stopped())
                    return Fail(fd, savePath, Cancelled());
                return Fail(fd, savePath, Status("skipped"));
            }
            if (n < 0)
                return Fail(fd, savePath, Status("Error reading remote File !"));
            if (n == 0)
                break;
            total += static_cast<uint64_t>(n);
            m_bytesRead += static_cast<uint64_t>(n);
            if (total > kMaxScannedPage)
                return Fail(fd, savePath, Status("Error: page too large"));
            buffer.append(block, static_cast<std::size_t>(n));
            m_app.status.SetStatusText("Bytes read: " + GroupDigits(total), 1, 0);
            while (buffer.size() > kWindow) {
                if (!prepared && !prepare())
                    return Fail(fd, savePath, Status("Error: can not write file"));
                if (!process(kChunk, false))
                    return Fail(fd, savePath, Status("Error: can not write file"));
                buffer.erase(0, kChunk);
            }
        }
        if (!prepared && !prepare())
            return Fail(fd, savePath, Status("Error: can not write file"));
        if (!process(buffer.size(), true))
            return Fail(fd, savePath, Status("Error: can not write file"));
        if (fd >= 0) {
            const int closed = ::close(fd);
            fd = -1;
            m_slot.saveFileOpen = false;
            if (closed != 0) {
                ::unlink(savePath.c_str());
                return Status("Error: can not write file");
            }
        }
        return {};
    }

    int QueueLink(const std::string& link, int level, const std::string& parent)
    {
        if (m_settings.followFilter.IsOn() && !WordFilterPasses(m_settings.followFilter, link))
            return 0;
        if (!m_queue.Add(link, level, parent))
            return 0;
        m_observer.RowAdded(m_queue.Rows().back());
        return 1;
    }

    AppState& m_app;
    InetSlot& m_slot;
    const CrawlSettings& m_settings;
    InetSession m_session;
    CrawlQueue& m_queue;
    CrawlObserver& m_observer;
    PageItemScanner m_pageScanner;
    ItemScanner m_itemScanner;
    std::size_t m_columns = 3;
    std::string m_previousTarget;
    uint64_t m_bytesRead = 0;
};

} // namespace

std::string CrawlQueue::Key(const std::string& url)
{
    std::string key(url);
    for (char& c : key)
        c = static_cast<char>(Cp1252Lower(static_cast<uint8_t>(c)));
    return key;
}

bool CrawlQueue::Add(const std::string& url, int level, const std::string& parent)
{
    if (!m_seen.insert(Key(url)).second)
        return false;
    m_rows.push_back({url, level, parent, {}});
    return true;
}

bool CrawlQueue::MarkSeen(const std::string& url) { return m_seen.insert(Key(url)).second; }

bool CrawlQueue::Seen(const std::string& url) const { return m_seen.count(Key(url)) != 0; }

CrawlSettings CrawlSettingsFrom(const InetOptions& options)
{
    CrawlSettings s;
    s.followLinks = options.crawlMode > 0;
    s.level = options.level;
    s.retries = options.retries;
    s.saveToDisk = options.saveToDisk;
    s.saveDir = options.savePath;
    // RI7 names the first target file; the folder is what the crawl saves into.
    if (const std::size_t slash = s.saveDir.rfind('/'); slash != std::string::npos)
        s.saveDir.erase(slash > 0 ? slash : 1);
    s.saveOnly = options.saveOnly;
    s.enumerativeNames = options.enumerativeNames;
    s.baseFileName = options.baseFileName;
    s.followFilter = MakeWordFilter(options.followMust, options.followMustAll, options.followMustNot,
                                    options.followMustNotAll);
    s.saveFilter = MakeWordFilter(options.savedMust, options.savedMustAll, options.savedMustNot,
                                  options.savedMustNotAll);
    return s;
}

bool IsHtmlPage(const char* data, std::size_t length)
{
    const std::string_view all(data, length);
    const std::size_t lt = all.find('<');
    if (lt == std::string_view::npos)
        return false;
    const std::string_view window = all.substr(lt, 259);
    if (ContainsNoCase(window, "<html") || ContainsNoCase(window, "<head>"))
        return true;
    std::size_t from = lt;
    for (int i = 0; i < 3; ++i) {
        std::size_t at = std::string_view::npos;
        for (std::size_t p = from; p + 1 < all.size(); ++p) {
            if (all[p] == '<' && (all[p + 1] == 'h' || all[p + 1] == 'H')) {
                at = p;
                break;
            }
        }
        if (at == std::string_view::npos)
            break;
        const std::string_view tag = all.substr(at, 6);
        if (tag.size() == 6 && (strncasecmp(tag.data(), "<html>", 6) == 0 || strncasecmp(tag.data(), "<head>", 6) == 0))
            return true;
        from = at + 1;
    }
    const std::size_t bang = all.find("<!");
    if (bang != std::string_view::npos && all.size() - bang >= 9 && strncasecmp(all.data() + bang, "<!doctype", 9) == 0)
        return true;
    return ContainsNoCase(window, "<tr>");
}

CrawlResult CrawlJob(AppState& app, InetSlot& slot, const CrawlSettings& settings, const FetchSettings& fetch,
                     CrawlQueue& queue, CrawlObserver& observer)
{
    Crawl crawl(app, slot, settings, fetch, queue, observer);
    return crawl.Run();
}

} // namespace lt
