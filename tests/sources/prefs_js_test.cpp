// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/prefs_js.h"

#include <gtest/gtest.h>

namespace lt {
namespace {

const std::string kPrefs = "// Netscape User Preferences\r\n"
                           "user_pref(\"browser.startup.homepage\", \"http://home/\");\r\n"
                           "user_pref(\"browser.url_history.URL_1\", \"http://a/\\\"q\\\"\\\\x\");\r\n"
                           "user_pref(\"browser.url_history.URL_2\",\"  http://b/\\u00e9  \");\r\n"
                           "// between\r\n"
                           "user_pref(\"browser.url_history.URL_3\", \"\");\r\n"
                           "user_pref(\"browser.url_history.URL_4\", \"http://after-empty/\");\r\n"
                           "user_pref(\"mail.identity.username\", \"me\");\r\n";

TEST(PrefsJs, ReadsOnlyHistoryLinesWithEscapesUndone)
{
    EXPECT_EQ(ReadPrefsTypedUrls(kPrefs), (std::vector<std::string>{"http://a/\"q\"\\x", "http://b/\xe9"}));
    EXPECT_TRUE(ReadPrefsTypedUrls("user_pref(\"browser.url_history.URL_x\", \"http://no/\");\n").empty());
    EXPECT_TRUE(ReadPrefsTypedUrls("user_pref(\"browser.url_history.URL_1\", \"http://unended/);\n").empty());
}

TEST(PrefsJs, ReplacesExactlyTheHistoryLines)
{
    std::string out;
    ASSERT_TRUE(ReplacePrefsTypedUrls(kPrefs, {"http://new/\"1\"", "C:\\path", "", "http://never/"}, out));
    EXPECT_EQ(out, "// Netscape User Preferences\r\n"
                   "user_pref(\"browser.startup.homepage\", \"http://home/\");\r\n"
                   "user_pref(\"browser.url_history.URL_1\", \"http://new/\\\"1\\\"\");\r\n"
                   "user_pref(\"browser.url_history.URL_2\", \"C:\\\\path\");\r\n"
                   "// between\r\n"
                   "user_pref(\"mail.identity.username\", \"me\");\r\n");
    // What is written reads back as the rows.
    EXPECT_EQ(ReadPrefsTypedUrls(out), (std::vector<std::string>{"http://new/\"1\"", "C:\\path"}));

    // Without the preference nothing is written.
    std::string untouched = "kept";
    EXPECT_FALSE(ReplacePrefsTypedUrls("user_pref(\"a\", \"b\");\n", {"http://x/"}, untouched));
    EXPECT_EQ(untouched, "kept");
    // A last line without a line end.
    ASSERT_TRUE(ReplacePrefsTypedUrls("user_pref(\"browser.url_history.URL_1\", \"x\");", {"y"}, out));
    EXPECT_EQ(out, "user_pref(\"browser.url_history.URL_1\", \"y\");\n");
    // A CR without LF ends no line: the lines written still read back one by one.
    ASSERT_TRUE(ReplacePrefsTypedUrls("user_pref(\"browser.url_history.URL_1\", \"x\");\r", {"y", "z"}, out));
    EXPECT_EQ(ReadPrefsTypedUrls(out), (std::vector<std::string>{"y", "z"}));
}

} // namespace
} // namespace lt
