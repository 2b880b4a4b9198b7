// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/netscape_typed_urls.h"

#include "list/list_kind.h"
#include "list/list_state.h"
#include "sources/netscape_profile.h"
#include "sources_fixture.h"

namespace lt {
namespace {

class NetscapeTypedUrlsTest : public test::SourcesTest
{
protected:
    // nsreg.dat's last bytes naming the profile folder as a Windows path.
    void WriteNsreg(const std::string& folder)
    {
        tree.Write("drive_c/windows/NSREG.DAT", std::string(3000, '\x01') + "ProfileLocation" + '\x04' + folder +
                                                    std::string("\0\0\0\0\0\0", 6));
    }
};

TEST(NsregProfileLocation, BoundsOfTheSearch)
{
    const std::string far = "ProfileLocation\x01" "C:\\far" + std::string(2100, '\0');
    EXPECT_EQ(NsregProfileLocation(NsregTail(far)), "");
    EXPECT_EQ(NsregProfileLocation(NsregTail(std::string("xxprofilelocation\x01" "C:\\p\0\0\0\0\0", 28))), "C:\\p");
    // The match must end more than 4 bytes before the end; the text stops at what was read.
    EXPECT_EQ(NsregProfileLocation("ProfileLocation1234"), "");
    EXPECT_EQ(NsregProfileLocation("ProfileLocation\x01" "abcde"), "abcde");
}

TEST_F(NetscapeTypedUrlsTest, PrefsFromTheProfileReadWhileIeListIsShownAndWrittenBack)
{
    WriteNsreg("C:\\Program Files\\Netscape\\Users\\default");
    const std::string prefs = "user_pref(\"a\", 1);\r\n"
                              "user_pref(\"browser.url_history.URL_1\", \"http://a/\\\"q\\\"\");\r\n"
                              "// comment after the history\r\n"
                              "user_pref(\"z\", \"http://not-a-typed-url/\");\r\n";
    tree.Write("drive_c/Program Files/Netscape/Users/default/prefs.js", prefs);
    app.listState.kind = kListIeTyped;
    EXPECT_EQ(ReadNetscapeTypedUrls(app), 1);
    EXPECT_EQ(app.listState.kind, kListNetscapeTyped);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"http://a/\"q\""}));

    SetRows({{"http://b/\\"}, {"http://c/"}});
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(WriteNetscapeTypedUrls(app), 0);
    EXPECT_EQ(tree.Read("drive_c/Program Files/Netscape/Users/default/prefs.js"),
              "user_pref(\"a\", 1);\r\n"
              "user_pref(\"browser.url_history.URL_1\", \"http://b/\\\\\");\r\n"
              "user_pref(\"browser.url_history.URL_2\", \"http://c/\");\r\n"
              "// comment after the history\r\n"
              "user_pref(\"z\", \"http://not-a-typed-url/\");\r\n");

    // A file without the preference is left as it is and the failure is reported.
    tree.Write("drive_c/Program Files/Netscape/Users/default/prefs.js", "user_pref(\"a\", 1);\n");
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(WriteNetscapeTypedUrls(app), 2);
    EXPECT_EQ(tree.Read("drive_c/Program Files/Netscape/Users/default/prefs.js"), "user_pref(\"a\", 1);\n");
    EXPECT_EQ(app.browserLists.lastError, "Could not write 'Typed Urls' !");
}

TEST_F(NetscapeTypedUrlsTest, NetscapeIniTakesAtMost31Rows)
{
    std::string ini = "[URL History]\r\n";
    for (int i = 1; i <= 33; ++i)
        ini += "URL_" + std::to_string(i) + "=http://old" + std::to_string(i) + "/\r\n";
    tree.Write("drive_c/Netscape/Navigator/Netscape.ini", ini);
    tree.Write("drive_c/Netscape/Navigator/bookmark.htm", "");
    app.options.netscapeBookmarks = "C:\\NETSCAPE\\Navigator\\bookmark.htm";
    EXPECT_EQ(ReadNetscapeTypedUrls(app), 33);

    std::vector<std::vector<std::string>> rows;
    for (int i = 10; i < 50; ++i)
        rows.push_back({"http://new" + std::to_string(i) + "/"});
    SetRows(rows);
    port.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(WriteNetscapeTypedUrls(app), 0);
    const std::string written = tree.Read("drive_c/Netscape/Navigator/Netscape.ini");
    EXPECT_NE(written.find("URL_1=http://new10/\r\n"), std::string::npos);
    EXPECT_NE(written.find("URL_31=http://new40/\r\n"), std::string::npos);
    EXPECT_NE(written.find("URL_32=http://old32/\r\n"), std::string::npos); // beyond the 31 written
    EXPECT_EQ(written.find("new41"), std::string::npos);
}

TEST_F(NetscapeTypedUrlsTest, NoProfileAsksForTheLocation)
{
    ::setenv("HOME", tree.Path("home").c_str(), 1);
    EXPECT_EQ(ReadNetscapeTypedUrls(app), -1);
    EXPECT_EQ(app.browserLists.lastError, "Please enter location of Netscape Bookmarks at Options !");
    // Unix Netscape's preferences.js in the home folder.
    tree.Write("home/.netscape/preferences.js", "user_pref(\"browser.url_history.URL_1\", \"http://unix/\");\n");
    EXPECT_EQ(ReadNetscapeTypedUrls(app), 1);
    EXPECT_EQ(app.browserLists.netscapeFile, tree.Path("home/.netscape/preferences.js"));
}

} // namespace
} // namespace lt
