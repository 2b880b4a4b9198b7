// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "inet/fetch.h"
#include "inet/inet_slot.h"
#include "inet/network_init.h"
#include "inet/status_list.h"
#include "inet/status_test_job.h"
#include "local_server.h"

namespace lt {
namespace {

namespace fs = std::filesystem;

// FTP through pyftpdlib, which Debian's /usr/bin/python3 carries.
class FtpTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        test::ClearProxyEnvironment();
        s_network = new NetworkInit;
        s_root = fs::temp_directory_path() / ("lt-ftp-" + std::to_string(getpid()));
        fs::create_directories(s_root / "pub");
        fs::create_directories(s_root / "private");
        std::ofstream(s_root / "pub" / "file.txt") << "hello over ftp";
        std::ofstream(s_root / "pub" / "empty.txt");
        std::ofstream(s_root / "private" / "secret.txt") << "for fred";
        // Sparse: 4 GiB and one byte, never downloaded, only its size asked.
        { std::ofstream(s_root / "pub" / "huge.bin"); }
        fs::resize_file(s_root / "pub" / "huge.bin", (4ull << 30) + 1);
        if (std::system("/usr/bin/python3 -c 'import pyftpdlib' 2>/dev/null") == 0) {
            s_server = new test::LocalServer({test::ServerScript("ftp_server.py"), s_root.string()});
            s_private = new test::LocalServer({test::ServerScript("ftp_server.py"), s_root.string(), "private"});
        }
    }
    static void TearDownTestSuite()
    {
        delete s_private;
        delete s_server;
        delete s_network;
        fs::remove_all(s_root);
    }
    void SetUp() override
    {
        if (!s_server)
            GTEST_SKIP() << "pyftpdlib is missing for /usr/bin/python3 (scripts/setup.sh installs it)";
        ASSERT_GT(s_server->Port(), 0);
        slot.state = kSlotRunning;
    }
    int Status(const FetchSettings& settings, const std::string& path, std::string* body = nullptr,
               const test::LocalServer* server = s_server)
    {
        InetSession session(slot, settings);
        InetRequest request(session);
        if (request.Open(server->Url(path, "ftp")) != OpenResult::Opened)
            return -request.ErrorNumber();
        std::string answer;
        const int status = request.QueryUrlStatus(answer);
        if (body) {
            char buffer[1024];
            long n;
            while ((n = request.Read(buffer, sizeof buffer)) > 0)
                body->append(buffer, static_cast<std::size_t>(n));
        }
        return status;
    }
    static inline NetworkInit* s_network = nullptr;
    static inline test::LocalServer* s_server = nullptr;
    static inline test::LocalServer* s_private = nullptr;
    static inline fs::path s_root;
    InetSlot slot;
};

TEST_F(FtpTest, StatusSizeAndLogin)
{
    FetchSettings anonymous;
    anonymous.timeoutSeconds = 5;
    std::string body;
    EXPECT_EQ(Status(anonymous, "/file.txt", &body), 200);
    EXPECT_EQ(body, "hello over ftp");
    EXPECT_EQ(slot.ftpFileSize, 14u);
    EXPECT_EQ(Status(anonymous, "/empty.txt"), 521);
    // The size is 64-bit: a 4 GiB file is no empty file.
    EXPECT_EQ(Status(anonymous, "/huge.bin"), 200);
    EXPECT_EQ(slot.ftpFileSize, (4ull << 30) + 1);

    // The private server refuses anonymous logins; the configured login is tried after the refusal
    // and travels as user and password, so its "@", "/" and ":" change nothing.
    FetchSettings login = anonymous;
    login.ftpUser = "fred";
    login.ftpPassword = "p@ss/w:rd";
    FetchSettings wrong = login;
    wrong.ftpPassword = "nope";
    EXPECT_EQ(Status(anonymous, "/secret.txt", nullptr, s_private), -12015);
    EXPECT_EQ(Status(wrong, "/secret.txt", nullptr, s_private), -12014);
    body.clear();
    EXPECT_EQ(Status(login, "/secret.txt", &body, s_private), 200);
    EXPECT_EQ(body, "for fred");
    EXPECT_EQ(slot.ftpLogin, 1);
}

TEST_F(FtpTest, StatusTestAsksFilesWithoutDownloadingThem)
{
    StatusList rows;
    rows.Add(s_server->Url("/file.txt", "ftp"));
    rows.Add(s_server->Url("/empty.txt", "ftp"));
    rows.Add(s_server->Url("/huge.bin", "ftp"));
    rows.Add(s_server->Url("/none.txt", "ftp"));
    StatusTestControls controls;
    StatusTestSettings settings;
    settings.fetch.timeoutSeconds = 5;
    RealPassClock clock;
    StatusTestObserver quiet;
    StatusTestJob(slot, rows, controls, settings, clock, quiet);
    EXPECT_EQ(rows.Status(0), "Ok");
    EXPECT_EQ(rows.Status(1), "Error 521 !");
    EXPECT_EQ(rows.Status(2), "Ok");
    EXPECT_EQ(rows.Status(3), "12152 - invalid server response");
}

} // namespace
} // namespace lt
