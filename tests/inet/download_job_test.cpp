// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/download_job.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include "inet/download_runner.h"
#include "inet/inet_slot.h"
#include "inet/network_init.h"
#include "jumping_clock.h"
#include "local_server.h"

namespace lt {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The bytes the test server sends for a body of `size` bytes.
std::string BodyBytes(std::size_t size)
{
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<char>(i % 251);
    return out;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::set<std::string> FilesIn(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// The lines of a log, in any order (files arriving at once finish in any order).
std::multiset<std::string> LogLines(const std::string& text)
{
    std::multiset<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.insert(line);
    return lines;
}

std::multiset<std::string> LogLines(const fs::path& dir) { return LogLines(ReadAll(dir / kDownloadLogName)); }

// Records what the job tells its window; safe to read from the test thread.
class RecordingObserver : public DownloadObserver
{
public:
    void Caption(const std::string& text, bool) override { Add(captions, text); }
    void UrlLine(const std::string& url) override { Add(urls, url); }
    void StateLine(const std::string& text) override { Add(states, text); }
    void RowInfo(std::size_t, const std::string& text) override { Add(infos, text); }
    void RemoteFileLabel(const std::string& text) override { Add(labels, text); }
    void RetriesLeft(int retries) override { Add(retriesLeft, std::to_string(retries)); }
    bool AskRedirect(const std::string& target) override
    {
        Add(asked, target);
        return redirectAnswer;
    }
    void Message(const std::string& text, const std::string& caption) override { Add(messages, caption + ": " + text); }

    std::vector<std::string> Get(const std::vector<std::string>& which)
    {
        std::lock_guard lock(m_mutex);
        return which;
    }

    std::vector<std::string> captions, urls, states, infos, labels, retriesLeft, asked, messages;
    bool redirectAnswer = true;

private:
    void Add(std::vector<std::string>& to, const std::string& text)
    {
        std::lock_guard lock(m_mutex);
        to.push_back(text);
    }
    std::mutex m_mutex;
};

class DownloadJobTest : public test::RoutesServerTest
{
protected:
    void SetUp() override
    {
        ASSERT_GT(s_server->Port(), 0);
        fetch.timeoutSeconds = 1;
        fetch.connectTimeoutMs = 2000;
        dir = fs::temp_directory_path() /
              ("lt-download-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        settings.saveDir = dir.string();
        settings.logUrl = true;
    }
    void TearDown() override { fs::remove_all(dir); }

    DownloadResult RunBatch(DownloadList& list)
    {
        slot.state = kSlotRunning;
        DownloadJob job(slot, fetch, observer, clock, gate);
        return job.RunBatch(list, settings, 0);
    }
    static std::string Url(const std::string& path)
    {
        return path.rfind("http", 0) == 0 ? path : s_server->Url(path);
    }

    InetSlot slot;
    FetchSettings fetch;
    DownloadSettings settings;
    RecordingObserver observer;
    test::JumpingClock clock;
    DelayGate gate;
    fs::path dir;
};

// The batch tests run one file at a time and eight at once: each row must end the same way.
class BatchModesTest : public DownloadJobTest, public ::testing::WithParamInterface<int>
{
protected:
    void SetUp() override
    {
        DownloadJobTest::SetUp();
        settings.parallel = GetParam();
    }
};

INSTANTIATE_TEST_SUITE_P(Parallel, BatchModesTest, ::testing::Values(1, 8));

TEST(DownloadSizeTextTest, Bands)
{
    const struct
    {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, " 0 Bytes "},
        {5000, " 5000 Bytes "},
        {10239, " 10239 Bytes "},
        {10240, " 10.0 K (10240 Bytes) "},
        {15000, " 14.0 K (15000 Bytes) "},
        {1048575, " 1023.0 K (1048575 Bytes) "},
        {1048576, " 1.02 M (1048576 Bytes) "},
        {2097152, " 2.05 M (2097152 Bytes) "},
        // Past 4 GiB nothing wraps.
        {(4ull << 30) + 1, " 4194.30 M (4294967297 Bytes) "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DownloadSizeText(c.bytes), c.text) << c.bytes;
}

// Every way a row can end, in one list: what stays on disk, in the list and in the log.
TEST_P(BatchModesTest, RowOutcomes)
{
    const struct
    {
        const char* path;
        const char* file;     // the file left behind, "" for none
        std::size_t size;     // its size
        const char* info;     // the row's column when it stays in the list, "" when it is gone
    } cases[] = {
        {"/dl/size/5000/report.pdf", "report.pdf", 5000, ""},
        {"/dl/chunked/chunkbody.bin", "chunkbody.bin", 5000, ""},
        {"/dl/hop/10/tenhops.bin", "tenhops.bin", 1500, ""},
        {"/dl/hop/11/elevenhops.bin", "", 0, "Error: too many redirects"},
        {"/r/loopa", "", 0, "Error: too many redirects"},
        {"/status/404/missing.bin", "", 0, "Error 404 - Not Found"},
        {"/status/999/odd.bin", "", 0, "Error 537"},
        // Bodies cut short are failures, and their partial files go.
        {"/dl/short/cutshort.bin", "", 0, "Error reading remote File !"},
        {"/dl/reset/resetbody.bin", "", 0, "Error reading remote File !"},
        {"/stallbody", "", 0, "Error reading remote File !"},
        {"http://ab", "", 0, "Error: no file name for this Url"},
    };
    DownloadList list;
    for (const auto& c : cases)
        list.push_back({Url(c.path), {}});
    const DownloadResult result = RunBatch(list);

    std::set<std::string> expectedFiles = {kDownloadLogName};
    std::string expectedLog;
    DownloadList expectedRows;
    for (const auto& c : cases) {
        if (*c.file) {
            expectedFiles.insert(c.file);
            EXPECT_EQ(ReadAll(dir / c.file), BodyBytes(c.size)) << c.path;
            expectedLog += Url(c.path) + "\r\n";
        } else {
            expectedRows.push_back({Url(c.path), c.info});
        }
    }
    EXPECT_EQ(FilesIn(dir), expectedFiles);
    EXPECT_EQ(LogLines(dir), LogLines(expectedLog));
    ASSERT_EQ(list.size(), expectedRows.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].url, expectedRows[i].url);
        EXPECT_EQ(list[i].info, expectedRows[i].info) << list[i].url;
    }
    EXPECT_EQ(result.retrieved, 3);
    EXPECT_EQ(result.failed, static_cast<long>(expectedRows.size()));
    EXPECT_FALSE(result.cancelled);
    const auto infos = observer.Get(observer.infos);
    EXPECT_NE(std::find(infos.begin(), infos.end(), " 5000 Bytes "), infos.end());
}

TEST_P(BatchModesTest, SameNameGetsANumberAndTheLogIsOff)
{
    settings.logUrl = false;
    DownloadList list = {{Url("/dl/size/100/samename.bin"), {}}, {Url("/dl/size/200/samename.bin"), {}}};
    EXPECT_EQ(RunBatch(list).retrieved, 2);
    EXPECT_EQ(FilesIn(dir), (std::set<std::string>{"samename.bin", "samename_001.bin"}));
    EXPECT_EQ(ReadAll(dir / "samename.bin").size(), 100u);
    EXPECT_EQ(ReadAll(dir / "samename_001.bin").size(), 200u);
}

// Eight at once over one host: at most four reach the server together, and every file arrives.
TEST_F(DownloadJobTest, AtMostFourFromOneHost)
{
    settings.parallel = 8;
    DownloadList list;
    for (int i = 0; i < 8; ++i)
        list.push_back({Url("/slow/300/part" + std::to_string(i) + ".txt"), {}});
    EXPECT_EQ(RunBatch(list).retrieved, 8);
    EXPECT_TRUE(list.empty());
    InetSession session(slot, fetch);
    InetRequest request(session);
    ASSERT_EQ(request.Open(Url("/maxflight")), OpenResult::Opened);
    char buffer[16] = {};
    ASSERT_GT(request.Read(buffer, sizeof buffer - 1), 0);
    EXPECT_EQ(std::atoi(buffer), 4);
}

// With several files in flight, Skip ends the one the window shows (the oldest), keeping what
// arrived of it; the window then follows the next one.
TEST_F(DownloadJobTest, SkipEndsTheOldestFileInFlight)
{
    settings.parallel = 8;
    DownloadRunner runner(slot);
    DownloadList list = {{Url("/dl/slow/first.bin"), {}}, {Url("/dl/slow/second.bin"), {}}};
    ASSERT_TRUE(runner.StartBatch(list, settings, fetch, 0, observer));
    for (int i = 0; i < 200 && observer.Get(observer.infos).size() < 2; ++i)
        std::this_thread::sleep_for(10ms);
    runner.Skip();
    for (int i = 0; i < 100 && observer.Get(observer.urls).back() != list[1].url; ++i)
        std::this_thread::sleep_for(10ms);
    runner.Cancel();
    runner.Join();
    EXPECT_EQ(observer.Get(observer.urls),
              (std::vector<std::string>{Url("/dl/slow/first.bin"), Url("/dl/slow/second.bin")}));
    const auto captions = observer.Get(observer.captions);
    EXPECT_NE(std::find_if(captions.begin(), captions.end(),
                           [](const std::string& c) { return c.find("(Skipped)") != std::string::npos; }),
              captions.end());
    EXPECT_GE(ReadAll(dir / "first.bin").size(), 8192u);
    EXPECT_EQ(list.size(), 2u);
}

// "Selected item &next" set while the job runs: the selected row comes next and the pass goes on
// from there; the rows it jumped over wait for the next pass.
TEST_F(DownloadJobTest, SelectedItemNextIsTakenOnce)
{
    struct Picking : RecordingObserver
    {
        bool TakeSelectedNext(std::string& url) override
        {
            if (taken)
                return false;
            taken = true;
            url = pick;
            return true;
        }
        std::string pick;
        bool taken = false;
    } picking;
    picking.pick = Url("/dl/size/300/thirdfile.bin");
    DownloadList list = {{Url("/dl/size/100/firstfile.bin"), {}},
                         {Url("/dl/size/200/secondfile.bin"), {}},
                         {picking.pick, {}}};
    slot.state = kSlotRunning;
    DownloadJob job(slot, fetch, picking, clock, gate);
    EXPECT_EQ(job.RunBatch(list, settings, 0).retrieved, 2);
    EXPECT_EQ(ReadAll(dir / kDownloadLogName), Url("/dl/size/100/firstfile.bin") + "\r\n" + picking.pick + "\r\n");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].url, Url("/dl/size/200/secondfile.bin"));
}

// A server that fails, then answers: the second pass comes after the delay (counted on a clock
// that never sleeps) and takes the name the failed pass left free.
TEST_P(BatchModesTest, RetryAfterDelayReusesTheName)
{
    settings.retries = 2;
    settings.delayMinutes = 2;
    // The server fails each path once: every mode asks its own.
    DownloadList list = {{Url("/dl/flaky/retry" + std::to_string(GetParam()) + "/flaky.bin"), {}}};
    const DownloadResult result = RunBatch(list);
    EXPECT_EQ(result.retrieved, 1);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(FilesIn(dir), (std::set<std::string>{"flaky.bin", kDownloadLogName}));
    EXPECT_EQ(ReadAll(dir / "flaky.bin"), BodyBytes(2000));
    const auto states = observer.Get(observer.states);
    std::vector<std::string> delay;
    for (const std::string& s : states)
        if (s.rfind("Status: Delay", 0) == 0)
            delay.push_back(s);
    ASSERT_EQ(delay.size(), 121u);
    EXPECT_EQ(delay.front(), "Status: Delay");
    EXPECT_EQ(delay[1], "Status: Delay 0:1");
    EXPECT_EQ(delay.back(), "Status: Delay 2:0");
    // The list was empty after the second pass: no third one.
    EXPECT_EQ(observer.Get(observer.retriesLeft), std::vector<std::string>{"1"});
}

// A full disk (a file size limit here) fails the row and leaves no partial file.
TEST_P(BatchModesTest, WriteFailureFailsTheRow)
{
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    settings.logUrl = false;
    DownloadList list = {{Url("/dl/size/20000/toolarge.bin"), {}}};
    const DownloadResult result = RunBatch(list);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(result.retrieved, 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].info.rfind("Error: can not write file (", 0), 0u) << list[0].info;
    EXPECT_TRUE(FilesIn(dir).empty());
}

TEST_P(BatchModesTest, CancelWhilePendingLeavesNoFile)
{
    DownloadRunner runner(slot);
    DownloadList list = {{Url("/stall"), {}}};
    fetch.timeoutSeconds = 20;
    std::atomic<bool> done{false};
    DownloadResult result;
    ASSERT_TRUE(runner.StartBatch(list, settings, fetch, 0, observer, [&](const DownloadResult& r) {
        result = r;
        done = true;
    }));
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(FilesIn(dir).empty()); // the target is made before the request
    const auto start = std::chrono::steady_clock::now();
    runner.Cancel();
    runner.Join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    ASSERT_TRUE(done);
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(FilesIn(dir).empty());
    EXPECT_EQ(slot.state.load(), kSlotIdle);
}

TEST_P(BatchModesTest, CancelMidBodyKeepsWhatArrived)
{
    DownloadRunner runner(slot);
    DownloadList list = {{Url("/dl/slow/slowbody.bin"), {}}};
    ASSERT_TRUE(runner.StartBatch(list, settings, fetch, 0, observer));
    for (int i = 0; i < 200 && observer.Get(observer.infos).empty(); ++i)
        std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(300ms);
    runner.Cancel();
    runner.Join();
    const std::string kept = ReadAll(dir / "slowbody.bin");
    ASSERT_GE(kept.size(), 8192u);
    EXPECT_EQ(kept.substr(0, 8192), BodyBytes(8192));
    const auto captions = observer.Get(observer.captions);
    ASSERT_FALSE(captions.empty());
    EXPECT_NE(captions.back().find("(Cancelled)"), std::string::npos) << captions.back();
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(FilesIn(dir), std::set<std::string>{"slowbody.bin"}); // not logged
}

// The "Download Url" window's job: an agreed overwrite keeps the old file until the new one is
// whole; a redirect to another kind of address is asked about.
TEST_F(DownloadJobTest, SingleMode)
{
    const struct
    {
        const char* path;
        bool replace;
        bool answer;
        const char* content; // of the target afterwards; nullptr: no file
        const char* label;
    } cases[] = {
        {"/dl/size/3000/new.bin", true, true, nullptr, "Remote file:  3000 Bytes "},
        {"/status/404/x.bin", true, true, "old bytes", nullptr},
        {"/dl/short/s.bin", true, true, "old bytes", "Remote file:  1000 Bytes "},
        {"/dl/chunked/c.bin", false, true, nullptr, "Remote file"},
        {"/dl/toftp/t.bin", false, false, "", nullptr},
    };
    for (const auto& c : cases) {
        const fs::path target = dir / "target.bin";
        fs::remove_all(dir);
        fs::create_directories(dir);
        if (c.replace)
            std::ofstream(target) << "old bytes";
        RecordingObserver seen;
        seen.redirectAnswer = c.answer;
        slot.state = kSlotRunning;
        DownloadJob job(slot, fetch, seen, clock, gate);
        const DownloadResult result = job.RunSingle({Url(c.path), target.string(), c.replace, false});
        const std::string got = fs::exists(target) ? ReadAll(target) : std::string("(none)");
        if (c.content == nullptr) {
            EXPECT_EQ(result.retrieved, 1) << c.path;
            EXPECT_EQ(got.size(), c.replace ? 3000u : 5000u) << c.path;
        } else {
            EXPECT_EQ(result.retrieved, 0) << c.path;
            EXPECT_EQ(got, *c.content ? c.content : "(none)") << c.path;
        }
        EXPECT_EQ(FilesIn(dir).size(), fs::exists(target) ? 1u : 0u) << c.path; // no ".part" left
        const auto labels = seen.Get(seen.labels);
        if (c.label) {
            ASSERT_EQ(labels.size(), 1u) << c.path;
            EXPECT_EQ(labels[0], c.label);
        }
        if (!c.answer) {
            EXPECT_EQ(seen.Get(seen.asked), std::vector<std::string>{"ftp://127.0.0.1:9/nothing.bin"});
        }
    }
}

// FTP through pyftpdlib: the size comes from the server, the bytes arrive whole.
TEST_F(DownloadJobTest, FtpFile)
{
    if (std::system("/usr/bin/python3 -c 'import pyftpdlib' 2>/dev/null") != 0)
        GTEST_SKIP() << "pyftpdlib is missing for /usr/bin/python3 (scripts/setup.sh installs it)";
    const fs::path root = dir / "root";
    fs::create_directories(root / "pub");
    std::ofstream(root / "pub" / "archive.bin", std::ios::binary) << BodyBytes(12345);
    test::LocalServer ftp({test::ServerScript("ftp_server.py"), root.string()});
    ASSERT_GT(ftp.Port(), 0);
    const fs::path out = dir / "out";
    settings.saveDir = out.string();
    fs::create_directories(out);
    DownloadList list = {{ftp.Url("/archive.bin", "ftp"), {}}};
    EXPECT_EQ(RunBatch(list).retrieved, 1);
    EXPECT_EQ(ReadAll(out / "archive.bin"), BodyBytes(12345));
    EXPECT_EQ(observer.Get(observer.infos), std::vector<std::string>{" 12.0 K (12345 Bytes) "});
}

} // namespace
} // namespace lt
