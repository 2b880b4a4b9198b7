// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/command_line.h"

#include <gtest/gtest.h>
#include <set>

#include "core/startup_state.h"

namespace lt {
namespace {

using Args = std::vector<std::string>;

class CommandLineTest : public ::testing::Test
{
protected:
    CommandLineResult Read(const Args& args, int mode = 0) { return ReadCommandLine(args, Probe(), mode); }
    PathProbe Probe()
    {
        PathProbe probe;
        probe.isFile = [this](const std::string& p) { return files.count(p) != 0; };
        probe.isFolder = [this](const std::string& p) { return folders.count(p) != 0; };
        probe.currentFolder = "/home/user/work";
        return probe;
    }
    std::set<std::string> files{"/data/a.htm",
                                "/data/b.htm",
                                "/home/user/work/page.html",
                                "/jobs/night.ltj",
                                "/home/user/work/My Session.LTN",
                                "/s/set.lts"};
    std::set<std::string> folders{"/data", "/home/user/work/site"};
};

TEST_F(CommandLineTest, EmptyLineKeepsTheTextWindowOfTheIniFile)
{
    EXPECT_EQ(Read({}, 10).textWindowMode, 10);
    EXPECT_EQ(Read({"/data"}, 10).textWindowMode, 0);
    const auto pane = Read({"txt_pane"}, 10);
    EXPECT_EQ(pane.textWindowMode, 12);
    EXPECT_EQ(pane.startAction, 0);
    EXPECT_EQ(Read({"txt_pane", "/data"}).textWindowMode, 12);
}

TEST_F(CommandLineTest, StartFilesByEndingIgnoringCase)
{
    auto r = Read({"/jobs/night.ltj"});
    EXPECT_EQ(r.startFileKind, 4);
    EXPECT_EQ(r.startFile, "/jobs/night.ltj");
    r = Read({"My Session.LTN"});
    EXPECT_EQ(r.startFileKind, 3);
    EXPECT_EQ(r.startFile, "/home/user/work/My Session.LTN");
    EXPECT_EQ(Read({"/s/set.lts"}).startFileKind, 2);
    // A session name that is no file is an ordinary search target, which does not exist.
    r = Read({"/nowhere/old.ltn"});
    EXPECT_EQ(r.startFileKind, 0);
    EXPECT_EQ(r.startAction, 0);
    // Saved unattended, a session is loaded and its list saved.
    r = Read({"My Session.LTN", "-saveh2", "out.htm"});
    EXPECT_EQ(r.startFileKind, 3);
    EXPECT_EQ(r.startFile, "/home/user/work/My Session.LTN");
    EXPECT_EQ(r.startAction, kStartSearchFilesSaveHtml);
}

TEST_F(CommandLineTest, FolderAndFileSearches)
{
    auto r = Read({"/data"});
    EXPECT_EQ(r.startAction, kStartSearchFolder);
    EXPECT_EQ(r.searchTarget, "/data");
    EXPECT_EQ(r.startWords, 1);
    r = Read({"page.html"});
    EXPECT_EQ(r.startAction, kStartSearchFiles);
    EXPECT_EQ(r.searchTarget, "/home/user/work/page.html");
    EXPECT_EQ(Read({"/data/none.htm"}).startAction, 0);
    // Several names are taken without a check, in the multi-selection form.
    r = Read({"/data/a.htm", "gone.htm"});
    EXPECT_EQ(r.startAction, kStartSearchFiles);
    EXPECT_EQ(r.searchTarget, std::string("\0/data/a.htm\0/home/user/work/gone.htm\0", 38));
    EXPECT_EQ(r.startWords, 2);
}

TEST_F(CommandLineTest, WildcardsAndRedirectionCharactersGiveNoAction)
{
    for (const char* bad : {"/data/*.htm", "/data/?", "a|b", "<x", "x>", "\"q\""}) {
        const auto r = Read({bad});
        EXPECT_EQ(r.startAction, 0) << bad;
        EXPECT_EQ(r.startWords, 0) << bad;
    }
    // "/" is an ordinary path character here.
    EXPECT_EQ(Read({"/data"}).startWords, 1);
}

TEST_F(CommandLineTest, SaveOptionsComeLastAndRelativePathsFollowTheCurrentFolder)
{
    auto r = Read({"/data", "-save2", "out.txt"});
    EXPECT_EQ(r.startAction, kStartSearchFolderSaveText);
    EXPECT_EQ(r.saveOutputPath, "/home/user/work/out.txt");
    EXPECT_EQ(r.searchTarget, "/data");
    r = Read({"site", "-saveh2", "/tmp/my results.htm"});
    EXPECT_EQ(r.startAction, kStartSearchFolderSaveHtml);
    EXPECT_EQ(r.saveOutputPath, "/tmp/my results.htm");
    r = Read({"/data/a.htm", "-saveh2", "x", "y.htm"});
    EXPECT_EQ(r.startAction, kStartSearchFilesSaveHtml);
    EXPECT_EQ(r.saveOutputPath, "/home/user/work/x y.htm");
    r = Read({"/data/a.htm", "/data/b.htm", "-save2", "list.txt"});
    EXPECT_EQ(r.startAction, kStartSearchFilesSaveText);
    EXPECT_TRUE(IsUnattendedAction(r.startAction));
}

TEST_F(CommandLineTest, ThreadsOptionAnywhereBeforeTheSaveOption)
{
    auto r = Read({"--threads", "2", "/data", "-save2", "out.txt"});
    EXPECT_EQ(r.startAction, kStartSearchFolderSaveText);
    EXPECT_EQ(r.searchTarget, "/data");
    EXPECT_EQ(r.threads, 2);
    r = Read({"/data/a.htm", "/data/b.htm", "--threads", "0", "-save2", "list.txt"});
    EXPECT_EQ(r.startAction, kStartSearchFilesSaveText);
    EXPECT_EQ(r.threads, 0);
    EXPECT_EQ(Read({"/data", "-save2", "out.txt"}).threads, -1);
    EXPECT_NE(Read({"/data", "--threads", "two", "-save2", "o.txt"}).error.find("--threads"), std::string::npos);
    EXPECT_FALSE(Read({"/data", "--threads"}).error.empty());
}

TEST_F(CommandLineTest, UnattendedRunsThatCannotRunSayWhy)
{
    EXPECT_FALSE(Read({"/data", "-save2"}).error.empty());
    auto r = Read({"/missing", "-save2", "out.txt"});
    EXPECT_EQ(r.startAction, 0);
    EXPECT_NE(r.error.find("/missing"), std::string::npos);
    EXPECT_FALSE(Read({"-saveh2", "out.htm"}).error.empty());
    EXPECT_FALSE(Read({"/data/*", "-save2", "o.txt"}).error.empty());
    EXPECT_TRUE(Read({"/missing"}).error.empty());

    // A folder that exists but is longer than a start path may be is not "not found".
    const std::string deep = "/data/" + std::string(260, 'd');
    folders.insert(deep);
    r = Read({deep, "-save2", "out.txt"});
    EXPECT_EQ(r.startAction, 0);
    EXPECT_EQ(r.error, "The path is too long (more than 259 bytes): " + deep);
    EXPECT_EQ(Read({deep + "x", "-save2", "out.txt"}).error, "Could not find " + deep + "x");
}

TEST_F(CommandLineTest, JobFiles)
{
    auto r = Read({"-job", "/jobs/night.ltj"});
    EXPECT_EQ(r.startAction, kStartJob);
    EXPECT_EQ(r.startFileKind, 4);
    EXPECT_EQ(r.startFile, "/jobs/night.ltj");
    EXPECT_EQ(Read({"-job", "/jobs/night.ltj", "-save2", "o.txt"}).startAction, kStartJobSaveText);
    EXPECT_EQ(Read({"-job", "/jobs/night.ltj", "-saveh2", "o.htm"}).startAction, kStartJobSaveHtml);
    EXPECT_EQ(Read({"-job", "/jobs/none.ltj"}).startAction, 0);
}

TEST_F(CommandLineTest, HandoverRectangleAndPayloads)
{
    auto r = Read({"WP:10:20:610:420"});
    EXPECT_EQ(r.handoffKind, 1);
    EXPECT_TRUE(r.hasWindowRect);
    EXPECT_EQ(r.windowRect, (std::array<int, 4>{10, 20, 610, 420}));

    r = Read({"WP:1:2:3:4:LS1::CM1:http://example.org/page.html:LS2:"});
    EXPECT_EQ(r.handoffKind, 3);
    EXPECT_EQ(r.handoffText, "http://example.org/page.html");
    EXPECT_EQ(r.textWindowMode, 0);
    EXPECT_EQ(r.windowRect, (std::array<int, 4>{1, 2, 3, 4}));

    r = Read({"WP:1:2:3:4:LS1::CM2:http://example.org/:LS2:"}, 10);
    EXPECT_EQ(r.textWindowMode, 11);
    EXPECT_EQ(r.handoffKind, 3);

    r = Read({"WP:0:0:800:600:LS1::CM3:/tmp/handover.ltn:LS2:"});
    EXPECT_TRUE(r.secondaryWindow);
    EXPECT_EQ(r.handoffKind, 2);
    EXPECT_EQ(r.handoffText, "/tmp/handover.ltn");

    r = Read({"WP:0:0:800:600:LS1:/tmp/plain session.ltn:LS2:trailing"});
    EXPECT_EQ(r.handoffKind, 2);
    EXPECT_EQ(r.handoffText, "/tmp/plain session.ltn");
    EXPECT_FALSE(r.secondaryWindow);
}

TEST_F(CommandLineTest, ShortHandoverPayloadIsASessionPathEvenWithATag)
{
    // ":LS1::CM3:a.l" is 13 characters: too short for a tag.
    auto r = Read({"WP:5:6:7:8:LS1::CM3:a.l:LS2:"});
    EXPECT_EQ(r.handoffKind, 2);
    EXPECT_EQ(r.handoffText, ":CM3:a.l");
    EXPECT_FALSE(r.secondaryWindow);
    // Payloads of fewer than 4 characters carry nothing.
    r = Read({"WP:5:6:7:8:LS1:abc:LS2:"});
    EXPECT_EQ(r.handoffKind, 1);
}

TEST_F(CommandLineTest, HandoverWithFewerNumbers)
{
    const auto r = Read({"WP:300:200"});
    EXPECT_FALSE(r.hasWindowRect);
    EXPECT_EQ(r.windowRect[3], 200); // bottom is taken first
    EXPECT_EQ(r.windowRect[2], 300);
}

TEST_F(CommandLineTest, ApplyFillsTheStartupState)
{
    StartupState state;
    state.windowRect = {1, 1, 1, 1};
    ApplyCommandLine(Read({"/data", "-save2", "/tmp/o.txt"}), state);
    EXPECT_EQ(state.startAction, kStartSearchFolderSaveText);
    EXPECT_EQ(state.searchTarget, "/data");
    EXPECT_EQ(state.saveOutputPath, "/tmp/o.txt");
    EXPECT_TRUE(state.Unattended());
    EXPECT_EQ(state.windowRect, (std::array<int, 4>{1, 1, 1, 1}));
}

} // namespace
} // namespace lt
