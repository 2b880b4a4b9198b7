// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/page_read_job.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "inet/inet_slot.h"
#include "inet/network_init.h"
#include "local_server.h"
#include "program_files.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(PageAddress, LocalPathsUrlsAndHostNames)
{
    struct Case
    {
        std::string text;
        AddressKind kind;
        std::string target;
    };
    const Case cases[] = {
        {"  host.example  ", AddressKind::Url, "http://host.example"},
        {"www.x.com/page", AddressKind::Url, "http://www.x.com/page"},
        {"http://a.example/x", AddressKind::Url, "http://a.example/x"},
        {"HTTPS://a.example/", AddressKind::Url, "HTTPS://a.example/"},
        {"ftp://f.example/file", AddressKind::Url, "ftp://f.example/file"},
        {"/etc/passwd", AddressKind::LocalFile, "/etc/passwd"},
        {"~/notes.txt", AddressKind::LocalFile, "/home/u/notes.txt"},
        {"./a.txt", AddressKind::LocalFile, "./a.txt"},
        {"../a.txt", AddressKind::LocalFile, "../a.txt"},
        {"page.htm", AddressKind::LocalFile, "page.htm"}, // exists (below)
        {"pages.htm", AddressKind::Url, "http://pages.htm"},
        {"abcdef", AddressKind::Nothing, ""},
        {"  /a/b  ", AddressKind::Nothing, ""},
        {std::string(300, 'a'), AddressKind::Url, "http://" + std::string(259, 'a')},
    };
    const auto exists = [](const std::string& path) { return path == "page.htm"; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const PageAddress address = ReadPageAddress(c.text, exists, "/home/u");
        EXPECT_EQ(address.kind, c.kind);
        EXPECT_EQ(address.target, c.target);
    }
}

TEST(PageReadSlot, StopsRunningSlotsOnlyAndTakesAFreeOne)
{
    InetSlotTable slots;
    slots[0].state = kSlotRunning; // a crawl
    slots[1].state = kSlotRunning; // a batch download
    slots[2].state = kSlotIdle;    // an open window between jobs
    slots[3].state = kSlotReserved;
    int pauses = 0;
    InetSlot* taken = TakePageReadSlot(slots, [&] { ++pauses; });
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->index, 4u);
    EXPECT_EQ(taken->state.load(), kSlotRunning);
    EXPECT_EQ(pauses, 2);
    EXPECT_EQ(slots[0].state.load(), kSlotCancel);
    EXPECT_EQ(slots[1].state.load(), kSlotCancel);
    EXPECT_EQ(slots[2].state.load(), kSlotIdle);
    EXPECT_EQ(slots[3].state.load(), kSlotReserved);
    for (std::size_t i = 2; i < 16; ++i)
        slots[i].state = kSlotIdle;
    EXPECT_EQ(TakePageReadSlot(slots, {}), nullptr);
}

// Records the job's calls; answers the redirect question from `redirectAnswer`.
class Recorder : public PageReadObserver
{
public:
    void StatusText(const std::string& text) override
    {
        std::lock_guard lock(m_mutex);
        statuses.push_back(text);
    }
    bool AskRedirect(const std::string& question, InetSlot&) override
    {
        std::lock_guard lock(m_mutex);
        questions.push_back(question);
        return redirectAnswer;
    }
    void Finished(const PageReadResult& r) override
    {
        std::lock_guard lock(m_mutex);
        result = r;
        finished = true;
        m_done.notify_all();
    }
    bool Wait()
    {
        std::unique_lock lock(m_mutex);
        return m_done.wait_for(lock, 20s, [this] { return finished; });
    }

    bool redirectAnswer = true;
    std::vector<std::string> statuses, questions;
    PageReadResult result;
    bool finished = false;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
};

class PageReadTest : public test::RoutesServerTest
{
protected:
    void SetUp() override
    {
        ASSERT_GT(s_server->Port(), 0) << "the test server did not start";
        dir = fs::temp_directory_path() / ("page_read_test_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        app.options.tempFolder = dir.string();
        app.options.inet.timeoutSeconds = 2;
    }
    void TearDown() override { fs::remove_all(dir); }

    PageReadResult Read(const std::string& url, Recorder& recorder, uint64_t limit = kPageReadLimit)
    {
        InetSlot& slot = app.inetSlots[5];
        slot.state = kSlotRunning;
        PageReadRequest request;
        request.url = url;
        request.tempFolder = dir.string();
        request.fetch = FetchSettingsFrom(app.options.inet, false, false);
        request.maxBytes = limit;
        return PageReadJob(app, slot, request, recorder);
    }

    std::size_t FileCount() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {})); }

    RecordingUiPort ui;
    AppState app{ui};
    fs::path dir;
};

TEST_F(PageReadTest, StatusesRedirectsAndErrors)
{
    struct Case
    {
        const char* path;
        bool answer;         // to the redirect question
        std::size_t asked;   // questions asked
        const char* body;    // nullptr: no file is kept
        const char* status;  // the last status text starts with this
    };
    const Case cases[] = {
        {"/site/c.htm", true, 0, "<html><body>leaf c</body></html>", "Done. "},
        // A trailing slash added is followed without a question.
        {"/dir", true, 0, "<html><body>folder</body></html>", "Done. "},
        {"/r/abs", true, 1, "<html><body>leaf c</body></html>", "Done. "},
        {"/r/abs", false, 1, nullptr, ""},
        {"/r/t307", true, 1, "<html><body>leaf d</body></html>", "Done. "},
        {"/status/404", true, 0, nullptr, "Can not open Url ! (Error 404 - Not Found)"},
        {"/status/418", true, 0, nullptr, "Can not open Url ! (Error 418)"},
        {"/r/loopa", true, 10, nullptr, "Can not open Url ! (Error: too many redirects)"},
        {"/stall", true, 0, nullptr, "Timed out"},
        {"/short", true, 0, "", "Error reading remote File !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        Recorder recorder;
        recorder.redirectAnswer = c.answer;
        const PageReadResult result = Read(s_server->Url(c.path), recorder);
        EXPECT_EQ(recorder.questions.size(), c.asked);
        if (c.asked > 0) {
            EXPECT_EQ(recorder.questions[0].rfind("Redirected to:\r\nhttp://127.0.0.1:", 0), 0u);
        }
        if (c.body) {
            ASSERT_FALSE(result.path.empty());
            if (*c.body) {
                EXPECT_EQ(testing_support::ReadAll(result.path), c.body);
            }
            EXPECT_EQ(result.complete, c.status == std::string("Done. "));
            fs::remove(result.path);
        } else {
            EXPECT_TRUE(result.path.empty());
        }
        EXPECT_EQ(result.status.rfind(c.status, 0), 0u) << result.status;
        EXPECT_EQ(FileCount(), 0u) << "a failed read leaves no file";
    }
}

TEST_F(PageReadTest, StopsAtTheLimitWithTruncatedOnTheStatusBar)
{
    for (const uint64_t limit : {uint64_t{100000}, kPageReadLimit}) {
        Recorder recorder;
        const PageReadResult result = Read(s_server->Url("/endless"), recorder, limit);
        ASSERT_FALSE(result.path.empty());
        EXPECT_TRUE(result.truncated);
        EXPECT_FALSE(result.complete);
        EXPECT_EQ(fs::file_size(result.path), limit);
        EXPECT_NE(result.status.find("(truncated)"), std::string::npos) << result.status;
        fs::remove(result.path);
    }
}

TEST_F(PageReadTest, TemporaryFilesAreUniquePrivateAndNeverFollowALink)
{
    // A link planted at the old fixed name must not be written through.
    const fs::path victim = dir / "victim.txt";
    std::ofstream(victim) << "keep";
    fs::create_symlink(victim, dir / "tmpfile0.htm");
    Recorder first, second;
    const PageReadResult a = Read(s_server->Url("/site/c.htm"), first);
    const PageReadResult b = Read(s_server->Url("/site/d.htm"), second);
    ASSERT_FALSE(a.path.empty());
    ASSERT_FALSE(b.path.empty());
    EXPECT_NE(a.path, b.path);
    EXPECT_EQ(testing_support::ReadAll(a.path), "<html><body>leaf c</body></html>");
    EXPECT_EQ(testing_support::ReadAll(b.path), "<html><body>leaf d</body></html>");
    EXPECT_EQ(testing_support::ReadAll(victim), "keep");
    struct stat st{};
    ASSERT_EQ(::stat(a.path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(fs::path(a.path).parent_path(), dir);
}

TEST_F(PageReadTest, StartPageReadFreesItsSlotAndBypassesTheConfiguredProxy)
{
    const fs::path log = dir / "proxy.log";
    test::LocalServer proxy({test::ServerScript("forward_proxy.py"), log.string()});
    ASSERT_GT(proxy.Port(), 0);
    app.options.inet.useProxy = true;
    app.options.inet.proxies = {"127.0.0.1:" + std::to_string(proxy.Port())};
    app.inetSlots[9].state = kSlotIdle; // a window's slot stays that window's
    PageReader reader;
    Recorder recorder;
    // A local path starts nothing.
    EXPECT_FALSE(StartPageRead(app, "/etc/passwd", reader, recorder, 1, false).started);
    const PageReadStart start = StartPageRead(app, "  " + s_server->Url("/site/c.htm") + " ", reader, recorder, 7, false);
    ASSERT_TRUE(start.started);
    ASSERT_TRUE(recorder.Wait());
    reader.Join();
    EXPECT_EQ(recorder.result.serial, 7u);
    EXPECT_TRUE(recorder.result.complete);
    EXPECT_EQ(testing_support::ReadAll(recorder.result.path), "<html><body>leaf c</body></html>");
    EXPECT_FALSE(fs::exists(log)) << testing_support::ReadAll(log);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(app.inetSlots[i].state.load(), i == 9 ? kSlotIdle : kSlotFree) << i;
    EXPECT_EQ(app.jobs.Code(), 0);
}

TEST_F(PageReadTest, CancelEndsAPendingQuestionAndTheJob)
{
    // The question is never answered; a cancel must still end the job.
    class Silent : public Recorder
    {
    public:
        bool AskRedirect(const std::string&, InetSlot& slot) override
        {
            while (!slot.AbortRequested())
                std::this_thread::sleep_for(10ms);
            return false;
        }
    } recorder;
    PageReader reader;
    app.startup.textWindowMode = 10;
    ASSERT_TRUE(StartPageRead(app, s_server->Url("/r/abs"), reader, recorder, 1, true).started);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(app.jobs.Code(), kJobInetRead);
    const auto begin = std::chrono::steady_clock::now();
    reader.Cancel();
    ASSERT_TRUE(recorder.Wait());
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 2s);
    reader.Join();
    EXPECT_TRUE(recorder.result.cancelled);
    EXPECT_TRUE(recorder.result.path.empty());
    EXPECT_EQ(app.jobs.Code(), 0);
    EXPECT_EQ(FileCount(), 0u);
}

} // namespace
} // namespace lt
