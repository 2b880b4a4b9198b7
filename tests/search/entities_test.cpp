// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/entities.h"

#include <gtest/gtest.h>

#include <string>

namespace lt {
namespace {

std::string Numeric(std::string text)
{
    DecodeNumericRefs(text);
    return text;
}

std::string Entities(std::string text)
{
    DecodeEntities(text);
    return text;
}

std::string Clean(std::string text, int mode, int kind = 0)
{
    CleanUrl(text, mode, kind);
    return text;
}

TEST(DecodeNumericRefs, DecodesLatinValuesWithAndWithoutSemicolon)
{
    EXPECT_EQ(Numeric("http&#58;//www.example.org/"), "http://www.example.org/");
    EXPECT_EQ(Numeric("a&#65;b&#66c"), "aAbBc");
    EXPECT_EQ(Numeric("caf&#233;"), "caf\xE9");
    EXPECT_EQ(Numeric("&#0000065;"), "&#0000065;"); // six digits read (000006), a control value: kept
    EXPECT_EQ(Numeric("&#;&#x;&#"), "&#;&#x;&#");
}

TEST(DecodeNumericRefs, DecodesHexadecimalReferencesByTheDecimalRules)
{
    EXPECT_EQ(Numeric("&#x3C;Iterator&#X3e;"), "<Iterator>");
    EXPECT_EQ(Numeric("&#x41;B&#x41B"), "AB?"); // without ";" the digits run on: U+041B
    EXPECT_EQ(Numeric("caf&#xe9;s"), "caf\xE9s");
    EXPECT_EQ(Numeric("&#x20AC;&#x2013;"), "\x80\x96");
    EXPECT_EQ(Numeric("&#x00000041;"), "&#x00000041;"); // six digits read (000000): a control value, kept
    EXPECT_EQ(Numeric("&#x9;&#x10000;&#xg1;"), "&#x9;&#x10000;&#xg1;");
    EXPECT_EQ(Clean("&#x3C;Iterator&gt;  guide", 1), "<Iterator> guide");
}

TEST(DecodeNumericRefs, MapsWideValuesToTheCodePageOrAQuestionMark)
{
    EXPECT_EQ(Numeric("&#8364;"), "\x80");
    EXPECT_EQ(Numeric("&#8211;&#8220;x&#8221;"), "\x96\x93x\x94");
    EXPECT_EQ(Numeric("&#338;"), "\x8C");
    EXPECT_EQ(Numeric("&#1071;&#20013;"), "??"); // Cyrillic and CJK: one byte each, never two
    EXPECT_EQ(Numeric("&#65535;"), "?");
    EXPECT_EQ(Numeric("&#65536;&#999999;"), "&#65536;&#999999;");
}

TEST(DecodeNumericRefs, NeverWritesControlBytes)
{
    EXPECT_EQ(Numeric("a&#0;b&#9;c&#10;d&#13;e&#31;"), "a&#0;b&#9;c&#10;d&#13;e&#31;");
    EXPECT_EQ(Numeric("&#32;"), " ");
    // The byte a reference writes is not read again as the start of another reference.
    EXPECT_EQ(Numeric("&#38;#65;"), "&#65;");
}

TEST(DecodeEntities, DecodesNamedAndNumericReferencesOnce)
{
    EXPECT_EQ(Entities("The &amp; page"), "The & page");
    EXPECT_EQ(Entities("&lt;b&gt; &quot;x&quot; &copy;&reg;"), "<b> \"x\" \xA9\xAE");
    EXPECT_EQ(Entities("&amp;lt;"), "&lt;");
    EXPECT_EQ(Entities("&amp;amp;"), "&amp;");
    EXPECT_EQ(Entities("M&uuml;ller &AElig;&Oslash;&iquest;&frac34;&para;"),
              "M\xFCller \xC6\xD8\xBF\xBE\xB6");
    EXPECT_EQ(Entities("&#38;amp;"), "&amp;"); // a decoded "&" never starts another entity
}

TEST(DecodeEntities, HandlesNbspWithoutSemicolonAndExactCase)
{
    EXPECT_EQ(Entities("a&nbsp;b&nbspc"), "a b c");
    EXPECT_EQ(Entities("&AMP; &Amp; &ETH; &eth;"), "&AMP; &Amp; \xD0 \xF0");
    EXPECT_EQ(Entities("&unknown; &"), "&unknown; &");
}

TEST(DecodeEntities, LooksAtNoMoreThan32AmpersandsForTheFirstEntity)
{
    const std::string many(33, '&');
    EXPECT_EQ(Entities(many + "xxxxxxxx&amp;"), many + "xxxxxxxx&amp;");
    const std::string some(31, '&');
    EXPECT_EQ(Entities(some + "x&amp;"), some + "x&");
}

TEST(CleanUrl, UrlModeCutsAtQuotAndNbspAndDecodesTheShortList)
{
    EXPECT_EQ(Clean("http://www.example.org/a&quot;b", 0), "http://www.example.org/a");
    EXPECT_EQ(Clean("http://www.example.org/?a=1&amp;b=2", 0), "http://www.example.org/?a=1&b=2");
    EXPECT_EQ(Clean("http://www.example.org/x&nbsp;more", 0), "http://www.example.org/x");
    EXPECT_EQ(Clean("http://www.example.org/M&uuml;ller&acute;", 0), "http://www.example.org/M\xFCller\xB4");
    // Only the short list applies to URLs, and nothing is decoded twice.
    EXPECT_EQ(Clean("http://www.example.org/&lt;&eacute;", 0), "http://www.example.org/&lt;&eacute;");
    EXPECT_EQ(Clean("http://www.example.org/&amp;auml;", 0), "http://www.example.org/&auml;");
    EXPECT_EQ(Clean("http://www.example.org/&amp;nbsp;x", 0), "http://www.example.org/&nbsp;x");
}

TEST(CleanUrl, NumericReferencesOnlyForMailtoAndNews)
{
    EXPECT_EQ(Clean("mailto:info&#64;example.org", 0, 1), "mailto:info@example.org");
    EXPECT_EQ(Clean("http://www.example.org/&#65;", 0, 0), "http://www.example.org/&#65;");
}

TEST(CleanUrl, TitleModeDecodesAndCollapsesBlanks)
{
    EXPECT_EQ(Clean("Fish&nbsp;&nbsp;&amp;   Chips", 1), "Fish & Chips");
    EXPECT_EQ(Clean("  two  ", 1), " two ");
}

TEST(CollapseBlanks, KeepsSingleBlanksAndOtherWhiteSpace)
{
    std::string text = "a  b   c\t\td ";
    CollapseBlanks(text);
    EXPECT_EQ(text, "a b c\t\td ");
}

TEST(CutToHost, CutsAfterTheHostOnlyForDoubleSlashUrls)
{
    EXPECT_EQ(CutToHost("http://www.example.org/docs/index.html"), "http://www.example.org");
    EXPECT_EQ(CutToHost("http://www.example.org/"), "http://www.example.org");
    EXPECT_EQ(CutToHost("http://www.example.org"), "http://www.example.org");
    EXPECT_EQ(CutToHost("mailto:someone@example.org/x"), "mailto:someone@example.org/x");
    EXPECT_EQ(CutToHost("news:/x"), "news:/x");
    EXPECT_EQ(CutToHost("a//"), "a//");
    EXPECT_EQ(CutToHost(""), "");
}

TEST(CutAtLtEntity, CutsAtTheFirstEscapedTag)
{
    std::string text = "www.example.org/a&lt;/p&gt;&lt;";
    CutAtLtEntity(text);
    EXPECT_EQ(text, "www.example.org/a");
}

TEST(Entities, EveryFunctionKeepsTextsWithin259Bytes)
{
    std::string longText(400, 'a');
    DecodeEntities(longText);
    EXPECT_EQ(longText.size(), 259u);
    std::string url = "http://www.example.org/" + std::string(400, 'b');
    CleanUrl(url, 0);
    EXPECT_EQ(url.size(), 259u);
    EXPECT_EQ(CutToHost("http://" + std::string(400, 'c')).size(), 259u);
    std::string refs;
    for (int i = 0; i < 60; ++i)
        refs += "&#8364;";
    DecodeNumericRefs(refs);
    EXPECT_LE(refs.size(), 259u);
}

} // namespace
} // namespace lt
