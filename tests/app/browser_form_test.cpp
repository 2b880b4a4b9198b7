// SPDX-License-Identifier: GPL-3.0-or-later
// The unattended browser-list forms, run as the built program against a Wine-like prefix.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "program_files.h"
#include <sstream>
#include <sys/wait.h>

#include "platform/wine_prefix_tree.h"

namespace lt {
namespace {

using testing_support::ReadAll;
using testing_support::Quoted;

const std::string kHeader = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n";

class BrowserFormTest : public ::testing::Test
{
protected:
    BrowserFormTest()
    {
        tree.Write("linktrawl.ini", "[OPTIONS]\r\nR6=0\r\n");
        tree.Write("user.reg",
                   kHeader +
                       "\n[Software\\\\Microsoft\\\\Internet Explorer\\\\TypedURLs] 1\n\"url1\"=\"http://typed.example/\"\n"
                       "\n[Software\\\\Microsoft\\\\RAS Autodial\\\\Addresses\\\\www.ras.example] 1\n"
                       "\"LastModified\"=hex:00,e1,f5,05\n"
                       "\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
                       "\"Favorites\"=\"C:\\\\users\\\\u\\\\Favorites\"\n");
        tree.Write("system.reg", kHeader + "\n[Software\\\\Microsoft\\\\Internet Explorer\\\\AboutURLs] 1\n"
                                           "\"blank\"=\"res://about.example/blank.htm\"\n\"Home\"=\"res://home/\"\n");
        tree.Write("drive_c/users/u/Favorites/Site.url", "[InternetShortcut]\r\nURL=http://fav.example/x\r\n");
        tree.Write("drive_c/users/u/Favorites/Other.url", "[InternetShortcut]\r\nURL=http://other.example/\r\n");
    }

    struct Result
    {
        int status = -1;
        std::string out, err, saved;
    };

    Result Run(const std::string& args)
    {
        const std::string saved = tree.Path("saved.txt");
        std::filesystem::remove(saved);
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u WINEPREFIX LINKTRAWL_INI=" +
                                    Quoted(tree.Path("linktrawl.ini")) + " " + Quoted(LINKTRAWL_BINARY) + " " + args +
                                    " >" + Quoted(tree.Path("out.txt")) + " 2>" + Quoted(tree.Path("err.txt")) +
                                    " </dev/null";
        const int raw = std::system(command.c_str());
        Result r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = ReadAll(tree.Path("out.txt"));
        r.err = ReadAll(tree.Path("err.txt"));
        r.saved = ReadAll(saved);
        return r;
    }
    std::string Prefix() const { return " --wine-prefix " + Quoted(tree.Path()); }
    std::string Save(const char* option = "-save2") const { return std::string(" ") + option + " " + Quoted(tree.Path("saved.txt")); }

    test::WinePrefixTree tree;
};

TEST_F(BrowserFormTest, EachListIsSavedFromThePrefix)
{
    Result r = Run("--typed-urls ie" + Prefix() + Save());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.saved.find("http://typed.example/"), std::string::npos);

    r = Run("--about-urls" + Prefix() + Save("-savec2"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.saved.find("res://about.example/blank.htm"), std::string::npos);
    EXPECT_EQ(r.saved.find("res://home/"), std::string::npos);

    r = Run("--ras" + Prefix() + Save("-saveh2"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.saved.find("http://www.ras.example"), std::string::npos);

    r = Run("--favorites fav" + Prefix() + Save());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.saved.find("http://fav.example/x"), std::string::npos);
    EXPECT_EQ(r.saved.find("other.example"), std::string::npos);
}

TEST_F(BrowserFormTest, FailuresGiveOneLineAndAStatus)
{
    Result r = Run("--typed-urls opera" + Prefix() + Save());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("ie or netscape"), std::string::npos);

    r = Run("--ras --wine-prefix " + Quoted(tree.Path("nothing")) + Save());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("No Wine registry found"), std::string::npos);

    r = Run("--typed-urls netscape --wine-prefix " + Quoted(tree.Path("nothing")) + Save());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Please enter location of Netscape Bookmarks at Options !"), std::string::npos);

    r = Run("--help");
    for (const char* form : {"--typed-urls", "--about-urls", "--ras", "--favorites"})
        EXPECT_NE(r.out.find(form), std::string::npos) << form;
}

} // namespace
} // namespace lt
