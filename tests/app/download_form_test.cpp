// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>
#include <fstream>

#include "form_run_test.h"
#include "inet/local_server.h"

namespace lt {
namespace {

namespace fs = std::filesystem;

using testing_support::ReadAll;

// linktrawl --download against a local server, with no display and an INI file of our own.
class DownloadFormTest : public test::FormRunTest
{
protected:
    DownloadFormTest() : FormRunTest("[INET]\r\nRI12=1\r\n") {}
    void SetUp() override
    {
        test::ClearProxyEnvironment();
        ASSERT_GT(server.Port(), 0);
        FormRunTest::SetUp();
    }
    void WriteList(const std::vector<std::string>& paths)
    {
        std::ofstream list(dir / "urls.txt", std::ios::binary);
        for (const std::string& p : paths)
            list << server.Url(p) << "\r\n";
    }

    test::LocalServer server{{test::ServerScript("http_routes.py")}};
};

TEST_F(DownloadFormTest, ExitStatuses)
{
    const fs::path out = dir / "files";
    const std::string list = "'" + (dir / "urls.txt").string() + "'";
    const std::string saveDir = " --save-dir '" + out.string() + "'";

    WriteList({"/dl/size/2000/first.bin", "/dl/size/3000/second.bin"});
    ASSERT_EQ(Run("--download " + list + saveDir), 0) << ReadAll(dir / "err.txt");
    EXPECT_EQ(fs::file_size(out / "first.bin"), 2000u);
    EXPECT_EQ(fs::file_size(out / "second.bin"), 3000u);
    EXPECT_EQ(ReadAll(out / "linktrawl.log"),
              server.Url("/dl/size/2000/first.bin") + "\r\n" + server.Url("/dl/size/3000/second.bin") + "\r\n");
    EXPECT_EQ(ReadAll(dir / "out.txt"), "Retrieved: 2/2\n");

    // One failure: the others arrive, the failed one is named on standard error.
    WriteList({"/status/404/gone.bin", "/dl/size/100/third.bin"});
    EXPECT_EQ(Run("--download " + list + saveDir), 1);
    EXPECT_EQ(ReadAll(dir / "err.txt"),
              "linktrawl: " + server.Url("/status/404/gone.bin") + ": Error 404 - Not Found\n");
    EXPECT_TRUE(fs::exists(out / "third.bin"));
    EXPECT_FALSE(fs::exists(out / "gone.bin"));

    EXPECT_EQ(Run("--download " + list), 2);
    EXPECT_EQ(ReadAll(dir / "err.txt"), "linktrawl: --download needs --save-dir DIR\n");
    EXPECT_EQ(Run("--download '" + (dir / "missing.txt").string() + "'" + saveDir), 2);
    std::ofstream(dir / "file") << "x";
    EXPECT_EQ(Run("--download " + list + " --save-dir '" + (dir / "file" / "sub").string() + "'"), 2);
    EXPECT_NE(ReadAll(dir / "err.txt").find("can not create the directory"), std::string::npos);
}

} // namespace
} // namespace lt
