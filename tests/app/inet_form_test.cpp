// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "form_run_test.h"
#include "inet/local_server.h"

namespace lt {
namespace {

namespace fs = std::filesystem;

using testing_support::ReadAll;

// linktrawl --crawl against a local server, with no display and an INI file of our own.
class CrawlFormTest : public test::FormRunTest
{
protected:
    CrawlFormTest() : FormRunTest("[OPTIONS]\r\nR6=0\r\n[INET]\r\nRI12=2\r\n") {}
    void SetUp() override
    {
        test::ClearProxyEnvironment();
        ASSERT_GT(server.Port(), 0);
        FormRunTest::SetUp();
    }

    test::LocalServer server{{test::ServerScript("http_routes.py")}};
};

TEST_F(CrawlFormTest, CrawlsSavesPagesAndWritesTheHits)
{
    const fs::path hits = dir / "hits.txt";
    const fs::path pages = dir / "pages";
    ASSERT_EQ(Run("--crawl " + server.Url("/site/index.htm") + " --level 2 --save-dir '" + pages.string() +
                  "' -save2 '" + hits.string() + "'"),
              0)
        << ReadAll(dir / "err.txt");
    const std::string text = ReadAll(hits);
    EXPECT_NE(text.find(server.Url("/site/d.htm")), std::string::npos) << text;
    EXPECT_NE(text.find(server.Url("/site/c.htm")), std::string::npos) << text;
    EXPECT_TRUE(fs::exists(pages / "site_c.htm"));
    EXPECT_NE(ReadAll(dir / "out.txt").find("Retrieved: 6/7"), std::string::npos) << ReadAll(dir / "out.txt");
}

TEST_F(CrawlFormTest, RefusesBadArgumentsWithOneLine)
{
    const fs::path hits = dir / "hits.txt";
    EXPECT_EQ(Run("--crawl gopher://x/ -save2 '" + hits.string() + "'"), 2);
    EXPECT_EQ(ReadAll(dir / "err.txt"), "linktrawl: not an http, https or ftp address: gopher://x/\n");
    EXPECT_EQ(Run("--crawl " + server.Url("/") + " --level x -save2 '" + hits.string() + "'"), 2);
    // A start page that cannot be read: the (empty) list is written, the status says so.
    EXPECT_EQ(Run("--crawl http://127.0.0.1:1/ -save2 '" + hits.string() + "'"), 3);
    EXPECT_TRUE(fs::exists(hits));
}

// linktrawl -job FILE.ltj -save2 FILE: the job file's crawl with no display.
TEST_F(CrawlFormTest, RunsAJobFileAndSavesItsHits)
{
    const fs::path pages = dir / "pages";
    const auto job = [&](const std::string& type, const std::string& inet) {
        const fs::path path = dir / "night.ltj";
        std::ofstream(path, std::ios::binary) << "[LTSfile]\r\nU0=" << type << "\r\n[OPTIONS]\r\nR0=0\r\n[INET]\r\n"
                                              << inet;
        return path.string();
    };
    const std::string crawl = "RI1=2\r\nRI2=2\r\nRI12=2\r\nRI8=" + server.Url("/site/index.htm") +
                              "\r\nRI0=1\r\nRI7=" + (pages / "tmp01.htm").string() + "\r\n";
    struct Case
    {
        std::string type, inet, save;
        int status;
        std::string inHits; // a text the hit file holds; empty when none is written
    };
    const Case cases[] = {
        {"4", crawl, "-save2", 0, server.Url("/site/d.htm")},
        {"4", crawl, "-saveh2", 0, "<TABLE"},
        // Without Follow Links the job reads its one page.
        {"4", "RI1=0\r\nRI12=2\r\nRI8=" + server.Url("/site/a.htm") + "\r\n", "-save2", 0, server.Url("/site/c.htm")},
        // A search settings file is not a job.
        {"2", crawl, "-save2", 1, ""},
        {"4", "RI1=2\r\nRI8=\r\n", "-save2", 1, ""},
    };
    for (const Case& c : cases) {
        const fs::path hits = dir / "hits.out";
        fs::remove(hits);
        const int status = Run("-job '" + job(c.type, c.inet) + "' " + c.save + " '" + hits.string() + "'");
        const std::string err = ReadAll(dir / "err.txt");
        EXPECT_EQ(status, c.status) << c.inet << err;
        if (c.inHits.empty()) {
            EXPECT_FALSE(fs::exists(hits)) << c.inet;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        } else {
            EXPECT_NE(ReadAll(hits).find(c.inHits), std::string::npos) << ReadAll(hits);
        }
    }
    // The crawl saved its pages where the job said.
    EXPECT_TRUE(fs::exists(pages / "site_c.htm"));
}

} // namespace
} // namespace lt
