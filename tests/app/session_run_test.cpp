// SPDX-License-Identifier: GPL-3.0-or-later
// "linktrawl SESSION.ltn -save2 FILE" run as a process with no display.
#include "app/session_run.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "program_files.h"

namespace lt {
namespace {

using testing_support::ReadAll;
using testing_support::Quoted;

namespace fs = std::filesystem;

class SessionRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lt-srun-XXXXXX").string();
        dir = mkdtemp(pattern.data());
        std::ofstream(dir / "test.ini", std::ios::binary) << "[OPTIONS]\r\nR6=0\r\n";
        std::ofstream(dir / "list.ltn", std::ios::binary)
            << "[LinkTrawl Session file]\r\n\r\n\r\n[LTSfile]\r\n\r\nU0=3\r\nU2=3\r\nH0=Url\r\nH1=Title\r\nH2=File\r\n"
               "\r\n\r\n[OPTIONS]\r\n\r\nR14=0\r\n\r\n\r\n[ROWS]\r\n"
               "01http://b.example.org/\r\n02B\r\n03/x/b.htm\r\n01http://a.example.org/\r\n03/x/a.htm\r\n";
    }
    void TearDown() override { fs::remove_all(dir); }

    int Run(const std::string& args, std::string& err)
    {
        const fs::path errFile = dir / "stderr.txt";
        const std::string command = "timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LINKTRAWL_INI=" +
                                    Quoted((dir / "test.ini").string()) + " " + Quoted(LINKTRAWL_BINARY) + " " + args +
                                    " >/dev/null 2>" + Quoted(errFile.string()) + " </dev/null";
        const int raw = std::system(command.c_str());
        err = ReadAll(errFile);
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    fs::path dir;
};

TEST_F(SessionRunTest, SessionIsLoadedAndSavedAsTextAndHtml)
{
    std::string err;
    const fs::path text = dir / "out.txt";
    ASSERT_EQ(Run(Quoted((dir / "list.ltn").string()) + " -save2 " + Quoted(text.string()), err), 0) << err;
    const std::string saved = ReadAll(text);
    EXPECT_NE(saved.find("http://a.example.org/"), std::string::npos) << saved;
    EXPECT_NE(saved.find("http://b.example.org/"), std::string::npos);
    EXPECT_EQ(saved.find("01http"), std::string::npos); // loaded, not searched as text
    EXPECT_EQ(err, "");

    const fs::path html = dir / "out.htm";
    ASSERT_EQ(Run(Quoted((dir / "list.ltn").string()) + " -saveh2 " + Quoted(html.string()), err), 0) << err;
    EXPECT_NE(ReadAll(html).find("<TABLE BORDER=1"), std::string::npos);
}

TEST_F(SessionRunTest, FileThatIsNotASessionFailsWithOneLine)
{
    std::ofstream(dir / "settings.ltn", std::ios::binary) << "[LTSfile]\r\nU0=2\r\n";
    std::string err;
    const fs::path out = dir / "out.txt";
    EXPECT_EQ(Run(Quoted((dir / "settings.ltn").string()) + " -save2 " + Quoted(out.string()), err), 1);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("Could not load session"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
} // namespace lt
