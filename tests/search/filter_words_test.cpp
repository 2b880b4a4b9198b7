// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/filter_words.h"

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

using Words = std::vector<std::string>;

class FilterWordsTest : public ::testing::Test
{
protected:
    void Lines(const std::string& must, const std::string& mustNot)
    {
        app.settings.mustText = must;
        app.settings.mustNotText = mustNot;
        app.settings.restrictEnabled = true;
        BuildFilterWords(app.settings, app.filterWords);
    }
    bool Valid() const { return FiltersValid(app.settings, app.filterWords, app.tables); }
    RecordingUiPort port;
    AppState app{port};
};

TEST_F(FilterWordsTest, SplitsAtBlanksAndCommasWithEscapedCommas)
{
    Lines("a,b", "x\\,y  z\tq ,");
    EXPECT_EQ(app.filterWords.must, (Words{"a", "b"}));
    EXPECT_EQ(app.filterWords.mustNot, (Words{"x,y", "z\tq"}));
    // A leading comma or blank never gives an empty word (it would match everything).
    Lines(", a", "");
    EXPECT_EQ(app.filterWords.must, (Words{"a"}));
}

TEST_F(FilterWordsTest, TakesAtMostEighteenWords)
{
    std::string line;
    for (int i = 1; i <= 19; ++i)
        line += "w" + std::to_string(i) + " ";
    Lines(line, "");
    ASSERT_EQ(app.filterWords.must.size(), 18u);
    EXPECT_EQ(app.filterWords.must.back(), "w18");
}

TEST_F(FilterWordsTest, EmptyLinesSwitchTheFiltersOff)
{
    Lines("  ", ",");
    EXPECT_FALSE(app.settings.restrictEnabled);
    Lines("a", "");
    EXPECT_TRUE(app.settings.restrictEnabled);
}

TEST_F(FilterWordsTest, ValidityRules)
{
    Lines("Same", "sAME");
    EXPECT_FALSE(Valid());
    // One must word that is also a must-not word.
    Lines("abc", "x ABC");
    EXPECT_FALSE(Valid());
    // Two must words in "any" mode may overlap the must-not words.
    Lines("abc def", "ABC");
    EXPECT_TRUE(Valid());
    app.settings.mustAll = true;
    EXPECT_FALSE(Valid());
    Lines("abc def", "");
    EXPECT_TRUE(Valid());
}

TEST_F(FilterWordsTest, MustNotAnyAndAll)
{
    Lines("", "spam ads");
    EXPECT_FALSE(MustNotPasses(app, "http://SPAM.example"));
    EXPECT_TRUE(MustNotPasses(app, "http://good.example"));
    EXPECT_TRUE(MustNotPasses(app, ""));
    app.settings.mustNotAll = true;
    EXPECT_TRUE(MustNotPasses(app, "http://spam.example"));
    EXPECT_FALSE(MustNotPasses(app, "http://spam.example/ads"));
    app.settings.restrictEnabled = false;
    EXPECT_TRUE(MustNotPasses(app, "spam ads"));
}

TEST_F(FilterWordsTest, MustWithTitleCountsTitleAndItem)
{
    Lines("a b", "");
    app.settings.mustAll = true;
    EXPECT_TRUE(MustPassesWithTitle(app, "xbx", "xax"));
    EXPECT_FALSE(MustPassesWithTitle(app, "xxx", "xax"));
    // A word found in both the title and the URL counts twice.
    EXPECT_TRUE(MustPassesWithTitle(app, "a", "a"));
    app.settings.mustAll = false;
    EXPECT_TRUE(MustPassesWithTitle(app, "\xC4", "B"));
    EXPECT_FALSE(MustPassesWithTitle(app, "xyz", ""));
}

TEST_F(FilterWordsTest, MustOnItemIsCaseInsensitiveOverCp1252)
{
    Lines("\xE4rger Www", "");
    EXPECT_TRUE(MustPassesItem(app, "\xC4RGER"));
    app.settings.mustAll = true;
    EXPECT_FALSE(MustPassesItem(app, "\xC4RGER"));
    EXPECT_TRUE(MustPassesItem(app, "WWW.\xC4rger.de"));
    Lines("", "x");
    EXPECT_TRUE(MustPassesItem(app, "anything"));
}

} // namespace
} // namespace lt
