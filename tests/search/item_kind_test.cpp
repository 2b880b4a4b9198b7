// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/item_kind.h"

#include <gtest/gtest.h>

#include "core/app_state.h"
#include "recording_ui_port.h"

namespace lt {
namespace {

class ItemKindTest : public ::testing::Test
{
protected:
    ScanParams& Prepare(int kind, bool expectOk = true)
    {
        app.settings.itemKind = kind;
        EXPECT_EQ(PrepareScan(app), expectOk);
        return app.scan;
    }
    RecordingUiPort port;
    AppState app{port};
};

TEST_F(ItemKindTest, FixedKindsFillAnchorsAndCaptions)
{
    struct Row
    {
        int kind;
        const char* a1;
        const char* a2;
        const char* caption;
    };
    for (const Row& r : {Row{0, "http://", "ftp://", "Search for: http, ftp"},
                         Row{1, "mailto:", "news:", "Search for: mailto, news"},
                         Row{2, "gopher://", "wais://", "Search for: gopher, wais"},
                         Row{3, "telnet://", "telnet://", "Search for: telnet"},
                         Row{5, "function", "function", "Search for: Javascript functions"},
                         Row{6, "@", "@", "Search for: Emails"}, Row{7, ".", ".", "Search for: IP's"}}) {
        app.settings.itemKind = r.kind;
        SelectItemKind(app);
        EXPECT_EQ(app.anchors.anchor1, r.a1) << r.kind;
        EXPECT_EQ(app.anchors.anchor2, r.a2) << r.kind;
        EXPECT_EQ(app.anchors.caption, r.caption) << r.kind;
    }
}

TEST_F(ItemKindTest, KindOutsideTheTableBecomesZero)
{
    for (int bad : {-1, 8, 1000}) {
        app.settings.itemKind = bad;
        SelectItemKind(app);
        EXPECT_EQ(app.settings.itemKind, 0);
        EXPECT_EQ(app.anchors.anchor1, "http://");
    }
}

TEST_F(ItemKindTest, UserStringInAsciiModeWithItsHexText)
{
    app.settings.userStrings[0] = "Jo\xE9";
    app.settings.userHex = false;
    app.settings.itemKind = kItemUser;
    SelectItemKind(app);
    EXPECT_EQ(app.anchors.anchor1, "Jo\xE9");
    EXPECT_EQ(app.anchors.anchor2, "Jo\xE9");
    EXPECT_EQ(app.anchors.hexText, "4a6fe9");
    EXPECT_EQ(app.anchors.caption, "Search for: Jo\xE9");
    // Folded unless case-sensitive.
    EXPECT_EQ(Prepare(kItemUser).anchor1, "jo\xE9");
    app.settings.caseSensitive = true;
    EXPECT_EQ(Prepare(kItemUser).anchor1, "Jo\xE9");
}

TEST_F(ItemKindTest, HexModeConvertsDigitPairsAndKeepsBytesUnfolded)
{
    app.settings.userHex = true;
    app.settings.userStrings[0] = "4a6F";
    ScanParams& p = Prepare(kItemUser);
    EXPECT_EQ(p.anchor1, "\x4A\x6F");
    EXPECT_EQ(p.anchorLen, 2);
    EXPECT_TRUE(p.hexMode);
    EXPECT_TRUE(p.prefixMode);
    EXPECT_FALSE(p.entireLineMode);
    // Bytes are compared as they are, whatever the case option.
    EXPECT_FALSE(p.foldCase);
    EXPECT_TRUE(app.anchors.hexValid);
    EXPECT_EQ(app.anchors.hexSpaced, "4A 6F");
    EXPECT_EQ(app.anchors.caption, "Search for: 4a6F");
}

TEST_F(ItemKindTest, HexTextValidityAndNulBytes)
{
    app.settings.userHex = true;
    app.settings.itemKind = kItemUser;
    app.settings.userStrings[0] = "00414";
    SelectItemKind(app);
    EXPECT_FALSE(app.anchors.hexValid);
    EXPECT_EQ(app.anchors.anchor1, std::string("\0A", 2)); // the odd digit is dropped
    app.settings.userStrings[0] = "4G";
    SelectItemKind(app);
    EXPECT_FALSE(app.anchors.hexValid);
    app.settings.userStrings[0] = "";
    SelectItemKind(app);
    EXPECT_TRUE(app.anchors.hexValid);
    EXPECT_EQ(app.anchors.hexSpaced, "");
    EXPECT_FALSE(PrepareScan(app));
}

TEST_F(ItemKindTest, AnchorLengthLimits)
{
    app.settings.userStrings[0] = std::string(247, 'x');
    EXPECT_EQ(Prepare(kItemUser).anchorLen, 247);
    app.settings.userStrings[0] = std::string(248, 'x');
    Prepare(kItemUser, false);
    app.settings.userStrings[0].clear();
    Prepare(kItemUser, false);
    // Hex text longer than any anchor gives at most 259 bytes.
    app.settings.userHex = true;
    app.settings.userStrings[0] = std::string(1000, 'A');
    SelectItemKind(app);
    EXPECT_EQ(app.anchors.anchor1.size(), 259u);
}

TEST_F(ItemKindTest, MinimalLengthAndModesPerKind)
{
    app.settings.minimalLength = 1;
    EXPECT_EQ(Prepare(kItemEmail).minLength, 5);
    EXPECT_TRUE(app.scan.emailMode);
    EXPECT_EQ(app.scan.singleAnchorChar, '@');
    EXPECT_EQ(Prepare(kItemIp).minLength, 7);
    EXPECT_EQ(app.scan.singleAnchorChar, 0);
    app.settings.minimalLength = 9;
    EXPECT_EQ(Prepare(kItemEmail).minLength, 9);

    // Javascript ignores the case option and always starts hits at the anchor.
    app.settings.caseSensitive = true;
    ScanParams& js = Prepare(kItemJavascript);
    EXPECT_TRUE(js.foldCase);
    EXPECT_TRUE(js.prefixMode);

    // Prefix never applies to e-mail addresses.
    app.settings.userPrefix = true;
    EXPECT_FALSE(Prepare(kItemEmail).prefixMode);
    EXPECT_TRUE(Prepare(kItemTelnet).prefixMode);
}

TEST_F(ItemKindTest, UserStringOfOneAtSignUsesEmailRules)
{
    app.settings.userStrings[0] = "@";
    ScanParams& p = Prepare(kItemUser);
    EXPECT_EQ(p.singleAnchorChar, '@');
    EXPECT_TRUE(p.emailMode);
}

TEST_F(ItemKindTest, EntireLineOnlyForPlainUserSearches)
{
    app.settings.userStrings[0] = "abc";
    app.settings.userEntireLine = true;
    EXPECT_TRUE(Prepare(kItemUser).entireLineMode);
    EXPECT_FALSE(Prepare(kItemHttpFtp).entireLineMode);
    app.settings.userUrlLike = true;
    EXPECT_FALSE(Prepare(kItemUser).entireLineMode);
    app.settings.userUrlLike = false;
    app.settings.userPrefix = true;
    EXPECT_FALSE(Prepare(kItemUser).entireLineMode);
}

TEST_F(ItemKindTest, OmittedWarningAndTopLevelDependOnTheList)
{
    app.settings.duplicatesPolicy = 0;
    app.settings.minimalLength = 6;
    EXPECT_FALSE(Prepare(kItemHttpFtp).warnOmitted);
    // "@" is shorter than the minimal length.
    EXPECT_TRUE(Prepare(kItemEmail).warnOmitted);
    app.listState.kind = kListFileList;
    EXPECT_FALSE(Prepare(kItemEmail).warnOmitted);
    app.settings.duplicatesPolicy = 2;
    EXPECT_TRUE(Prepare(kItemHttpFtp).warnOmitted);

    app.settings.onlyTopLevelDomains = true;
    EXPECT_FALSE(Prepare(kItemHttpFtp).topLevelOnly);
    app.listState.kind = kListFileSearch;
    EXPECT_TRUE(Prepare(kItemHttpFtp).topLevelOnly);
    EXPECT_FALSE(Prepare(kItemMailtoNews).topLevelOnly);
    EXPECT_TRUE(Prepare(kItemGopherWais).topLevelOnly);
    EXPECT_TRUE(Prepare(kItemTelnet).topLevelOnly);
    EXPECT_FALSE(Prepare(kItemUser).topLevelOnly);
}

TEST_F(ItemKindTest, HttpsAnchorOnlyForKindZeroWhenOn)
{
    EXPECT_EQ(Prepare(kItemHttpFtp).anchor3, "https://");
    EXPECT_EQ(Prepare(kItemMailtoNews).anchor3, "");
    app.settings.findHttps = false;
    EXPECT_EQ(Prepare(kItemHttpFtp).anchor3, "");
}

TEST_F(ItemKindTest, NonBinaryIsLeftToTheFolderSearch)
{
    app.settings.fileTypeMode = 2;
    EXPECT_FALSE(Prepare(kItemHttpFtp).nonBinaryOnly);
}

} // namespace
} // namespace lt
