// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>
#include <fstream>

#include "form_run_test.h"
#include "inet/local_server.h"

namespace lt {
namespace {

namespace fs = std::filesystem;

using testing_support::ReadAll;

// linktrawl --check-urls against a local server, with no display and an INI file of our own.
class CheckUrlsFormTest : public test::FormRunTest
{
protected:
    // One second of time-out, three requests at once.
    CheckUrlsFormTest() : FormRunTest("[INET]\r\nRI12=1\r\nRI21=3\r\n") {}
    void SetUp() override
    {
        test::ClearProxyEnvironment();
        ASSERT_GT(server.Port(), 0);
        FormRunTest::SetUp();
    }
    void WriteUrls(const std::string& text) { std::ofstream(dir / "urls.txt", std::ios::binary) << text; }

    test::LocalServer server{{test::ServerScript("http_routes.py")}};
};

TEST_F(CheckUrlsFormTest, SavesEachUrlWithItsStatusAndTellsWhetherAllWereOk)
{
    const fs::path saved = dir / "status.txt";
    const std::string args = "--check-urls '" + (dir / "urls.txt").string() + "' -save2 '" + saved.string() + "'";
    WriteUrls(server.Url("/site/c.htm") + "\r\n\r\n  " + server.Url("/dir") + "  \n");
    ASSERT_EQ(Run(args), 0) << ReadAll(dir / "err.txt");
    std::string text = ReadAll(saved);
    EXPECT_NE(text.find(server.Url("/site/c.htm")), std::string::npos) << text;
    EXPECT_NE(text.find("Ok"), std::string::npos) << text;
    EXPECT_NE(ReadAll(dir / "out.txt").find("Ok Items: 2/2"), std::string::npos) << ReadAll(dir / "out.txt");

    WriteUrls(server.Url("/site/c.htm") + "\n" + server.Url("/status/404") + "\nnot a url\n");
    ASSERT_EQ(Run(args), 1) << ReadAll(dir / "err.txt");
    text = ReadAll(saved);
    EXPECT_NE(text.find("404 - Not Found"), std::string::npos) << text;
    EXPECT_NE(text.find("12006 - Url scheme not supported"), std::string::npos) << text;

    const fs::path html = dir / "status.htm";
    ASSERT_EQ(Run("--check-urls '" + (dir / "urls.txt").string() + "' -saveh2 '" + html.string() + "'"), 1);
    EXPECT_NE(ReadAll(html).find("Test Url Status"), std::string::npos);
}

TEST_F(CheckUrlsFormTest, UsageAndSetUpErrors)
{
    const fs::path saved = dir / "status.txt";
    EXPECT_EQ(Run("--check-urls '" + (dir / "missing.txt").string() + "' -save2 '" + saved.string() + "'"), 2);
    WriteUrls("\n  \n");
    EXPECT_EQ(Run("--check-urls '" + (dir / "urls.txt").string() + "' -save2 '" + saved.string() + "'"), 2);
    EXPECT_NE(ReadAll(dir / "err.txt").find("no URLs"), std::string::npos);
    EXPECT_EQ(Run("--check-urls '" + (dir / "urls.txt").string() + "'"), 2);
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(ReadAll(dir / "out.txt").find("--check-urls URL_FILE -save2 FILE"), std::string::npos);
}

} // namespace
} // namespace lt
