// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/unattended_run.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace lt {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs the built program with no display and an INI file of our own.
class UnattendedRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lt-run-XXXXXX").string();
        dir = mkdtemp(pattern.data());
        ini = dir / "test.ini";
        WriteIni("");
    }
    void TearDown() override { fs::remove_all(dir); }

    void WriteIni(const std::string& extra)
    {
        std::ofstream(ini, std::ios::binary) << "[OPTIONS]\r\nR6=0\r\n[SEARCH]\r\nSUB=0\r\n" << extra;
    }

    struct Result
    {
        int status = -1;
        std::string out, err;
    };

    Result Run(const std::string& args, const fs::path& cwd = {})
    {
        const fs::path outFile = dir / "stdout.txt", errFile = dir / "stderr.txt";
        std::string command = "timeout 120 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LINKTRAWL_INI=" + Quoted(ini.string()) +
                              " " + Quoted(LINKTRAWL_BINARY) + " " + args + " >" + Quoted(outFile.string()) +
                              " 2>" + Quoted(errFile.string()) + " </dev/null";
        if (!cwd.empty())
            command = "cd " + Quoted(cwd.string()) + " && " + command;
        const int raw = std::system(command.c_str());
        Result r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = ReadAll(outFile);
        r.err = ReadAll(errFile);
        return r;
    }

    const std::string samples = LINKTRAWL_SAMPLES;
    fs::path dir;
    fs::path ini;
};

TEST_F(UnattendedRunTest, SearchesTheSamplesAndSavesText)
{
    const fs::path out = dir / "results.txt";
    const Result r = Run(Quoted(samples) + " -save2 " + Quoted(out.string()));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Results saved to " + out.string() + " (", 0), 0u) << r.out;
    const std::string text = ReadAll(out);
    EXPECT_NE(text.find("http://harbourlane-allotments.example.org/rules.html\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("ftp://mirror.example.edu/gardening/planting-calendar.pdf"), std::string::npos);
    EXPECT_NE(text.find("https://rainwater.example.net/butts"), std::string::npos);
    // The search description heads the file; the sub-folder is not searched.
    EXPECT_EQ(text.rfind(samples, 0), 0u) << text.substr(0, 200);
    EXPECT_EQ(text.find("stmarys-primary"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST_F(UnattendedRunTest, IncludeSubdirectoriesReachesTheSubFolder)
{
    std::ofstream(ini, std::ios::binary) << "[OPTIONS]\r\nR6=0\r\n[SEARCH]\r\nSUB=1\r\n";
    const fs::path out = dir / "all.txt";
    const Result r = Run(Quoted(samples) + " -save2 " + Quoted(out.string()));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadAll(out).find("http://www.stmarys-primary.example.sch.uk"), std::string::npos);
}

TEST_F(UnattendedRunTest, HtmlTableReplacesAnExistingFile)
{
    const fs::path out = dir / "results.htm";
    std::ofstream(out) << "old contents that must go";
    const Result r = Run(Quoted(samples) + " -saveh2 " + Quoted(out.string()));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string html = ReadAll(out);
    EXPECT_EQ(html.rfind("<meta http-equiv=\"content-type\"", 0), 0u);
    EXPECT_NE(html.find("<TABLE BORDER=1"), std::string::npos);
    EXPECT_EQ(html.find("old contents"), std::string::npos);
    EXPECT_NE(html.find("https://photos.example.com/harbourlane/show-2023"), std::string::npos);
}

TEST_F(UnattendedRunTest, RelativeOutputPathsFollowTheCurrentFolder)
{
    const Result r = Run(Quoted(samples) + " -save2 relative.txt", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir / "relative.txt"));
    EXPECT_NE(r.out.find((dir / "relative.txt").string()), std::string::npos);
}

TEST_F(UnattendedRunTest, OneFileWithTheEmailKind)
{
    std::ofstream(ini, std::ios::binary) << "[OPTIONS]\r\nR6=6\r\n";
    const fs::path out = dir / "mails.txt";
    const Result r = Run(Quoted(samples + "/mail-plot22.eml") + " -save2 " + Quoted(out.string()));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = ReadAll(out);
    EXPECT_NE(text.find("ruth.okafor@mailbox.example.net"), std::string::npos) << text;
    EXPECT_NE(text.find("office@council.example.gov.uk"), std::string::npos) << text;
}

TEST_F(UnattendedRunTest, AnEmptyResultStillReplacesTheFile)
{
    fs::create_directory(dir / "empty");
    const fs::path out = dir / "none.txt";
    std::ofstream(out) << "stale";
    const Result r = Run(Quoted((dir / "empty").string()) + " -save2 " + Quoted(out.string()));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("(0 rows)"), std::string::npos);
    EXPECT_EQ(ReadAll(out), "");
}

TEST_F(UnattendedRunTest, FailuresExitNonZeroWithAReason)
{
    Result r = Run(Quoted((dir / "no-such-folder").string()) + " -save2 " + Quoted((dir / "x.txt").string()));
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("no-such-folder"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "x.txt"));

    r = Run(Quoted(samples) + " -save2 " + Quoted((dir / "missing/sub/x.txt").string()));
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(r.err.empty());

    r = Run(Quoted(samples) + " -save2");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("-save2"), std::string::npos);

    // A user string of 248 bytes or more cannot be searched.
    std::ofstream(ini, std::ios::binary) << "[OPTIONS]\r\nR6=4\r\nSU0=" << std::string(250, 'u') << "\r\n";
    r = Run(Quoted(samples) + " -save2 " + Quoted((dir / "y.txt").string()));
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(r.err.empty());
}

TEST_F(UnattendedRunTest, CommandLineMistakesAndHelp)
{
    const fs::path out = dir / "out.txt";
    struct Case
    {
        std::string args;
        int status;
        std::string errorPart;
    };
    const Case cases[] = {
        {Quoted(samples) + " --anything 1 -save2 " + Quoted(out.string()), 2, "unknown option --anything"},
        {"--no-such-form -save2 " + Quoted(out.string()), 2, "unknown option --no-such-form"},
        {"", 2, "no display: run with FOLDER -save2 FILE, or set DISPLAY"},
        {Quoted(samples), 2, "no display"},
    };
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_NE(r.err.find(c.errorPart), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(fs::exists(out));
    }

    const Result help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("-savec2"), std::string::npos);
    EXPECT_NE(help.out.find("Exit status"), std::string::npos);
}

TEST_F(UnattendedRunTest, CsvFollowsTheIniDelimiterAndColumns)
{
    WriteIni("[EXPORT]\r\nEX13=;\r\n");
    const fs::path out = dir / "results.csv";
    const Result r = Run(Quoted(samples) + " -savec2 " + Quoted(out.string()));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = ReadAll(out);
    EXPECT_NE(text.find("http"), std::string::npos);
    EXPECT_EQ(text.find('\t'), std::string::npos);
}

} // namespace
} // namespace lt
