// SPDX-License-Identifier: GPL-3.0-or-later
#include "inet/fetch.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "inet/inet_slot.h"
#include "inet/network_init.h"
#include "local_server.h"

namespace lt {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class FetchTest : public test::RoutesServerTest
{
protected:
    void SetUp() override
    {
        ASSERT_GT(s_server->Port(), 0) << "the test server did not start";
        slot.state = kSlotRunning;
    }
    FetchSettings Quick() const
    {
        FetchSettings settings;
        settings.timeoutSeconds = 1;
        settings.connectTimeoutMs = 2000;
        return settings;
    }
    std::string ReadAll(InetRequest& request, long& last)
    {
        std::string body;
        char buffer[1024];
        while ((last = request.Read(buffer, sizeof buffer)) > 0)
            body.append(buffer, static_cast<std::size_t>(last));
        return body;
    }

    InetSlot slot;
};

TEST_F(FetchTest, StatusesAndRedirects)
{
    InetSession session(slot, Quick());
    ASSERT_TRUE(session.IsOpen());
    const std::string root = s_server->Url("/");
    struct Case { const char* path; int status; std::string answer; };
    const Case cases[] = {
        {"/site/c.htm", 200, "200"},
        {"/status/404", 404, "404"},
        {"/status/500", 500, "500"},
        {"/status/999", 537, "999"},
        {"/status/401", 401, "Basic realm=\"r\""},
        {"/dir", 506, s_server->Url("/dir/")},
        {"/r/abs", 507, s_server->Url("/site/c.htm")},
        {"/r/rel", 507, s_server->Url("/site/c.htm")},
        {"/r/t307", 507, s_server->Url("/site/d.htm")},
        {"/r/empty", 302, "302"},
        {"/r/long", 301, "301"},
        {"/r/comment", 302, "302"},
    };
    // One session for all: the connection is reused from request to request.
    for (const Case& c : cases) {
        InetRequest request(session);
        ASSERT_EQ(request.Open(s_server->Url(c.path)), OpenResult::Opened) << c.path;
        std::string answer;
        EXPECT_EQ(request.QueryUrlStatus(answer), c.status) << c.path;
        EXPECT_EQ(answer, c.answer) << c.path;
    }
}

TEST_F(FetchTest, SendsAgentAndAcceptAndReadsBodies)
{
    InetSession session(slot, Quick());
    InetRequest request(session);
    ASSERT_EQ(request.Open(s_server->Url("/agent")), OpenResult::Opened);
    long last = 0;
    EXPECT_EQ(ReadAll(request, last),
              std::string(kInetAgent) + "|image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, text/htm, */*");
    EXPECT_EQ(last, 0);
}

// Two large bodies driven side by side while nobody reads them: each transfer pauses once it
// holds its share, and both go on to arrive whole when they are read.
TEST_F(FetchTest, UnreadBodiesPauseAndArriveWhole)
{
    constexpr std::size_t kSize = 3000000;
    InetSession session(slot, Quick());
    InetRequest first(session), second(session);
    ASSERT_TRUE(first.Begin(s_server->Url("/dl/size/3000000")));
    ASSERT_TRUE(second.Begin(s_server->Url("/dl/size/3000000")));
    for (int i = 0; i < 40; ++i)
        session.Drive(10);
    ASSERT_EQ(first.Progress(), OpenResult::Opened);
    ASSERT_EQ(second.Progress(), OpenResult::Opened);
    std::string bodies[2];
    InetRequest* requests[2] = {&first, &second};
    char buffer[1024];
    for (int round = 0; round < 20000 && (bodies[0].size() < kSize || bodies[1].size() < kSize); ++round) {
        for (int i = 0; i < 2; ++i) {
            long n;
            while ((n = requests[i]->ReadAvailable(buffer, sizeof buffer)) > 0)
                bodies[i].append(buffer, static_cast<std::size_t>(n));
            ASSERT_TRUE(n == InetRequest::kNothingYet || n == 0) << n;
        }
        session.Drive(10);
    }
    std::string expected(kSize, '\0');
    for (std::size_t i = 0; i < kSize; ++i)
        expected[i] = static_cast<char>(i % 251);
    EXPECT_TRUE(bodies[0] == expected);
    EXPECT_TRUE(bodies[1] == expected);
}

TEST_F(FetchTest, HostileServersFailCleanly)
{
    InetSession session(slot, Quick());
    struct Case { const char* path; OpenResult open; int openError; bool readFails; };
    const Case cases[] = {
        {"/stall", OpenResult::TimedOut, 12002, false},
        {"/stallbody", OpenResult::Opened, 0, true},
        {"/short", OpenResult::Opened, 0, true},
        {"/bigheader", OpenResult::Failed, 12152, false},
        {"/http09", OpenResult::Failed, 12152, false},
    };
    for (const Case& c : cases) {
        ResetSlot(slot, false);
        InetRequest request(session);
        const auto start = Clock::now();
        EXPECT_EQ(request.Open(s_server->Url(c.path)), c.open) << c.path;
        EXPECT_EQ(request.ErrorNumber(), c.openError) << c.path;
        if (c.open == OpenResult::Opened) {
            long last = 0;
            ReadAll(request, last);
            EXPECT_EQ(last < 0, c.readFails) << c.path;
        }
        EXPECT_LT(Clock::now() - start, 5s) << c.path;
    }
    InetRequest refused(session);
    EXPECT_EQ(refused.Open("http://127.0.0.1:1/x"), OpenResult::Failed);
    EXPECT_EQ(refused.ErrorNumber(), 12029);
    EXPECT_EQ(refused.Open("gopher://127.0.0.1/x"), OpenResult::Failed);
    EXPECT_EQ(refused.ErrorNumber(), 12006);
}

TEST_F(FetchTest, CancelAndSkipEndPendingTransfersQuickly)
{
    FetchSettings settings = Quick();
    settings.timeoutSeconds = 30;
    InetSession session(slot, settings);
    {
        InetRequest request(session);
        std::thread window([this] {
            std::this_thread::sleep_for(200ms);
            slot.RequestCancel();
        });
        const auto start = Clock::now();
        EXPECT_EQ(request.Open(s_server->Url("/stall")), OpenResult::Cancelled);
        EXPECT_LT(Clock::now() - start, 1s);
        window.join();
    }
    ResetSlot(slot, false);
    slot.state = kSlotRunning;
    {
        InetRequest request(session);
        ASSERT_EQ(request.Open(s_server->Url("/endless")), OpenResult::Opened);
        std::thread window([this] {
            std::this_thread::sleep_for(200ms);
            slot.RequestSkip();
        });
        char buffer[1024];
        long n = 0;
        const auto start = Clock::now();
        while ((n = request.Read(buffer, sizeof buffer)) > 0) {
        }
        EXPECT_EQ(n, -2);
        EXPECT_LT(Clock::now() - start, 1s);
        window.join();
    }
}

TEST_F(FetchTest, NamedProxyCarriesTheRequests)
{
    const std::string log = (std::filesystem::temp_directory_path() / ("lt-proxy-" + std::to_string(getpid()))).string();
    std::filesystem::remove(log);
    test::LocalServer proxy({test::ServerScript("forward_proxy.py"), log});
    ASSERT_GT(proxy.Port(), 0);
    FetchSettings settings = Quick();
    settings.proxy = "127.0.0.1:" + std::to_string(proxy.Port());
    {
        InetSession session(slot, settings);
        InetRequest request(session);
        ASSERT_EQ(request.Open(s_server->Url("/site/c.htm")), OpenResult::Opened);
        std::string answer;
        EXPECT_EQ(request.QueryUrlStatus(answer), 200);
    }
    std::ifstream in(log);
    std::string line;
    std::getline(in, line);
    // Absolute form through the proxy, although no_proxy says "*" for the environment's proxies.
    EXPECT_EQ(line, "GET " + s_server->Url("/site/c.htm") + " HTTP/1.1");
    std::filesystem::remove(log);
}

TEST_F(FetchTest, VerifiesCertificates)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("lt-tls-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string cert = (dir / "cert.pem").string();
    const std::string key = (dir / "key.pem").string();
    const std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 "
                             "-addext subjectAltName=IP:127.0.0.1 -keyout " + key + " -out " + cert +
                             " >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0)
        GTEST_SKIP() << "openssl could not make a certificate";
    test::LocalServer tls({test::ServerScript("http_routes.py"), "--tls", cert, key});
    ASSERT_GT(tls.Port(), 0);
    FetchSettings trusted = Quick();
    trusted.caFile = cert;
    {
        InetSession session(slot, trusted);
        InetRequest request(session);
        ASSERT_EQ(request.Open(tls.Url("/site/c.htm", "https")), OpenResult::Opened);
        std::string answer;
        EXPECT_EQ(request.QueryUrlStatus(answer), 200);
    }
    {
        InetSession session(slot, Quick());
        InetRequest request(session);
        EXPECT_EQ(request.Open(tls.Url("/site/c.htm", "https")), OpenResult::Failed);
        EXPECT_EQ(request.ErrorNumber(), 12045);
    }
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace lt
