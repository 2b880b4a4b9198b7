// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "inet/local_server.h"

namespace lt {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// linktrawl --crawl against a local server, with no display and an INI file of our own.
class CrawlFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ClearProxyEnvironment();
        ASSERT_GT(server.Port(), 0);
        std::string pattern = (fs::temp_directory_path() / "lt-crawl-form-XXXXXX").string();
        dir = mkdtemp(pattern.data());
        ini = dir / "test.ini";
        std::ofstream(ini, std::ios::binary) << "[OPTIONS]\r\nR6=0\r\n[INET]\r\nRI12=2\r\n";
    }
    void TearDown() override { fs::remove_all(dir); }

    int Run(const std::string& args)
    {
        const std::string command = "timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LINKTRAWL_INI='" +
                                    ini.string() + "' '" + LINKTRAWL_BINARY + "' " + args + " >'" +
                                    (dir / "out.txt").string() + "' 2>'" + (dir / "err.txt").string() + "'";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    test::LocalServer server{{test::ServerScript("http_routes.py")}};
    fs::path dir, ini;
};

TEST_F(CrawlFormTest, CrawlsSavesPagesAndWritesTheHits)
{
    const fs::path hits = dir / "hits.txt";
    const fs::path pages = dir / "pages";
    ASSERT_EQ(Run("--crawl " + server.Url("/site/index.htm") + " --level 2 --save-dir '" + pages.string() +
                  "' -save2 '" + hits.string() + "'"),
              0)
        << ReadText(dir / "err.txt");
    const std::string text = ReadText(hits);
    EXPECT_NE(text.find(server.Url("/site/d.htm")), std::string::npos) << text;
    EXPECT_NE(text.find(server.Url("/site/c.htm")), std::string::npos) << text;
    EXPECT_TRUE(fs::exists(pages / "site_c.htm"));
    EXPECT_NE(ReadText(dir / "out.txt").find("Retrieved: 6/7"), std::string::npos) << ReadText(dir / "out.txt");
}

TEST_F(CrawlFormTest, RefusesBadArgumentsWithOneLine)
{
    const fs::path hits = dir / "hits.txt";
    EXPECT_EQ(Run("--crawl gopher://x/ -save2 '" + hits.string() + "'"), 2);
    EXPECT_EQ(ReadText(dir / "err.txt"), "linktrawl: not an http, https or ftp address: gopher://x/\n");
    EXPECT_EQ(Run("--crawl " + server.Url("/") + " --level x -save2 '" + hits.string() + "'"), 2);
    // A start page that cannot be read: the (empty) list is written, the status says so.
    EXPECT_EQ(Run("--crawl http://127.0.0.1:1/ -save2 '" + hits.string() + "'"), 3);
    EXPECT_TRUE(fs::exists(hits));
}

} // namespace
} // namespace lt
