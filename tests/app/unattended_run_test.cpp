// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/unattended_run.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "program_files.h"
#include <sstream>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lt {
namespace {

using testing_support::ReadAll;
using testing_support::Quoted;

namespace fs = std::filesystem;

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

    // `shell` goes before the program in the same shell (limits, traps).
    Result Run(const std::string& args, const fs::path& cwd = {}, const std::string& shell = {})
    {
        const fs::path outFile = dir / "stdout.txt", errFile = dir / "stderr.txt";
        std::string command = shell + "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LINKTRAWL_INI=" + Quoted(ini.string()) +
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

    // A folder holding one file of `count` distinct links on `host`.
    fs::path LinkFolder(const std::string& name, const std::string& host, int count)
    {
        const fs::path folder = dir / name;
        fs::create_directory(folder);
        std::ofstream page(folder / "links.txt", std::ios::binary);
        for (int i = 0; i < count; ++i)
            page << "see http://" << host << "/path/to/page" << i << ".htm here\n";
        return folder;
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

// A full disk or a signal during the save must not cut the previous output.
TEST_F(UnattendedRunTest, ASaveFailingHalfWayKeepsThePreviousOutput)
{
    const fs::path folder = LinkFolder("many", "www.example.com", 3000);
    fs::create_directory(dir / "empty");
    const fs::path out = dir / "results.txt";
    for (const fs::path& searched : {folder, dir / "empty"}) {
        std::ofstream(out, std::ios::binary) << "previous run\n";
        // 40 blocks are at least 20000 bytes, far less than the list; the limit does not stop the
        // empty list, whose file must then be replaced whole.
        const Result r = Run(Quoted(searched.string()) + " -save2 " + Quoted(out.string()), {},
                             "trap '' XFSZ; ulimit -f 40; ");
        if (searched == folder) {
            EXPECT_NE(r.status, 0);
            EXPECT_NE(r.err.find(out.string()), std::string::npos) << r.err;
            EXPECT_EQ(ReadAll(out), "previous run\n");
        } else {
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(ReadAll(out), "");
        }
        for (const auto& entry : fs::directory_iterator(dir))
            EXPECT_EQ(entry.path().filename().string().find(".results.txt"), std::string::npos) << entry.path();
    }
}

// Two runs saving to one path leave one run's whole file, never a mix of both. The first run is
// stopped as soon as the target changes, the second runs to its end, then the first goes on.
TEST_F(UnattendedRunTest, TwoRunsSavingToOnePathLeaveOneWholeFile)
{
    const fs::path a = LinkFolder("a", "a.example", 20000), b = LinkFolder("b", "bbbbbbbb.example.org", 100000);
    const fs::path aOut = dir / "a.txt", bOut = dir / "b.txt", out = dir / "shared.txt";
    ASSERT_EQ(Run(Quoted(a.string()) + " -save2 " + Quoted(aOut.string())).status, 0);
    ASSERT_EQ(Run(Quoted(b.string()) + " -save2 " + Quoted(bOut.string())).status, 0);
    const std::string aText = ReadAll(aOut), bText = ReadAll(bOut);
    // The stop must land while the first run writes; a few rounds make that near certain.
    for (int round = 0; round < 3; ++round) {
        std::ofstream(out, std::ios::binary) << "old";

        const std::string first = "exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LINKTRAWL_INI=" + Quoted(ini.string()) + " " +
                                  Quoted(LINKTRAWL_BINARY) + " " + Quoted(a.string()) + " -save2 " +
                                  Quoted(out.string()) + " >/dev/null";
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            execl("/bin/sh", "sh", "-c", first.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        bool exited = false;
        for (;;) {
            std::error_code ec;
            const auto size = fs::file_size(out, ec);
            if (!ec && size != 3) {
                kill(child, SIGSTOP);
                break;
            }
            if (waitpid(child, &status, WNOHANG) == child) {
                exited = true;
                break;
            }
            usleep(50);
        }
        const Result second = Run(Quoted(b.string()) + " -save2 " + Quoted(out.string()));
        EXPECT_EQ(second.status, 0) << second.err;
        if (!exited) {
            kill(child, SIGCONT);
            ASSERT_EQ(waitpid(child, &status, 0), child);
        }
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
        const std::string text = ReadAll(out);
        EXPECT_TRUE(text == aText || text == bText) << text.size() << " bytes, not " << aText.size() << " or "
                                                    << bText.size() << " (round " << round << ")";
    }
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
        // An argument holding a line break is still named on one line.
        {Quoted(samples) + " " + Quoted("--bad\nline") + " -save2 " + Quoted(out.string()), 2,
         "unknown option --bad line"},
        {Quoted("--no\nform"), 2, "unknown option --no form"},
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
    // Every unattended form is listed, the job file's too.
    for (const char* form : {"-job JOB.ltj -save2 FILE", "--crawl URL", "--check-urls", "--download FILE"})
        EXPECT_NE(help.out.find(form), std::string::npos) << form;
}

// A second proc mount (as a link to "/" or a container tree reaches it) is not searched: it would
// list other processes' command lines and environments, and some of its files never end.
TEST_F(UnattendedRunTest, ProcMountedElsewhereIsNotSearched)
{
    const fs::path tree = dir / "tree", proc = tree / "p";
    fs::create_directories(proc);
    std::ofstream(tree / "page.txt") << "see http://visible.example/page\n";
    if (std::system(("unshare -m sh -c " + Quoted("mount -t proc proc " + Quoted(proc.string())) + " 2>/dev/null")
                        .c_str()) != 0)
        GTEST_SKIP() << "no mount namespace here";
    std::ofstream(ini, std::ios::binary) << "[OPTIONS]\r\nR6=0\r\n[SEARCH]\r\nSUB=1\r\n";
    const fs::path out = dir / "out.txt";
    const std::string inner = "mount -t proc proc " + Quoted(proc.string()) +
                              " && LT_MARK=http://proc-leak.example/found exec " + Quoted(LINKTRAWL_BINARY) + " " +
                              Quoted(tree.string()) + " -save2 " + Quoted(out.string());
    const std::string command = "timeout 120 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LINKTRAWL_INI=" + Quoted(ini.string()) +
                                " timeout 60 unshare -m sh -c " + Quoted(inner) + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    const std::string text = ReadAll(out);
    EXPECT_NE(text.find("http://visible.example/page"), std::string::npos) << text.substr(0, 300);
    EXPECT_EQ(text.find("proc-leak"), std::string::npos);
}

// A script must be able to tell a result is incomplete. Root reads everything, so the run drops to
// an unprivileged user when the test runs as root.
TEST_F(UnattendedRunTest, UnreadableFilesAndFoldersAreNamedAndExitThree)
{
    const fs::path tree = dir / "tree";
    fs::create_directories(tree / "closed");
    fs::create_directories(tree / "open");
    std::ofstream(tree / "page.txt") << "see http://visible.example/page\n";
    std::ofstream(tree / "secret.txt") << "see http://hidden.example/page\n";
    std::ofstream(tree / "closed" / "inner.txt") << "see http://inner.example/page\n";
    fs::permissions(tree / "secret.txt", fs::perms::none);
    fs::permissions(tree / "closed", fs::perms::none);
    fs::permissions(dir, fs::perms::all);
    std::ofstream(ini, std::ios::binary) << "[OPTIONS]\r\nR6=0\r\n[SEARCH]\r\nSUB=1\r\n";
    fs::permissions(ini, fs::perms::all);
    fs::permissions(tree / "open", fs::perms::all);
    const std::string user = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const fs::path out = tree / "open" / "out.txt";
    const Result r = Run(Quoted(tree.string()) + " -save2 " + Quoted(out.string()), {}, user);
    fs::permissions(tree / "closed", fs::perms::owner_all);
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("linktrawl: Could not open " + (tree / "secret.txt").string() + " \n"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("linktrawl: Could not read the folder " + (tree / "closed").string() + "/\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
    EXPECT_NE(ReadAll(out).find("http://visible.example/page"), std::string::npos);
}

// "linktrawl DIR -save2 FILE | head -0": the status line cannot be written, the run still succeeds.
TEST_F(UnattendedRunTest, AClosedStandardOutputIsNotAFailedRun)
{
    const fs::path out = dir / "results.txt";
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]); // no reader: every write to the pipe fails
    const std::string command = "exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LINKTRAWL_INI=" + Quoted(ini.string()) +
                                " " + Quoted(LINKTRAWL_BINARY) + " " + Quoted(samples) + " -save2 " +
                                Quoted(out.string()) + " 2>/dev/null";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(fds[1], 1);
        close(fds[1]);
        signal(SIGPIPE, SIG_DFL);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
    EXPECT_NE(ReadAll(out).find("http://"), std::string::npos);
}

// An output that is no regular file is refused before the search, whether the list is empty or not.
TEST_F(UnattendedRunTest, OutputsThatAreNoRegularFileAreRefusedBeforeTheSearch)
{
    const fs::path fifo = dir / "fifo", plain = dir / "plain", readOnly = dir / "read-only.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(plain) << "x";
    std::ofstream(readOnly) << "kept";
    fs::permissions(readOnly, fs::perms::owner_read);
    fs::create_directory(dir / "empty");
    const std::string outputs[] = {fifo.string(),  "/dev/null", "/dev/full", dir.string(), (plain / "x.txt").string(),
                                   (dir / "missing/x.txt").string(), readOnly.string()};
    for (const std::string& searched : {samples, (dir / "empty").string()}) {
        for (const std::string& output : outputs) {
            const Result r = Run(Quoted(searched) + " -save2 " + Quoted(output), {}, "exec timeout 20 ");
            EXPECT_EQ(r.status, 2) << output << ": " << r.err;
            EXPECT_EQ(r.err.rfind("linktrawl: Could not write " + output + ": ", 0), 0u) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_EQ(r.out, "");
        }
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(ReadAll(plain), "x");
    EXPECT_EQ(ReadAll(readOnly), "kept");
}

TEST_F(UnattendedRunTest, AnIniThatIsAFifoGivesTheDefaultsAndOneLine)
{
    fs::remove(ini);
    ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0);
    const fs::path out = dir / "results.txt";
    // Without the check the run would wait for a writer for ever.
    const Result r = Run(Quoted(samples) + " -save2 " + Quoted(out.string()), {}, "exec timeout 20 ");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "linktrawl: " + ini.string() + " is not a regular file: the default settings are used\n");
    EXPECT_NE(ReadAll(out).find("http://"), std::string::npos);
    EXPECT_TRUE(fs::is_fifo(ini));
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
